#include "bench/DockSession.h"

#include <vector>

#include "bench/ProcessProbe.h"

namespace {

DWORD OwnerOf(HWND w) {
    DWORD id = 0;
    GetWindowThreadProcessId(w, &id);
    return id;
}

void Click(HWND window, int x, int y) {
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

}  // namespace

bool DockSession::Start(const std::string& runFolder, DWORD timeoutMs) {
    Stop();
    if (!standIn_.Start("--tree TrayNotifyWnd:900:300(TrayButton:10:40) --timeout 900000"))
        return false;
    taskbarProcess_ = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE,
                                  OwnerOf(standIn_.Taskbar()));
    const std::string exe = runFolder + "\\QuickDock.exe";
    std::string command = "\"" + exe + "\"";
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        runFolder.c_str(), &si, &process_)) {
        process_ = {};
        return false;
    }
    // The panel is shown only once its creation handler has scanned the
    // folder and filled category 0: that is the end of start-up.
    const bool ready = WaitFor(
        [&] {
            if (!panel_) panel_ = FindPanel();
            return panel_ && IsWindowVisible(panel_);
        },
        timeoutMs);
    readyMs_ = NowMs();
    createdMs_ = CreationMs(process_.hProcess);
    if (!ready) return false;
    dock_ = FindDock();
    iconList_ = FindWindowExA(panel_, nullptr, "IcoListboxEx", nullptr);
    toolbar_ = FindWindowExA(panel_, nullptr, "ToolbarEx", nullptr);
    return dock_ && iconList_ && toolbar_;
}

void DockSession::Stop() {
    if (process_.hProcess) {
        TerminateProcess(process_.hProcess, 9);
        WaitForSingleObject(process_.hProcess, 10000);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    process_ = {};
    panel_ = dock_ = iconList_ = toolbar_ = nullptr;
    if (taskbarProcess_) CloseHandle(taskbarProcess_);
    taskbarProcess_ = nullptr;
    standIn_.Stop();
}

HWND DockSession::FindPanel() const {
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        RECT r = {};
        GetWindowRect(w, &r);
        if (OwnerOf(w) == process_.dwProcessId && r.right - r.left == 400 &&
            r.bottom - r.top == 248)
            return w;
    }
    return nullptr;
}

HWND DockSession::FindDock() const {
    for (HWND w = GetWindow(standIn_.Taskbar(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (OwnerOf(w) == process_.dwProcessId) return w;
    }
    return nullptr;
}

int DockSession::PanelLeft() const {
    RECT r = {};
    GetWindowRect(panel_, &r);
    return r.left;
}

void DockSession::ClickDock() {
    Click(dock_, 10, 10);
}

void DockSession::ClickFirstItem() {
    // The first cell starts at the list's top left corner.
    Click(iconList_, 30, 30);
}

void DockSession::ClickToolbarButton(int index) {
    RECT bar;
    GetClientRect(toolbar_, &bar);
    // Buttons are 40 pixels high below a 6 pixel margin.
    Click(toolbar_, (bar.right - bar.left) / 2, 6 + 40 * index + 18);
}
