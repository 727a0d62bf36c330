#include "tests/support/ProcessWatch.h"

#include <tlhelp32.h>

#include <vector>

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

bool StartProgramIn(const std::string& folder, const char* exeName, PROCESS_INFORMATION* process) {
    const std::string exe = folder + "\\" + exeName;
    const std::string command = "\"" + exe + "\"";
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    return CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &si, process) != 0;
}

HWND FindTopWindowSized(DWORD processId, int width, int height) {
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        const RECT r = Box(w);
        if (OwnerProcess(w) == processId && r.right - r.left == width && r.bottom - r.top == height)
            return w;
    }
    return nullptr;
}

HWND FindChildOf(HWND parent, DWORD processId) {
    for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (OwnerProcess(w) == processId) return w;
    }
    return nullptr;
}
