// The least work the start-up scan cannot avoid, in one process: list the
// categories and their files, resolve every shortcut with IShellLink, load
// each program target as a data file and read its first icon group (the group
// directory and every image it names) into memory. The benchmark compares the
// dock's start-up with this.
//
//   bench_baseline.exe [--scratch] [--decode ENGINE_DLL] QUICK_LAUNCH_FOLDER
//
// The two options add, for the cost breakdown, what the dock does beyond
// that: --scratch writes each group as an icon file into the scratch folder
// beside the quick-launch folder, reads it back and deletes it; --decode hands
// the icon file's bytes to the engine's LoadImageEx.
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
bool ReadFirstIconGroup(const std::string& program, std::vector<uint8_t>* group,
                        std::vector<std::vector<uint8_t>>* images) {
    HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return false;
    std::string first;
    EnumResourceNamesA(module, RT_GROUP_ICON, TakeFirstGroup, reinterpret_cast<LONG_PTR>(&first));
    std::vector<uint8_t>& directory = *group;
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

// The icon file of a group: directory, entries, images.
std::vector<uint8_t> IconFile(const std::vector<uint8_t>& group,
                              const std::vector<std::vector<uint8_t>>& images) {
    std::vector<uint8_t> file(6 + 16 * images.size());
    file[2] = 1;
    file[4] = static_cast<uint8_t>(images.size());
    uint32_t offset = static_cast<uint32_t>(file.size());
    for (size_t i = 0; i < images.size(); ++i) {
        uint8_t* entry = file.data() + 6 + 16 * i;
        std::memcpy(entry, group.data() + 6 + 14 * i, 12);
        const uint32_t size = static_cast<uint32_t>(images[i].size());
        std::memcpy(entry + 8, &size, 4);
        std::memcpy(entry + 12, &offset, 4);
        offset += size;
    }
    for (const auto& image : images) file.insert(file.end(), image.begin(), image.end());
    return file;
}

// Writes, reads back and deletes a scratch file, as the dock's scan does.
std::vector<uint8_t> ThroughScratchFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> back;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return back;
    DWORD done = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
    CloseHandle(f);
    f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f != INVALID_HANDLE_VALUE) {
        back.resize(GetFileSize(f, nullptr));
        ReadFile(f, back.data(), static_cast<DWORD>(back.size()), &done, nullptr);
        CloseHandle(f);
    }
    DeleteFileA(path.c_str());
    return back;
}

using LoadImageFn = int32_t(WINAPI*)(const void*, int32_t, int32_t, int32_t, int32_t, int32_t,
                                     int32_t, int32_t);

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
    std::string rest = arguments, root, engine;
    bool scratch = false;
    // Options first, then the folder, each possibly quoted.
    auto next = [&rest]() {
        while (!rest.empty() && rest.front() == ' ') rest.erase(0, 1);
        std::string word;
        if (!rest.empty() && rest.front() == '"') {
            const size_t end = rest.find('"', 1);
            word = rest.substr(1, end - 1);
            rest = end == std::string::npos ? "" : rest.substr(end + 1);
        } else {
            const size_t end = rest.find(' ');
            word = rest.substr(0, end);
            rest = end == std::string::npos ? "" : rest.substr(end);
        }
        return word;
    };
    for (std::string word = next(); !word.empty(); word = next()) {
        if (word == "--scratch") {
            scratch = true;
        } else if (word == "--decode") {
            engine = next();
        } else {
            root = word;
        }
    }
    LoadImageFn loadImage = nullptr;
    if (!engine.empty()) {
        loadImage = reinterpret_cast<LoadImageFn>(
            reinterpret_cast<void*>(GetProcAddress(LoadLibraryA(engine.c_str()), "LoadImageEx")));
        if (!loadImage) return -1;
    }
    const std::string scratchFolder = root.substr(0, root.find_last_of('\\')) + "\\临时数据\\";
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
            std::vector<uint8_t> group;
            std::vector<std::vector<uint8_t>> images;
            if (!EndsWith(target, ".exe") || !ReadFirstIconGroup(target, &group, &images)) continue;
            ++groups;
            if (!scratch && !loadImage) continue;
            std::vector<uint8_t> bytes = IconFile(group, images);
            if (scratch)
                bytes = ThroughScratchFile(scratchFolder + std::to_string(groups) + ".ico", bytes);
            if (loadImage) {
                // The engine takes a byte set: a type word, the length, the bytes.
                std::vector<uint8_t> set(8 + bytes.size());
                const int32_t header[2] = {1, static_cast<int32_t>(bytes.size())};
                std::memcpy(set.data(), header, 8);
                std::memcpy(set.data() + 8, bytes.data(), bytes.size());
                loadImage(set.data(), 0, 0, 0, 0, 0, 0, 0);
            }
        }
    }
    if (file) file->Release();
    if (link) link->Release();
    OleUninitialize();
    return groups;
}
