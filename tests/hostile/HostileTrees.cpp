#include "tests/hostile/HostileTrees.h"

#include <algorithm>

#include <windows.h>

#include <cstdio>
#include <random>

#include "tests/launch/LaunchTestSupport.h"

const char* const kQuickLaunchRoot = "快速启动目录";
const char* const kScratchFolder = "临时数据";

namespace {

std::wstring Wide(const std::string& text) {
    int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], n);
    return wide;
}
std::string Narrow(const std::wstring& text) {
    int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &narrow[0], n, nullptr, nullptr);
    return narrow;
}
// The long-path form, so that paths past 260 bytes can be made and removed.
std::wstring LongForm(const std::wstring& path) {
    return path.compare(0, 4, L"\\\\?\\") == 0 ? path : L"\\\\?\\" + path;
}

void WriteWide(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    HANDLE file = CreateFileW(LongForm(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    if (!bytes.empty()) WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// The bytes of a working shortcut to the system's notepad.
std::vector<uint8_t> ShortcutBytes(const std::string& scratchFolder) {
    const std::string path = scratchFolder + "\\model.lnk";
    MakeShortcut(path, SystemNotepad());
    std::vector<uint8_t> bytes = ReadBytes(path);
    DeleteFileA(path.c_str());
    return bytes;
}

template <typename Visit>
void ForEachEntry(const std::wstring& folder, Visit visit) {
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((LongForm(folder) + L"\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") visit(name, entry);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
}

}  // namespace

void BuildBrokenShortcuts(const std::string& category) {
    MakeFolder(category);
    const std::vector<uint8_t> model = ShortcutBytes(category);
    WriteBytes(category + "\\空.lnk", {});
    WriteBytes(category + "\\截断.lnk",
               std::vector<uint8_t>(model.begin(), model.begin() + model.size() / 3));
    std::mt19937 random(7);
    std::vector<uint8_t> noise(4096);
    for (uint8_t& b : noise) b = uint8_t(random());
    WriteBytes(category + "\\乱码.lnk", noise);
    // A real header with garbage after it reaches further into the reader.
    // (Sized first and copied into: GCC's -O2 bounds check misreads a growing insert.)
    std::vector<uint8_t> headed(76 + 600);
    std::copy(model.begin(), model.begin() + 76, headed.begin());
    std::copy(noise.begin(), noise.begin() + 600, headed.begin() + 76);
    WriteBytes(category + "\\坏头.lnk", headed);
    MakeShortcut(category + "\\缺程序.lnk", "C:\\不存在的目录\\程序.exe");
    MakeShortcut(category + "\\网络.lnk", "\\\\qd-no-such-host\\share\\tool.exe");
    MakeShortcut(category + "\\网络目录.lnk", "\\\\qd-no-such-host\\share");
    MakeShortcut(category + "\\长目标.lnk",
                 "C:\\" + std::string(240, 'd') + "\\" + std::string(200, 'e') + "\\program.exe");
}

void BuildDamagedIcons(const std::string& category, const std::string& programsFolder) {
    MakeFolder(category);
    for (const char* name :
         {"missing_member", "past_end", "count_over", "empty_group", "png_only"}) {
        const std::string program = programsFolder + "\\hostile_" + name + ".exe";
        MakeShortcut(category + "\\" + name + ".lnk", program);
    }
    const std::string empty = programsFolder + "\\零字节.exe";
    WriteBytes(empty, {});
    MakeShortcut(category + "\\零字节.lnk", empty);
    // A text file that only claims to be a program.
    const std::string fake = programsFolder + "\\假程序.exe";
    WriteBytes(fake, {'M', 'Z', 'n', 'o', 't'});
    MakeShortcut(category + "\\假程序.lnk", fake);
}

void BuildIconBlowUps(const std::string& category, const std::string& programsFolder) {
    MakeFolder(category);
    for (const char* name : {"blowup", "large_image", "png_only"})
        MakeShortcut(category + "\\" + name + ".lnk",
                     programsFolder + "\\hostile_" + name + ".exe");
}

void BuildHostileNames(const std::string& root) {
    const std::string category = root + "\\03名字";
    MakeFolder(category);
    const std::wstring wideCategory = Wide(category);
    const std::vector<uint8_t> model = ShortcutBytes(category);
    // Thai, Korean and an emoji: no GBK bytes exist for them.
    WriteWide(wideCategory + L"\\\u0e01\u0e02.lnk", model);
    WriteWide(wideCategory + L"\\\ud55c\uae00.txt", {'x'});
    WriteWide(wideCategory + L"\\\U0001F600.lnk", model);
    // Bytes that are no GBK character: a lead byte before a space, a lone 0xFF.
    WriteBytes(category + "\\\x81 x.lnk", model);
    WriteBytes(category + "\\\xff.txt", {'x'});

    // A folder whose own path is near 250 bytes holds files just below and past 260.
    const std::string longCategory = root + "\\04" + std::string(250 - root.size() - 4, 'L');
    MakeFolder(longCategory);
    const std::wstring wideLong = Wide(longCategory);
    const size_t base = longCategory.size() + 1;
    WriteWide(wideLong + L"\\" + Wide(std::string(259 - base - 4, 'n')) + L".lnk", model);
    WriteWide(wideLong + L"\\" + Wide(std::string(300 - base - 4, 'p')) + L".lnk", model);
    WriteWide(wideLong + L"\\" + Wide(std::string(400 - base - 4, 'q')) + L".txt", {'x'});
    // A category whose own path is past 260 bytes.
    const std::wstring deep = Wide(root + "\\05" + std::string(280 - root.size() - 4, 'D'));
    CreateDirectoryW(LongForm(deep).c_str(), nullptr);
    WriteWide(deep + L"\\item.lnk", model);
}

void BuildManyItems(const std::string& root, int items, int categories) {
    const std::string many = root + "\\01多";
    MakeFolder(many);
    char name[32];
    for (int i = 0; i < items; ++i) {
        std::snprintf(name, sizeof(name), "\\%05d.txt", i);
        WriteBytes(many + name, {});
    }
    for (int c = 0; c < categories; ++c) {
        std::snprintf(name, sizeof(name), "\\c%03d", c);
        MakeFolder(root + name);
        WriteBytes(root + name + "\\item.txt", {});
    }
}

int CountFiles(const std::string& folder) {
    int count = 0;
    ForEachEntry(Wide(folder), [&](const std::wstring&, const WIN32_FIND_DATAW& entry) {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
    });
    return count;
}

std::vector<std::string> SubfolderPaths(const std::string& folder) {
    std::vector<std::string> paths;
    ForEachEntry(Wide(folder), [&](const std::wstring& name, const WIN32_FIND_DATAW& entry) {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            paths.push_back(Narrow(Wide(folder) + L"\\" + name));
    });
    return paths;
}

std::vector<std::string> Snapshot(const std::string& folder) {
    std::vector<std::string> entries;
    ForEachEntry(Wide(folder), [&](const std::wstring& name, const WIN32_FIND_DATAW& entry) {
        entries.push_back(Narrow(name) + " " + std::to_string(entry.nFileSizeLow));
    });
    return entries;
}

void RemoveTreeWide(const std::string& folder) {
    std::vector<std::wstring> pending = {Wide(folder)}, folders;
    while (!pending.empty()) {
        const std::wstring current = pending.back();
        pending.pop_back();
        folders.push_back(current);
        ForEachEntry(current, [&](const std::wstring& name, const WIN32_FIND_DATAW& entry) {
            const std::wstring path = current + L"\\" + name;
            SetFileAttributesW(LongForm(path).c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                pending.push_back(path);
            } else {
                DeleteFileW(LongForm(path).c_str());
            }
        });
    }
    for (auto f = folders.rbegin(); f != folders.rend(); ++f) {
        SetFileAttributesW(LongForm(*f).c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveDirectoryW(LongForm(*f).c_str());
    }
}

std::string TakenScratchRunFolder() {
    return LaunchTestDirectory() + "\\hostile_taken";
}
