// DockWindow's creation: into the taskbar in the place of its first
// TrayButton, then the panel it owns is loaded.
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
// Moves DockWindow to the place of the first TrayButton, which it hides.
void PlaceDockOverTrayButton();
// DockWindow event 0: re-parents it into Shell_TrayWnd, places it, loads
// DockPanelWindow owned by it.
HandlerResult EmbedDock(const int32_t* args, int32_t argCount);
