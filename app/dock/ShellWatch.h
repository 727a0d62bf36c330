// ShellWatchWindow: the program's ear for what the shell tells every
// top-level window, and for a second start of the program.
#pragma once
#include <windows.h>

#include "runtime/process/Runtime.h"

// ShellWatchWindow event 0: installs the window's procedure.
HandlerResult OnShellWatchCreated(const int32_t* args, int32_t argCount);
