// The panel shows "快速启动目录" as it is now. Changes are read while the
// panel is hidden, once a burst of them has settled, or at the latest when a
// click on the dock is about to slide the panel in; never while it is shown,
// so nothing changes under the pointer.
#pragma once
#include "runtime/process/Runtime.h"

// Starts watching the folder, then reads it for the first time (the scan).
// False when the panel went while the scan ran.
bool ScanAndWatchQuickLaunchFolder();
// The panel is laid out: a click or a change that came while the first scan
// ran is acted on now.
void FinishPanelStart();
// Ends the watch with the panel; nothing of it is left behind.
void StopWatchingQuickLaunchFolder();
// DockWindow's click (event -2): a hidden panel is brought up to date, takes
// the keyboard focus and slides in; a shown one slides out.
HandlerResult OnDockClicked(const int32_t* args, int32_t argCount);
