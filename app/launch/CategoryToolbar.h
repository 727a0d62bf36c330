// The category toolbar's events and the release of the items' pictures.
#pragma once
#include "runtime/process/Runtime.h"

// 工具条 event 0: shows the clicked category and clears the other buttons.
HandlerResult OnToolbarButtonClicked(const int32_t* args, int32_t argCount);
// 工具条 event 8: bound, does nothing.
HandlerResult OnToolbarEvent8(const int32_t* args, int32_t argCount);
// The panel's event 2: every image of ImageRegistry goes back to the engine.
HandlerResult OnPanelDestroying(const int32_t* args, int32_t argCount);
