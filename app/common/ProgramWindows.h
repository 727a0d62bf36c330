// References to the program's windows for commands and properties.
#pragma once
#include <windows.h>

#include "runtime/values/Records.h"
#include "ui/description/UiIds.h"

inline ArgumentRecord DockWindowRef() {
    return ArgComponent(TypeId::kWindow, kDockWindow, kDockWindowSelf);
}
inline ArgumentRecord PanelWindowRef() {
    return ArgComponent(TypeId::kWindow, kDockPanelWindow, kPanelSelf);
}
inline ArgumentRecord ShellWatchWindowRef() {
    return ArgComponent(TypeId::kWindow, kShellWatchWindow, kShellWatchSelf);
}
inline ArgumentRecord IconListRef() {
    return ArgComponent(TypeId::kIcoListboxEx, kDockPanelWindow, kPanelIconList);
}
inline ArgumentRecord ToolbarRef() {
    return ArgComponent(TypeId::kToolbarEx, kDockPanelWindow, kPanelToolbar);
}

// The live handle of a loaded window (WindowHandleOf); a window that is not
// loaded is a runtime error.
HWND WindowHandleOf(const ArgumentRecord& window);
// Whether a window is loaded now. DockWindow and the panel it owns go when
// the taskbar that holds the dock is destroyed, also in the middle of a
// handler that pumps messages.
bool IsLoaded(const ArgumentRecord& window);
