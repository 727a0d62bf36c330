// The panel's sample list box.
#pragma once
#include "runtime/process/Runtime.h"

// 扩展列表框 event 6: the list is kept without a selection.
HandlerResult OnSampleListEvent(const int32_t* args, int32_t argCount);
