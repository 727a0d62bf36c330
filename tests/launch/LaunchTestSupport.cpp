#include "tests/launch/LaunchTestSupport.h"

#include <objbase.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdio>

TempFolder::TempFolder(const std::string& tag) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string base = temp;
    if (!base.empty() && base.back() == '\\') base.pop_back();
    for (int n = 0;; ++n) {
        char name[64];
        std::snprintf(name, sizeof(name), "\\qd_%s_%lu_%d", tag.c_str(), GetCurrentProcessId(), n);
        path_ = base + name;
        if (CreateDirectoryA(path_.c_str(), nullptr)) break;
    }
}

TempFolder::~TempFolder() {
    RemoveTree(path_);
}

std::string LaunchTestDirectory() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    return path.substr(0, path.find_last_of('\\'));
}

std::string TestDataDirectory() {
    return LaunchTestDirectory() + "\\launch_data";
}

std::string SystemNotepad() {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    return std::string(system) + "\\notepad.exe";
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return bytes;
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(f);
    return bytes;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool MakeFolder(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

namespace {

// Every name, whatever the code page holds, and every depth.
void RemoveTreeW(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring full = path + L"\\" + name;
            SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTreeW(full);
            } else {
                DeleteFileW(full.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

}  // namespace

void RemoveTree(const std::string& path) {
    RemoveTreeW(PrefixedPath(WideOf(path)));
}

std::wstring WideOf(const std::string& ansi) {
    std::wstring wide(ansi.size() + 1, L'\0');
    const int n =
        MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    wide.resize(n > 0 ? static_cast<size_t>(n - 1) : 0);
    return wide;
}

std::wstring PrefixedPath(const std::wstring& path) {
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') return L"\\\\?\\" + path;
    return path;
}

namespace {

bool IdentityOf(const std::wstring& path, BY_HANDLE_FILE_INFORMATION* info) {
    HANDLE file = CreateFileW(PrefixedPath(path).c_str(), 0,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool got = GetFileInformationByHandle(file, info) != FALSE;
    CloseHandle(file);
    return got;
}

}  // namespace

bool SameFile(const std::string& ansiPath, const std::wstring& real) {
    BY_HANDLE_FILE_INFORMATION a{}, b{};
    return IdentityOf(WideOf(ansiPath), &a) && IdentityOf(real, &b) &&
           a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

bool MakeFolderW(const std::wstring& path) {
    return CreateDirectoryW(PrefixedPath(path).c_str(), nullptr) != 0;
}

bool MakeShortcutW(const std::wstring& lnkPath, const std::wstring& target) {
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool saved = false;
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
        link->SetPath(target.c_str());
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            saved = SUCCEEDED(file->Save(PrefixedPath(lnkPath).c_str(), TRUE));
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return saved;
}

int CountEntries(const std::string& folder) {
    int count = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..") ++count;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

bool MakeShortcut(const std::string& lnkPath, const ShortcutSpec& recipe) {
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool saved = false;
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        link->SetPath(recipe.target.c_str());
        if (!recipe.arguments.empty()) link->SetArguments(recipe.arguments.c_str());
        if (!recipe.workingDirectory.empty())
            link->SetWorkingDirectory(recipe.workingDirectory.c_str());
        if (!recipe.iconPath.empty())
            link->SetIconLocation(recipe.iconPath.c_str(), recipe.iconIndex);
        link->SetShowCmd(recipe.showCommand);
        if (recipe.hotKey) link->SetHotkey(recipe.hotKey);
        if (!recipe.description.empty()) link->SetDescription(recipe.description.c_str());
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t wide[MAX_PATH * 2] = {};
            MultiByteToWideChar(CP_ACP, 0, lnkPath.c_str(), -1, wide, MAX_PATH * 2);
            saved = SUCCEEDED(file->Save(wide, TRUE));
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return saved;
}

namespace {
BOOL CALLBACK FirstName(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
    *reinterpret_cast<LPSTR*>(param) = name;
    return FALSE;
}
}  // namespace

std::vector<std::vector<uint8_t>> FirstGroupImages(const std::string& module) {
    std::vector<std::vector<uint8_t>> images;
    HMODULE m = LoadLibraryExA(module.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!m) return images;
    LPSTR name = nullptr;
    EnumResourceNamesA(m, MAKEINTRESOURCEA(14), FirstName, reinterpret_cast<LONG_PTR>(&name));
    // Only numbered groups occur in the modules the tests use.
    HRSRC group =
        name && IS_INTRESOURCE(name) ? FindResourceA(m, name, MAKEINTRESOURCEA(14)) : nullptr;
    if (group) {
        const uint8_t* dir = static_cast<const uint8_t*>(LockResource(LoadResource(m, group)));
        int count = dir[4] | (dir[5] << 8);
        for (int i = 0; i < count; ++i) {
            const uint8_t* e = dir + 6 + 14 * i;
            int id = e[12] | (e[13] << 8);
            HRSRC icon = FindResourceA(m, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(3));
            if (!icon) continue;
            const uint8_t* data = static_cast<const uint8_t*>(LockResource(LoadResource(m, icon)));
            images.emplace_back(data, data + SizeofResource(m, icon));
        }
    }
    FreeLibrary(m);
    return images;
}

std::vector<std::string> WaitForMarkerRecords(const std::string& path, size_t records) {
    std::vector<std::string> lines;
    for (int attempt = 0; attempt < 600; ++attempt) {
        std::vector<uint8_t> bytes = ReadBytes(path);
        lines.clear();
        std::string line;
        for (uint8_t b : bytes) {
            if (b == '\n') {
                lines.push_back(line);
                line.clear();
            } else {
                line += char(b);
            }
        }
        if (lines.size() >= records * 2) break;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(50);
    }
    return lines;
}

int ProcessThreadCount() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    int count = 0;
    THREADENTRY32 entry;
    entry.dwSize = sizeof(entry);
    DWORD self = GetCurrentProcessId();
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == self) ++count;
    }
    CloseHandle(snapshot);
    return count;
}

int WaitForThreadCount(int count) {
    int now = ProcessThreadCount();
    for (int attempt = 0; attempt < 400 && now > count; ++attempt) {
        Sleep(50);
        now = ProcessThreadCount();
    }
    return now;
}
