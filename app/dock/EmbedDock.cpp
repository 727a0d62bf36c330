// DockWindow's creation: move it into the taskbar in the place of the first
// TrayButton of the notification area, then load the panel it owns.
#include "app/dock/EmbedDock.h"

#include "app/common/DeclaredFunctions.h"
#include "app/common/ProgramWindows.h"
#include "runtime/library/Commands.h"
#include "runtime/windows/Properties.h"

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

void PlaceDockOverTrayButton() {
    WriteIntProperty(kDockWindow, kDockWindowSelf, kPropLeft, TakeTrayButtonPlace());
    WriteIntProperty(kDockWindow, kDockWindowSelf, kPropTop, 0);
}

HandlerResult EmbedDock(const int32_t*, int32_t) {
    HWND dock = WindowHandleOf(DockWindowRef());
    Declared::SetParent(dock, FindTaskbarWindow());
    PlaceDockOverTrayButton();
    CallCore(CoreCommand::LoadWindow, PanelWindowRef(), DockWindowRef(), ArgBool(false));
    return NoResult();
}
