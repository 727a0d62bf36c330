#include "bench/PageCache.h"

#include <windows.h>

namespace {

std::string gDropper;

std::string ReadSmallFile(const std::string& path) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return "";
    char text[64] = {};
    DWORD got = 0;
    ReadFile(f, text, sizeof(text) - 1, &got, nullptr);
    CloseHandle(f);
    return text;
}

}  // namespace

void SetPageCacheDropper(const std::string& program) {
    gDropper = program;
}

bool PageCacheCanBeDropped() {
    return !gDropper.empty();
}

bool DropPageCache() {
    if (gDropper.empty()) return false;
    // Wine hands a Windows program no handle of a host program it starts, so
    // the dropper reports its exit status in "<its path>.done" instead.
    const std::string done = gDropper + ".done";
    DeleteFileA(done.c_str());
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(gDropper.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi))
        return false;
    if (pi.hProcess) CloseHandle(pi.hProcess);
    if (pi.hThread) CloseHandle(pi.hThread);
    const DWORD start = GetTickCount();
    while (GetFileAttributesA(done.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount() - start > 120000) return false;
        Sleep(5);
    }
    const std::string status = ReadSmallFile(done);
    return !status.empty() && status[0] == '0';
}
