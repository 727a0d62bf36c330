// DockPanelWindow's creation and destruction.
#pragma once
#include "runtime/process/Runtime.h"

// The panel's event 0: auto-start registration, blur behind, the scan of
// "快速启动目录" (watched from then on), the layout, category 0 shown.
HandlerResult OnPanelCreated(const int32_t* args, int32_t argCount);
// The panel's event 2: the watch ends, every picture goes back to the engine.
HandlerResult OnPanelDestroyed(const int32_t* args, int32_t argCount);
