// Event records: how windows, components and the skin library report what
// happened, and how the runtime finds and calls the bound handler.
#pragma once
#include <cstdint>

struct EventRecord {
    uint32_t windowId;
    uint32_t componentId;  // the window's own element for window events
    int32_t event;
    uint32_t argumentCount;
    int32_t arguments[5];
    uint32_t resultGiven;  // set when a handler ran and reported a result
    int32_t result;
};

// Event delivery: nothing while events are suspended; runtime errors for an
// unknown window or component; calls the bound handler with the arguments.
void DeliverEvent(EventRecord* record);

// The source whose handler is running: (0, 0) when none.
void CurrentEventSource(uint32_t* windowId, uint32_t* componentId);
