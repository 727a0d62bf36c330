// The dock button's own skin events.
#pragma once
#include "runtime/process/Runtime.h"

// DockWindow event 8, its first activation: the engine refreshes its caches.
HandlerResult OnDockFirstActivation(const int32_t* args, int32_t argCount);
// 窗口EX event 20: the skin root's hover highlight (args[0] 1 entered, 0 left).
HandlerResult OnDockHover(const int32_t* args, int32_t argCount);
