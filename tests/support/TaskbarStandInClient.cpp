#include "tests/support/TaskbarStandInClient.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

std::string TestProgramDirectory() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (char* slash = std::strrchr(path, '\\')) *slash = '\0';
    return path;
}

bool TaskbarStandIn::Start(const std::string& options) {
    Stop();
    char report[MAX_PATH];
    char tempDir[MAX_PATH];
    GetTempPathA(MAX_PATH, tempDir);
    std::snprintf(report, sizeof(report), "%sstandin_%lu_%lu.txt", tempDir, GetCurrentProcessId(),
                  GetTickCount());
    DeleteFileA(report);
    std::string command = "\"" + TestProgramDirectory() + "\\test_support_taskbar.exe\" " +
                          options + " --out \"" + report + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &process_)) {
        process_ = {};
        return false;
    }
    // Waits for the report or for the stand-in to give up: up to a minute,
    // since a process start in the emulated guest on a busy host can take
    // tens of seconds.
    FILE* f = nullptr;
    for (int i = 0; i < 1200 && !f; ++i) {
        f = std::fopen(report, "r");
        if (!f) {
            if (WaitForSingleObject(process_.hProcess, 50) == WAIT_OBJECT_0) break;
        }
    }
    if (!f) return false;
    char className[256];
    unsigned long long handle = 0;
    StandInWindow w;
    while (std::fscanf(f, "%255s %llx %ld %ld %ld %ld %d", className, &handle, &w.box.left,
                       &w.box.top, &w.box.right, &w.box.bottom, &w.depth) == 7) {
        w.className = className;
        w.window = reinterpret_cast<HWND>(static_cast<uintptr_t>(handle));
        windows_.push_back(w);
    }
    std::fclose(f);
    DeleteFileA(report);
    return !windows_.empty();
}

void TaskbarStandIn::Stop() {
    if (process_.hProcess) {
        if (HWND taskbar = Taskbar()) PostMessageA(taskbar, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.hProcess, 5000) != WAIT_OBJECT_0) {
            TerminateProcess(process_.hProcess, 3);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    process_ = {};
    windows_.clear();
}

HWND TaskbarStandIn::Taskbar() const {
    return Find("Shell_TrayWnd");
}

HWND TaskbarStandIn::Find(const std::string& className, int n) const {
    for (const StandInWindow& w : windows_) {
        if (w.className == className && n-- == 0) return w.window;
    }
    return nullptr;
}

const StandInWindow* TaskbarStandIn::Entry(HWND window) const {
    for (const StandInWindow& w : windows_) {
        if (w.window == window) return &w;
    }
    return nullptr;
}

bool TaskbarStandIn::Move(const std::string& className, int left, int width) const {
    for (size_t i = 0; i < windows_.size(); ++i) {
        if (windows_[i].className != className) continue;
        DWORD_PTR answer = 0;
        return SendMessageTimeoutA(Taskbar(), kStandInMoveWindow, i, MAKELPARAM(left, width),
                                   SMTO_ABORTIFHUNG, 5000, &answer) != 0;
    }
    return false;
}
