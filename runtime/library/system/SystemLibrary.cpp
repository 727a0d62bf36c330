// SetAutoStart: makes a program start with Windows, either as a value under
// the machine's "Run" key (mode 0) or as a shortcut in the user's Startup
// folder (mode 1). Failures give false and change nothing more.
#include "runtime/library/system/SystemLibrary.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

#include "runtime/library/Commands.h"
#include "runtime/process/Runtime.h"
#include "runtime/win32/ScopedOwners.h"

namespace {

constexpr int32_t kAutoStartRegistry = 0;
constexpr int32_t kAutoStartShortcut = 1;

bool IsExistingFile(const char* path) {
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// A Run value is a command line: the path goes in quotes, or a path with
// spaces would be read as "C:\Program" with arguments (and C:\Program.exe run).
bool WriteRunValue(const char* name, const char* path) {
    ScopedRegistryKey key;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, kRunKey, key.Put()) != ERROR_SUCCESS) return false;
    const std::string command = std::string("\"") + path + "\"";
    // The stored string keeps its terminator, as REG_SZ readers expect.
    const DWORD size = static_cast<DWORD>(command.size() + 1);
    return RegSetValueExA(key.Get(), name, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(command.c_str()), size) == ERROR_SUCCESS;
}

bool WriteStartupShortcut(const char* name, const char* path) {
    char folder[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, folder, CSIDL_STARTUP, FALSE)) return false;
    const std::string link = std::string(folder) + "\\" + name + ".lnk";

    ScopedComPtr<IShellLinkA> shellLink;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                shellLink.PutVoid()))) {
        return false;
    }
    if (FAILED(shellLink->SetPath(path))) return false;
    ScopedComPtr<IPersistFile> file;
    if (FAILED(shellLink->QueryInterface(IID_IPersistFile, file.PutVoid()))) return false;
    wchar_t wideLink[MAX_PATH * 2] = {};
    if (MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wideLink, MAX_PATH * 2) == 0) return false;
    if (FAILED(file->Save(wideLink, TRUE))) return false;

    SHChangeNotify(SHCNE_CREATE, SHCNF_PATHA | SHCNF_FLUSH, link.c_str(), nullptr);
    SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHA | SHCNF_FLUSH, folder, nullptr);
    return true;
}

void CmdSetAutoStart(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    if (argCount < 2) {
        SetResultBool(result, false);
        return;
    }
    const char* name = TextOrEmpty(args[0].AsText());
    const char* path = TextOrEmpty(args[1].AsText());
    const int32_t mode =
        argCount >= 3 && !args[2].IsOmitted() ? args[2].AsInt() : kAutoStartRegistry;
    if (!IsExistingFile(path)) {
        SetResultBool(result, false);
        return;
    }
    const bool written =
        mode == kAutoStartShortcut ? WriteStartupShortcut(name, path) : WriteRunValue(name, path);
    SetResultBool(result, written);
}

const CommandFn kSystemCommands[static_cast<int>(SystemCommand::Count)] = {CmdSetAutoStart};

const SupportLibrary kSystemLibraryEntry = {
    "A0C3E7D5B1F84C2E9D6A3B5C7E9F1A2B",         "system", 1, 0, 0, nullptr, kSystemCommands,
    static_cast<int32_t>(SystemCommand::Count), nullptr,  0,
};

}  // namespace

const SupportLibrary& SystemLibrary() {
    return kSystemLibraryEntry;
}
