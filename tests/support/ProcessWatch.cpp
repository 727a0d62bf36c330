#include "tests/support/ProcessWatch.h"

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
