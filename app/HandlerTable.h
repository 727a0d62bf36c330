// The program's code base: its event handlers, indexed by handler slot.
#pragma once
#include "runtime/process/Runtime.h"
#include "ui/description/HandlerSlots.h"

extern const EventHandler kHandlerTable[kHandlerSlotCount];
