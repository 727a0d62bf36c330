#include "app/dock/PanelFocus.h"

#include <windows.h>

#include "app/common/ProgramWindows.h"

namespace {

HWND gPreviousForeground = nullptr;

// A window the user worked in: shown, an application's own main window (not
// owned, not a tool window), not the taskbar and not one of this program's.
bool IsWorkWindow(HWND window) {
    if (!window || !IsWindow(window) || !IsWindowVisible(window) || IsIconic(window)) return false;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() || GetWindow(window, GW_OWNER)) return false;
    if (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) return false;
    char className[32] = {};
    GetClassNameA(window, className, sizeof(className));
    return lstrcmpA(className, "Shell_TrayWnd") != 0;
}

// The window the keyboard goes back to: the one that had it before the click
// (usually the taskbar itself, which was clicked), else the topmost work
// window, as the system picks one when the active window goes.
HWND WindowToReturnTo() {
    if (IsWorkWindow(gPreviousForeground)) return gPreviousForeground;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
        if (IsWorkWindow(w)) return w;
    return nullptr;
}

}  // namespace

void TakePanelFocus() {
    HWND panel = WindowHandleOf(PanelWindowRef());
    HWND previous = GetForegroundWindow();
    if (previous != panel) gPreviousForeground = previous;
    // Allowed: the click that got here was this process's own input.
    SetForegroundWindow(panel);
    SetFocus(WindowHandleOf(IconListRef()));
}

void ReturnPanelFocus() {
    if (GetForegroundWindow() == WindowHandleOf(PanelWindowRef())) {
        if (HWND next = WindowToReturnTo()) SetForegroundWindow(next);
    }
    gPreviousForeground = nullptr;
}

HandlerResult OnPanelFocused(const int32_t*, int32_t) {
    SetFocus(WindowHandleOf(IconListRef()));
    return NoResult();
}

void NamePanelWindows() {
    // The windows have no caption to show it; the name is for screen readers
    // (the engine names the dock button after its window's text).
    SetWindowTextA(WindowHandleOf(DockWindowRef()), "快速启动 (QuickDock)");
    SetWindowTextA(WindowHandleOf(PanelWindowRef()), "快速启动面板");
}
