// The category toolbar's events and the release of the items' pictures.
#pragma once
#include "runtime/process/Runtime.h"

// 工具条 event 0: shows the clicked category and clears the other buttons.
HandlerResult OnToolbarButtonClicked(const int32_t* args, int32_t argCount);
// Shows category `chosen` as a click on its button does; an index naming no
// category does nothing.
void ChooseCategory(int32_t chosen);
// The category `step` places after the one shown (before it for a negative
// step), going round at the ends, as a click on its button does.
void ChooseNeighbourCategory(int32_t step);
// 工具条 event 8: bound, does nothing.
HandlerResult OnToolbarEvent8(const int32_t* args, int32_t argCount);
// The panel's event 2: every image of ImageRegistry goes back to the engine.
HandlerResult OnPanelDestroying(const int32_t* args, int32_t argCount);
