#include "tests/support/DockProgram.h"

#include <vector>

#include "ui/description/WindowGeometry.h"

namespace {

DWORD OwnerOf(HWND window) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    return id;
}

}  // namespace

bool DockProgram::Start(const std::string& folder) {
    Stop();
    const std::string exe = folder + "\\QuickDock.exe";
    std::string command = "\"" + exe + "\"";
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    if (CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       folder.c_str(), &si, &process_))
        return true;
    process_ = {};
    return false;
}

void DockProgram::Stop() {
    if (!process_.hProcess) return;
    if (WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(process_.hProcess, 9);
        WaitForSingleObject(process_.hProcess, 10000);
    }
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
    process_ = {};
}

bool DockProgram::Running() const {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND DockProgram::DockIn(HWND taskbar) const {
    for (HWND w = GetWindow(taskbar, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (OwnerOf(w) == Id()) return w;
    }
    return nullptr;
}

namespace {

HWND TopLevelOf(DWORD process, bool laidOut) {
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        RECT r = {};
        if (OwnerOf(w) != process || !GetWindowRect(w, &r)) continue;
        if (r.right - r.left == kPanelWidth && (r.bottom - r.top == kPanelHeight) == laidOut)
            return w;
    }
    return nullptr;
}

}  // namespace

HWND DockProgram::Panel() const {
    return TopLevelOf(Id(), true);
}

HWND DockProgram::PanelBeingBuilt() const {
    return TopLevelOf(Id(), false);
}
