// DockPanelWindow's creation event.
#pragma once
#include "runtime/process/Runtime.h"

// The panel's event 0: auto-start registration, blur behind, the scan of
// "快速启动目录", the layout, category 0 shown.
HandlerResult OnPanelCreated(const int32_t* args, int32_t argCount);
