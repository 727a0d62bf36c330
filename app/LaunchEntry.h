// The icon list's item activation.
#pragma once
#include "runtime/process/Runtime.h"

// 图标列表框 event 0 (args[0] the item's index): opens the item of the shown
// category and slides the panel out; an index naming no item does nothing.
HandlerResult LaunchEntry(const int32_t* args, int32_t argCount);
