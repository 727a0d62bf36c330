#include "tests/support/ProcessWatch.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <cstring>

bool Eventually(const std::function<bool()>& condition, int seconds) {
    for (int i = 0; i < seconds * 40; ++i) {
        if (condition()) return true;
        Settle(25);
    }
    return condition();
}

void Settle(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < milliseconds);
}

DWORD OwnerProcess(HWND window) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    return id;
}

RECT Box(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}

int ThreadsOf(DWORD processId) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    THREADENTRY32 entry;
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == processId) ++count;
    CloseHandle(snapshot);
    return count;
}

namespace {

struct VisibleWindowSearch {
    DWORD process;
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchVisibleWindow(HWND window, LPARAM param) {
    auto* s = reinterpret_cast<VisibleWindowSearch*>(param);
    if (OwnerProcess(window) != s->process || !IsWindowVisible(window)) return TRUE;
    if (s->caption) {
        char text[256] = "";
        GetWindowTextA(window, text, sizeof text);
        if (std::strcmp(text, s->caption) != 0) return TRUE;
    }
    s->found = window;
    return FALSE;
}

}  // namespace

HWND VisibleWindowOf(DWORD processId, const char* caption) {
    VisibleWindowSearch search{processId, caption, nullptr};
    EnumWindows(MatchVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool CallIn(HANDLE process, const char* dll, const char* function, DWORD* result) {
    FARPROC entry = GetProcAddress(GetModuleHandleA(dll), function);
    HMODULE local = nullptr;
    if (!entry || !GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                          GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                      reinterpret_cast<LPCSTR>(entry), &local))
        return false;
    char localName[MAX_PATH] = {};
    GetModuleBaseNameA(GetCurrentProcess(), local, localName, sizeof(localName));
    HMODULE modules[512];
    DWORD bytes = 0;
    if (!EnumProcessModules(process, modules, sizeof(modules), &bytes)) return false;
    for (DWORD i = 0; i < bytes / sizeof(HMODULE); ++i) {
        char name[MAX_PATH] = {};
        GetModuleBaseNameA(process, modules[i], name, sizeof(name));
        if (lstrcmpiA(name, localName) != 0) continue;
        const auto start = reinterpret_cast<LPTHREAD_START_ROUTINE>(
            reinterpret_cast<UINT_PTR>(modules[i]) +
            (reinterpret_cast<UINT_PTR>(entry) - reinterpret_cast<UINT_PTR>(local)));
        HANDLE thread = CreateRemoteThread(process, nullptr, 0, start, nullptr, 0, nullptr);
        if (!thread) return false;
        const bool done = WaitForSingleObject(thread, 10000) == WAIT_OBJECT_0 &&
                          GetExitCodeThread(thread, result);
        CloseHandle(thread);
        return done;
    }
    return false;
}
