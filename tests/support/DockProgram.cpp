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
    std::wstring wide(folder.size() + 1, L'\0');
    const int n = MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, &wide[0], int(wide.size()));
    wide.resize(n > 0 ? size_t(n - 1) : 0);
    return Start(wide);
}

bool DockProgram::Start(const std::wstring& folder) {
    Stop();
    const std::wstring exe = folder + L"\\QuickDock.exe";
    std::wstring command = L"\"" + exe + L"\"";
    std::vector<wchar_t> line(command.begin(), command.end());
    line.push_back(L'\0');
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    if (CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
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
