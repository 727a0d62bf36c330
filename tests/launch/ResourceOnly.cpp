// Code part of the resource-only test modules that carry icon groups.
extern "C" __declspec(dllexport) int LaunchTestIconModule() {
    return 1;
}
