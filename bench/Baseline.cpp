// The least work the start-up scan cannot avoid, in one process: list the
// categories and their files, resolve every shortcut with IShellLink, load
// each program target as a data file and read its first icon group (the group
// directory and every image it names) into memory. The benchmark compares the
// dock's start-up with this.
//
//   bench_baseline.exe QUICK_LAUNCH_FOLDER
//
// Exit code: the number of icon groups read (so that nothing is optimised away).
#include <windows.h>
#include <objbase.h>
#include <ole2.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::string> EntriesOf(const std::string& folder, bool folders) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const std::string name = found.cFileName;
        if (isFolder == folders && name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

bool EndsWith(const std::string& text, const char* tail) {
    const size_t n = std::strlen(tail);
    return text.size() >= n && text.compare(text.size() - n, n, tail) == 0;
}

BOOL CALLBACK TakeFirstGroup(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
    auto* first = reinterpret_cast<std::string*>(param);
    *first = IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)) : name;
    return FALSE;
}

bool Resource(HMODULE module, LPCSTR name, LPCSTR type, std::vector<uint8_t>* bytes) {
    HRSRC info = FindResourceA(module, name, type);
    HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
    const auto* data = static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr);
    if (!data) return false;
    bytes->assign(data, data + SizeofResource(module, info));
    return true;
}

// The first icon group of a program: its directory and its images, copied.
bool ReadFirstIconGroup(const std::string& program, std::vector<std::vector<uint8_t>>* images) {
    HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return false;
    std::string first;
    EnumResourceNamesA(module, RT_GROUP_ICON, TakeFirstGroup, reinterpret_cast<LONG_PTR>(&first));
    std::vector<uint8_t> directory;
    bool read = !first.empty() && Resource(module, first.c_str(), RT_GROUP_ICON, &directory);
    if (read && directory.size() >= 6) {
        const int count = directory[4] | (directory[5] << 8);
        for (int i = 0; i < count && 6 + 14 * (i + 1) <= int(directory.size()); ++i) {
            const uint8_t* entry = directory.data() + 6 + 14 * i;
            const WORD id = static_cast<WORD>(entry[12] | (entry[13] << 8));
            images->emplace_back();
            Resource(module, MAKEINTRESOURCEA(id), RT_ICON, &images->back());
        }
    }
    FreeLibrary(module);
    return read;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
    std::string root = arguments;
    if (root.size() >= 2 && root.front() == '"') root = root.substr(1, root.find('"', 1) - 1);
    OleInitialize(nullptr);
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                     reinterpret_cast<void**>(&link));
    if (link) link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    int groups = 0;
    for (const std::string& category : EntriesOf(root, true)) {
        const std::string folder = root + "\\" + category;
        for (const std::string& name : EntriesOf(folder, false)) {
            if (!EndsWith(name, ".lnk") || !file) continue;
            wchar_t wide[MAX_PATH * 2] = {};
            MultiByteToWideChar(CP_ACP, 0, (folder + "\\" + name).c_str(), -1, wide, MAX_PATH * 2);
            char target[MAX_PATH * 2] = {};
            if (FAILED(file->Load(wide, STGM_READ)) ||
                FAILED(link->GetPath(target, sizeof(target), nullptr, 0)))
                continue;
            std::vector<std::vector<uint8_t>> images;
            if (EndsWith(target, ".exe") && ReadFirstIconGroup(target, &images)) ++groups;
        }
    }
    if (file) file->Release();
    if (link) link->Release();
    OleUninitialize();
    return groups;
}
