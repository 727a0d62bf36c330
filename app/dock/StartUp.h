#pragma once
// The program's start routine: runtime initialisation, the global lists and
// their release at the end, DockWindow, then the message loop. Returns 0.
int StartUp();
