// Saves shortcuts, for scripts that lay out a quick-launch folder:
//
//   test_support_shortcuts.exe LINK TARGET [LINK TARGET ...]
//
// Each LINK (a .lnk path) is written to open TARGET. Exit code: the number of
// shortcuts that could not be saved.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

namespace {

bool SaveShortcut(const char* linkPath, const char* target) {
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return false;
    link->SetPath(target);
    bool saved = false;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t wide[MAX_PATH * 2] = {};
        MultiByteToWideChar(CP_ACP, 0, linkPath, -1, wide, MAX_PATH * 2);
        saved = SUCCEEDED(file->Save(wide, TRUE));
        file->Release();
    }
    link->Release();
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return argc;
    int failed = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!SaveShortcut(argv[i], argv[i + 1])) ++failed;
    }
    CoUninitialize();
    return failed;
}
