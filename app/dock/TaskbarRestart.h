// The dock's return into a new taskbar after the shell restarted.
#pragma once

// Puts the dock into the taskbar there is now: moves a dock that still lives
// into it, or builds DockWindow and its panel again when the old taskbar took
// them along. Asked for while a dock is being built, it waits for the build's
// end (DeferDockRestore).
void RestoreDock();
