// DockWindow's creation: move it into the taskbar and give it its place
// there, then load the panel it owns. The place follows what the taskbar has:
// where the notification area holds a TrayButton (Windows 10 and earlier) the
// dock takes the first one's place and hides it; where it holds none (Windows
// 11, whose notification buttons are not windows) the dock sits immediately
// left of the notification area, centred in the bar, and hides nothing.
#include "app/dock/EmbedDock.h"

#include <algorithm>

#include "app/common/DeclaredFunctions.h"
#include "app/common/ProgramWindows.h"
#include "app/dock/DockRequests.h"
#include "app/dock/TaskbarWatch.h"
#include "runtime/library/Commands.h"
#include "runtime/windows/Properties.h"

namespace {

bool gBuilding = false;
// Hidden here while the notification area it goes beside had no size.
bool gDockHidden = false;
bool gPlacing = false;
bool gPlaceAgain = false;

void ShowDock(bool shown) {
    if (gDockHidden == !shown) return;
    gDockHidden = !shown;
    // Through the window's shown flag: during its creation, the runtime shows
    // the window afterwards as that flag says.
    WriteIntProperty(kDockWindow, kDockWindowSelf, kPropShown, shown ? 1 : 0);
}

void SetDockPlace(int32_t left, int32_t top) {
    WriteIntProperty(kDockWindow, kDockWindowSelf, kPropLeft, left);
    WriteIntProperty(kDockWindow, kDockWindowSelf, kPropTop, top);
}

// The dock in the place of `button` (none: the taskbar's origin), which it hides.
void PlaceDockOverTrayButton(HWND taskbar, HWND button) {
    const WindowBox box = GetWindowBox(button);
    Declared::ShowWindowAsync(button, SW_HIDE);
    SetDockPlace(DockLeftForButton(taskbar, button, box), 0);
    ShowDock(true);
}

void TakeDockPlace() {
    HWND taskbar = FindTaskbarWindow();
    HWND notify = FindTrayNotifyWindow();
    WatchTaskbar(taskbar, notify, RequestDockPlace);
    HWND button = FindDescendantByClass(notify, "TrayButton");
    // The search pumps messages: the taskbar, and the dock with it, may be gone.
    if (!IsLoaded(DockWindowRef())) return;
    if (button || !notify) {
        PlaceDockOverTrayButton(taskbar, button);
        return;
    }
    const DockPlace place = DockPlaceBesideTray(
        taskbar, GetWindowBox(notify), ReadIntProperty(kDockWindow, kDockWindowSelf, kPropWidth),
        ReadIntProperty(kDockWindow, kDockWindowSelf, kPropHeight));
    // Right after logon (or a monitor attached) the area can be empty for a
    // while; placed anywhere now, the dock would cover Start or the task
    // buttons. Its first size arrives as a change of place.
    if (!place.ready) {
        ShowDock(false);
        return;
    }
    SetDockPlace(place.left, place.top);
    ShowDock(true);
}

}  // namespace

int32_t DockLeftForButton(HWND taskbar, HWND button, const WindowBox& buttonBox) {
    if (!button) return 0;
    // The button's box is in screen coordinates while the dock, a child of
    // the taskbar, is placed in the taskbar's client coordinates; they only
    // agree for a taskbar that starts at screen x 0.
    POINT at = {buttonBox.left, buttonBox.top};
    if (taskbar) ScreenToClient(taskbar, &at);
    return at.x;
}

int32_t TakeTrayButtonPlace() {
    HWND notify = FindTrayNotifyWindow();
    HWND button = FindDescendantByClass(notify, "TrayButton");
    const WindowBox box = GetWindowBox(button);
    Declared::ShowWindowAsync(button, SW_HIDE);
    return DockLeftForButton(FindTaskbarWindow(), button, box);
}

DockPlace DockPlaceBesideTray(HWND taskbar, const WindowBox& notify, int32_t dockWidth,
                              int32_t dockHeight) {
    DockPlace place;
    if (notify.width <= 0 || notify.height <= 0) {
        place.ready = false;
        return place;
    }
    POINT at = {notify.left, notify.top};
    RECT bar = {0, 0, 0, notify.height};
    if (taskbar) {
        ScreenToClient(taskbar, &at);
        GetClientRect(taskbar, &bar);
    }
    place.left = std::max<int32_t>(0, at.x - dockWidth);
    place.top = (bar.bottom - bar.top - dockHeight) / 2;
    return place;
}

void PlaceDock() {
    if (!IsLoaded(DockWindowRef())) return;
    // A change of place reported while the search below pumps messages is
    // taken after it, not inside it.
    if (gPlacing) {
        gPlaceAgain = true;
        return;
    }
    gPlacing = true;
    do {
        gPlaceAgain = false;
        TakeDockPlace();
    } while (gPlaceAgain && IsLoaded(DockWindowRef()));
    gPlacing = false;
}

HWND DockTaskbar() {
    if (!IsLoaded(DockWindowRef())) return nullptr;
    HWND parent = GetAncestor(WindowHandleOf(DockWindowRef()), GA_PARENT);
    return parent == GetDesktopWindow() ? nullptr : parent;
}

HandlerResult EmbedDock(const int32_t*, int32_t) {
    gBuilding = true;
    HWND dock = WindowHandleOf(DockWindowRef());
    Declared::SetParent(dock, FindTaskbarWindow());
    PlaceDock();
    CallCore(CoreCommand::LoadWindow, PanelWindowRef(), DockWindowRef(), ArgBool(false));
    gBuilding = false;
    // A new taskbar announced while this one was being built is looked at now.
    ResumeDeferredDockRestore();
    return NoResult();
}

bool DockBeingBuilt() {
    return gBuilding;
}

void ShowNextDock() {
    if (!gDockHidden) return;
    gDockHidden = false;
    WriteIntProperty(kDockWindow, kDockWindowSelf, kPropShown, 1);
}
