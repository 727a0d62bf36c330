// SetAutoStart: makes a program start with Windows, either as a value under
// a "Run" key (mode 0) or as a shortcut in the user's Startup folder (mode
// 1). Mode 0 writes the machine's key where the process may (an elevated
// start) and the user's own key where it may not (a standard user: with UAC a
// normal start cannot write HKEY_LOCAL_MACHINE, and the manifest's asInvoker
// turns registry virtualization off); exactly one of the two values is kept.
// Failures give false and change nothing more.
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
std::string RunCommand(const char* path) {
    return std::string("\"") + path + "\"";
}

// The machine's key is only opened; the user's own key is made when missing.
bool WriteRunValue(HKEY root, const char* name, const std::string& command) {
    ScopedRegistryKey key;
    const LONG opened = root == HKEY_CURRENT_USER
                            ? RegCreateKeyExA(root, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                              key.Put(), nullptr)
                            : RegOpenKeyA(root, kRunKey, key.Put());
    if (opened != ERROR_SUCCESS) return false;
    // The stored string keeps its terminator, as REG_SZ readers expect.
    const DWORD size = static_cast<DWORD>(command.size() + 1);
    return RegSetValueExA(key.Get(), name, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(command.c_str()), size) == ERROR_SUCCESS;
}

bool HasRunValue(HKEY root, const char* name) {
    ScopedRegistryKey key;
    if (RegOpenKeyExA(root, kRunKey, 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS) return false;
    return RegQueryValueExA(key.Get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

void RemoveRunValue(HKEY root, const char* name) {
    ScopedRegistryKey key;
    if (RegOpenKeyExA(root, kRunKey, 0, KEY_SET_VALUE, key.Put()) != ERROR_SUCCESS) return;
    RegDeleteValueA(key.Get(), name);
}

// The machine's value where it can be written; else the user's, unless the
// machine's key already holds a value of that name (an earlier elevated
// start), which stays the one in force: the program never starts twice.
bool WriteAutoStartValue(const char* name, const char* path) {
    const std::string command = RunCommand(path);
    if (WriteRunValue(HKEY_LOCAL_MACHINE, name, command) || HasRunValue(HKEY_LOCAL_MACHINE, name)) {
        RemoveRunValue(HKEY_CURRENT_USER, name);
        return HasRunValue(HKEY_LOCAL_MACHINE, name);
    }
    return WriteRunValue(HKEY_CURRENT_USER, name, command);
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
    const bool written = mode == kAutoStartShortcut ? WriteStartupShortcut(name, path)
                                                    : WriteAutoStartValue(name, path);
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
