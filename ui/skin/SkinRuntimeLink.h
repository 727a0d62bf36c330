// SkinUi's link to the runtime: the notification entry the runtime hands over
// with code 1, and the calls made through it.
#pragma once
#include <cstdint>
#include "runtime/process/Runtime.h"

// Keeps the runtime's entry (null forgets it).
void SetRuntimeNotifyEntry(RuntimeNotifyFn entry);
// Sends a notification to the runtime; 0 while no entry has been handed over.
intptr_t NotifyRuntime(int32_t code, intptr_t a1 = 0, intptr_t a2 = 0, intptr_t a3 = 0);
