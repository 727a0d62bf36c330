// A stand-in for the runtime side of SkinUi's notifications, so SkinUi can be
// tested without the window module: window objects are small records, every
// notification is written to a log, events are kept for inspection.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/windows/ComponentTypes.h"
#include "runtime/process/Runtime.h"
#include "runtime/windows/Events.h"

namespace fake_runtime {

struct Object {
    HWND window;
    int number;
    bool detached = false;
    bool deleted = false;
};

void Reset();
// The entry handed to SkinUi with notification code 1.
intptr_t Notify(int32_t code, intptr_t a1, intptr_t a2, intptr_t a3);

// Makes (windowId, componentId) findable through notification 2007.
void RegisterComponent(uint32_t windowId, uint32_t componentId, RuntimeWindowObject object);
Object* ObjectOf(RuntimeWindowObject object);

// Notifications other than 2008, one line each, e.g. "2000 52012C96 16012D4A",
// "1008 #1". Faults found (a deleted object touched) appear as "FAULT ...".
const std::vector<std::string>& Log();
void ClearLog();
// Events delivered through 2008.
const std::vector<EventRecord>& Events();
// The result the "handler" reports for every later event (unset: none).
void SetHandlerResult(bool given, int32_t value);

}  // namespace fake_runtime
