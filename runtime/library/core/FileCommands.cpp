// File commands: removing a file, reading a whole file, searching a folder.
// Failures give false or empty; they are never runtime errors.
#include <windows.h>
#include <cstring>
#include <string>
#include "runtime/library/core/CoreArguments.h"
#include "runtime/library/core/CoreCommandList.h"
#include "runtime/library/core/FileSearch.h"
#include "runtime/win32/FileNames.h"
#include "runtime/win32/ScopedOwners.h"

namespace {

constexpr DWORD kSearchableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                        FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY |
                                        FILE_ATTRIBUTE_ARCHIVE;  // 0x37

bool IsDotEntry(const char* name) {
    return name && (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0);
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

// The search runs on the wide calls, so that a folder deep in the tree (a
// pattern of MAX_PATH bytes or more) is searched as well, and every name is
// handed out in a spelling that opens the file: a name that code page 936
// cannot hold comes out as its short name.
Text FindFile(const char* pattern, int32_t mask, bool maskOmitted, HANDLE* state) {
    if (!state) return nullptr;
    WIN32_FIND_DATAW entry;
    if (pattern && *pattern) {
        CloseFileSearch(state);
        HANDLE search = FindFirstFileW(WidePath(pattern).c_str(), &entry);
        if (search == INVALID_HANDLE_VALUE) return nullptr;
        *state = search;
    } else {
        if (!*state) return nullptr;
        if (!FindNextFileW(*state, &entry)) {
            CloseFileSearch(state);
            return nullptr;
        }
    }
    for (;;) {
        const std::string name = EntryNameForAnsi(entry.cFileName, entry.cAlternateFileName);
        if (FileEntryMatches(entry.dwFileAttributes, name.c_str(), mask, maskOmitted))
            return CopyText(name.c_str());
        if (!FindNextFileW(*state, &entry)) {
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
    SetResultBool(result, DeleteFileW(WidePath(ArgumentText(argCount, args, 0)).c_str()) != FALSE);
}

void CmdReadWholeFile(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    ScopedFileHandle file(CreateFileW(WidePath(ArgumentText(argCount, args, 0)).c_str(),
                                      GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
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
