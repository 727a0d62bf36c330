// ShellWatchWindow never shows. It hears what the shell sends to every
// top-level window: "TaskbarCreated" once a new taskbar exists after the shell
// restarted (the dock goes back into it), display, settings and DPI changes
// (the dock and the hidden panel take their places again); and a second
// start's request to slide the panel in. Being a loaded window, it also keeps
// the program running while the taskbar that held the dock is gone.
#include "app/dock/ShellWatch.h"

#include "app/common/DeclaredFunctions.h"
#include "app/common/Globals.h"
#include "app/common/ProgramWindows.h"
#include "app/dock/DockRequests.h"
#include "app/dock/EmbedDock.h"
#include "app/dock/PanelLayout.h"
#include "app/dock/PanelSlides.h"
#include "app/dock/TaskbarRestart.h"

namespace {

#ifndef WM_DPICHANGED
constexpr UINT WM_DPICHANGED = 0x02E0;
#endif
#ifndef MSGFLT_ALLOW
constexpr DWORD MSGFLT_ALLOW = 1;
#endif

LONG_PTR gPreviousProc = 0;
UINT gTaskbarCreated = 0;

// An elevated dock still hears the shell and a second start by the same user
// without rights: the system otherwise drops messages that come from a
// process of a lower integrity level. The filter exists from Windows 7 on.
void AcceptFromLowerRights(HWND window, UINT message) {
    using FilterFn = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    static const auto filter = reinterpret_cast<FilterFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "ChangeWindowMessageFilterEx")));
    if (filter) filter(window, message, MSGFLT_ALLOW, nullptr);
}

void OnDisplayChanged() {
    RequestDockPlace();
}

// A second start asked for the panel: as a click on the dock would show it.
void OnSlideInRequest() {
    if (PanelState == kPanelHidden && IsLoaded(PanelWindowRef()) && !DockBeingBuilt())
        SlidePanelIn();
}

LRESULT CALLBACK ShellWatchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (gTaskbarCreated != 0 && message == gTaskbarCreated) {
        RequestDockRestore();
    } else if (message == SlideInRequestMessage()) {
        OnSlideInRequest();
        return 0;
    }
    switch (message) {
        case WM_DISPLAYCHANGE:
        case WM_SETTINGCHANGE:
        case WM_DPICHANGED:
            OnDisplayChanged();
            break;
        case kMsgPlaceDock:
            // The taskbar moved or changed: the dock, and the panel that
            // rests on it, take their places again.
            DockPlaceTaken();
            PlaceDock();
            RefreshPanelPlace();
            return 0;
        case kMsgRestoreDock:
            RestoreDock();
            return 0;
        case kMsgPlacePanel:
            RefreshPanelPlace();
            return 0;
        default:
            break;
    }
    return CallWindowProcA(reinterpret_cast<WNDPROC>(gPreviousProc), window, message, wParam,
                           lParam);
}

}  // namespace

HandlerResult OnShellWatchCreated(const int32_t*, int32_t) {
    HWND watch = WindowHandleOf(ShellWatchWindowRef());
    // The shell registers the message under this name and broadcasts it to
    // the top-level windows once its new taskbar exists.
    gTaskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    AcceptFromLowerRights(watch, gTaskbarCreated);
    AcceptFromLowerRights(watch, SlideInRequestMessage());
    gPreviousProc =
        SetWindowLongPtrA(watch, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ShellWatchProc));
    SetRequestWindow(watch);
    return NoResult();
}
