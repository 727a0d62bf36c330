// A tiny DLL that says which copy of it was loaded: the build makes one copy
// beside the test programs and one in a folder that only the system's search
// reaches.
#include <windows.h>

extern "C" __declspec(dllexport) int WINAPI ProbeCopy() {
    return PROBE_COPY;
}
