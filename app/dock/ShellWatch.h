// ShellWatchWindow: the program's ear for what the shell tells every
// top-level window, and for a second start of the program.
#pragma once
#include <windows.h>

#include "runtime/process/Runtime.h"

// ShellWatchWindow event 0: installs the window's procedure.
HandlerResult OnShellWatchCreated(const int32_t* args, int32_t argCount);
// Asks for the dock to take its place again, once, among the watch window's
// messages: changes come in bursts, and the search for the place pumps.
void RequestDockPlace();
// Asks for a new taskbar to be looked at (the dock goes into it).
void RequestDockRestore();
// Asks for the hidden panel's resting place to be measured again.
void RequestPanelPlace();
// The message a second start sends to the running dock's watch window: slide
// the panel in.
UINT SlideInRequestMessage();
