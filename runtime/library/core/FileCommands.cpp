// File commands: removing a file, reading a whole file, searching a folder.
// Failures give false or empty; they are never runtime errors.
#include <windows.h>
#include <cstring>
#include <string>
#include "runtime/library/core/CoreArguments.h"
#include "runtime/library/core/CoreCommandList.h"
#include "runtime/library/core/FileSearch.h"
#include "runtime/win32/ScopedOwners.h"

namespace {

constexpr DWORD kSearchableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                        FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY |
                                        FILE_ATTRIBUTE_ARCHIVE;  // 0x37

bool IsDotEntry(const char* name) {
    return name && (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0);
}

// The ANSI search refuses patterns of MAX_PATH bytes and more, so a category
// folder deep in the tree would list nothing. Such a pattern, when it is a
// drive-absolute path, is searched in its long form instead; the handle
// continues with FindNextFileA like any other.
HANDLE FindFirstEntry(const char* pattern, WIN32_FIND_DATAA* entry) {
    const size_t length = std::strlen(pattern);
    if (length < MAX_PATH || pattern[1] != ':' || pattern[2] != '\\')
        return FindFirstFileA(pattern, entry);
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, pattern, -1, nullptr, 0);
    if (wideLength <= 1) return INVALID_HANDLE_VALUE;
    std::wstring wide = L"\\\\?\\";
    const size_t prefix = wide.size();
    wide.resize(prefix + static_cast<size_t>(wideLength));
    MultiByteToWideChar(CP_ACP, 0, pattern, -1, &wide[prefix], wideLength);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(wide.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return search;
    *entry = WIN32_FIND_DATAA{};
    entry->dwFileAttributes = found.dwFileAttributes;
    entry->ftCreationTime = found.ftCreationTime;
    entry->ftLastAccessTime = found.ftLastAccessTime;
    entry->ftLastWriteTime = found.ftLastWriteTime;
    entry->nFileSizeHigh = found.nFileSizeHigh;
    entry->nFileSizeLow = found.nFileSizeLow;
    WideCharToMultiByte(CP_ACP, 0, found.cFileName, -1, entry->cFileName, sizeof(entry->cFileName),
                        nullptr, nullptr);
    entry->cFileName[sizeof(entry->cFileName) - 1] = '\0';
    return search;
}

}  // namespace

bool FileEntryMatches(DWORD attributes, const char* name, int32_t mask, bool maskOmitted) {
    if (IsDotEntry(name)) attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (maskOmitted) return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    DWORD limited = static_cast<DWORD>(mask) & kSearchableAttributes;
    // The system reports a file without attributes as "normal" (0x80), so a
    // mask of 0 looks for entries that have no attribute besides that one.
    if (limited == 0) return (attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL)) == 0;
    return (attributes & limited) != 0;
}

Text FindFile(const char* pattern, int32_t mask, bool maskOmitted, HANDLE* state) {
    if (!state) return nullptr;
    WIN32_FIND_DATAA entry;
    if (pattern && *pattern) {
        CloseFileSearch(state);
        HANDLE search = FindFirstEntry(pattern, &entry);
        if (search == INVALID_HANDLE_VALUE) return nullptr;
        *state = search;
    } else {
        if (!*state) return nullptr;
        if (!FindNextFileA(*state, &entry)) {
            CloseFileSearch(state);
            return nullptr;
        }
    }
    for (;;) {
        if (FileEntryMatches(entry.dwFileAttributes, entry.cFileName, mask, maskOmitted))
            return CopyText(entry.cFileName);
        if (!FindNextFileA(*state, &entry)) {
            CloseFileSearch(state);
            return nullptr;
        }
    }
}

void CloseFileSearch(HANDLE* state) {
    if (!state) return;
    if (*state && *state != INVALID_HANDLE_VALUE) FindClose(*state);
    *state = nullptr;
}

void CmdRemoveFile(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    SetResultBool(result, DeleteFileA(ArgumentText(argCount, args, 0)) != FALSE);
}

void CmdReadWholeFile(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    ScopedFileHandle file(CreateFileA(ArgumentText(argCount, args, 0), GENERIC_READ,
                                      FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return;
    LARGE_INTEGER size;
    // A byte set counts its bytes in 32 bits; a larger file cannot be held.
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0 || size.QuadPart > 0x7FFFFFF0)
        return;
    int32_t length = static_cast<int32_t>(size.QuadPart);
    OwnedByteSet set(MakeByteSet(nullptr, length));
    uint8_t* data = reinterpret_cast<uint8_t*>(set.Get() + 1);
    int32_t total = 0;
    while (total < length) {
        DWORD got = 0;
        if (!ReadFile(file.Get(), data + total, static_cast<DWORD>(length - total), &got, nullptr))
            return;
        if (got == 0) break;
        total += static_cast<int32_t>(got);
    }
    // The file shrank while it was read: hand back what it held.
    if (total == 0) return;
    if (total < length) set.Get()->length = total;
    SetResultByteSet(result, set.Release());
}
