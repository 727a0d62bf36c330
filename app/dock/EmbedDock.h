// DockWindow's creation: into the taskbar, in the place the taskbar has for
// it; then the panel it owns is loaded. The place is taken again whenever the
// taskbar or its notification area moves.
#pragma once
#include <windows.h>
#include <cstdint>

#include "app/dock/TaskbarSearch.h"
#include "runtime/process/Runtime.h"

// Where the dock goes inside the taskbar: the button's left edge in the
// taskbar's client coordinates (unchanged when there is no taskbar), 0 when
// there is no button.
int32_t DockLeftForButton(HWND taskbar, HWND button, const WindowBox& buttonBox);
// Finds the first TrayButton, hides it and gives the left edge for the dock
// in its place (DockLeftForButton).
int32_t TakeTrayButtonPlace();

// The dock's place in a taskbar, in the taskbar's client coordinates; not
// ready while the notification area it goes beside has no size yet.
struct DockPlace {
    int32_t left = 0, top = 0;
    bool ready = true;
};
// A taskbar without a TrayButton: immediately left of the notification area
// (`notify`, screen coordinates), vertically centred in the bar.
DockPlace DockPlaceBesideTray(HWND taskbar, const WindowBox& notify, int32_t dockWidth,
                              int32_t dockHeight);
// Gives DockWindow its place in the taskbar that holds it: the first
// TrayButton's, which it hides, where the notification area has one (or where
// there is no notification area at all); else beside the notification area,
// hiding nothing, and kept out of sight until that area has a size. Starts
// following the taskbar. Does nothing when DockWindow is not loaded.
void PlaceDock();
// The taskbar window that holds DockWindow, or 0 (not loaded, or top-level).
HWND DockTaskbar();
// DockWindow event 0: re-parents it into Shell_TrayWnd, places it, loads
// DockPanelWindow owned by it.
HandlerResult EmbedDock(const int32_t* args, int32_t argCount);
// Whether DockWindow and its panel are being built (EmbedDock runs): their
// creation pumps messages, and a new dock must not be started inside it.
bool DockBeingBuilt();
// The dock's next creation starts shown, whatever the last one's notification
// area left it as.
void ShowNextDock();
