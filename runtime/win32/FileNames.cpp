#include "runtime/win32/FileNames.h"

#include <shlwapi.h>

#include <cstring>
#include <vector>

namespace {

const wchar_t kLongPrefix[] = L"\\\\?\\";
const wchar_t kLongUncPrefix[] = L"\\\\?\\UNC\\";

bool IsDrivePath(const std::wstring& p) {
    return p.size() >= 3 && p[1] == L':' && p[2] == L'\\';
}
bool IsUncPath(const std::wstring& p) {
    return p.size() >= 3 && p[0] == L'\\' && p[1] == L'\\' && p[2] != L'?' && p[2] != L'.';
}

// The long-path form of a full wide path of MAX_PATH characters or more.
std::wstring LongForm(const std::wstring& path) {
    if (path.size() < MAX_PATH) return path;
    if (IsDrivePath(path)) return kLongPrefix + path;
    if (IsUncPath(path)) return kLongUncPrefix + path.substr(2);
    return path;
}

std::string AnsiWithFlags(const wchar_t* wide, DWORD flags, BOOL* usedDefault) {
    const int n = WideCharToMultiByte(CP_ACP, flags, wide, -1, nullptr, 0, nullptr, usedDefault);
    if (n <= 1) return std::string();
    std::string ansi(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, flags, wide, -1, &ansi[0], n, nullptr, usedDefault);
    ansi.resize(static_cast<size_t>(n - 1));
    return ansi;
}

}  // namespace

std::wstring WideFromAnsi(const char* text) {
    if (!text || !*text) return std::wstring();
    const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (n <= 1) return std::wstring();
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], n);
    wide.resize(static_cast<size_t>(n - 1));
    return wide;
}

std::wstring WithoutLongPrefix(const std::wstring& path) {
    if (path.compare(0, 8, kLongUncPrefix) == 0) return L"\\" + path.substr(7);
    if (path.compare(0, 4, kLongPrefix) == 0) return path.substr(4);
    return path;
}

std::wstring WidePath(const char* path) {
    std::wstring wide = WideFromAnsi(path);
    // The ANSI limit counts bytes; a wide path that long gets the prefix too,
    // which the wide calls accept at any length.
    if (path && std::strlen(path) >= MAX_PATH) {
        if (IsDrivePath(wide)) return kLongPrefix + wide;
        if (IsUncPath(wide)) return kLongUncPrefix + wide.substr(2);
    }
    return LongForm(wide);
}

bool AnsiFromWide(const wchar_t* wide, std::string* ansi) {
    BOOL usedDefault = FALSE;
    // No look-alikes: a best-fit "a" for "ä" would name another file.
    std::string exact = AnsiWithFlags(wide, WC_NO_BEST_FIT_CHARS, &usedDefault);
    if (!usedDefault && WideFromAnsi(exact.c_str()) == wide) {
        *ansi = exact;
        return true;
    }
    // The system's own spelling, "?" for what the code page lacks.
    *ansi = AnsiWithFlags(wide, 0, nullptr);
    return false;
}

std::string EntryNameForAnsi(const wchar_t* name, const wchar_t* shortName) {
    std::string ansi;
    if (AnsiFromWide(name, &ansi)) return ansi;
    std::string shortAnsi;
    if (shortName && *shortName && AnsiFromWide(shortName, &shortAnsi)) return shortAnsi;
    return ansi;
}

std::string AnsiPathFromWide(const std::wstring& wide) {
    std::string ansi;
    const bool exact = AnsiFromWide(wide.c_str(), &ansi);
    if (exact && ansi.size() < MAX_PATH) return ansi;
    const std::wstring longForm = LongForm(wide);
    const DWORD needed = GetShortPathNameW(longForm.c_str(), nullptr, 0);
    if (needed == 0) return ansi;
    std::vector<wchar_t> buffer(needed + 1, L'\0');
    const DWORD got = GetShortPathNameW(longForm.c_str(), buffer.data(), needed + 1);
    if (got == 0 || got > needed) return ansi;
    std::string shortAnsi;
    if (!AnsiFromWide(WithoutLongPrefix(buffer.data()).c_str(), &shortAnsi)) return ansi;
    // An exact long spelling still opens through the wide calls; prefer the
    // short one only where it helps.
    if (!exact || shortAnsi.size() < MAX_PATH) return shortAnsi;
    return ansi;
}

std::string ShortFormForAnsiCalls(const char* path) {
    if (!path || std::strlen(path) < MAX_PATH) return path ? path : "";
    return AnsiPathFromWide(WideFromAnsi(path));
}

namespace {

// The own name of the file a path names; empty when it names none.
std::wstring FoundName(const char* path) {
    // A name with wildcards would be a search, not a lookup.
    if (!path || std::strpbrk(path, "*?")) return std::wstring();
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(WidePath(path).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return std::wstring();
    FindClose(search);
    return found.cFileName;
}

bool LastPartMayBeShort(const char* path) {
    return path && std::strchr(PathFindFileNameA(path), '~');
}

}  // namespace

std::string LongNameOfShortName(const char* path) {
    if (!LastPartMayBeShort(path)) return std::string();
    const std::wstring own = FoundName(path);
    std::string name;
    if (!own.empty()) AnsiFromWide(own.c_str(), &name);
    return name;
}

std::wstring OwnNameOfShortName(const char* path) {
    if (!LastPartMayBeShort(path)) return std::wstring();
    const std::wstring own = FoundName(path);
    return own == WideFromAnsi(PathFindFileNameA(path)) ? std::wstring() : own;
}

bool PathNamesFileCalled(const char* path, const wchar_t* ownName) {
    return ownName && FoundName(path) == ownName;
}

bool EndsWithBackslash(const char* text) {
    if (!text || !*text) return false;
    const char* end = text + std::strlen(text);
    const char* last = CharPrevA(text, end);
    return last == end - 1 && *last == '\\';
}
