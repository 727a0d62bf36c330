#pragma once
// The program's start routine: runtime initialisation; then, unless the
// session has its dock already, the dock (BringUpDock) and the message loop.
// Returns 0.
int StartUp();
// The global lists and their release at the end, ShellWatchWindow, then
// DockWindow, whose creation builds the rest.
void BringUpDock();
