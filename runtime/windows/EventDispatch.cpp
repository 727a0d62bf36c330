// Event delivery: finds the handler that the definitions bind to an event's
// source and number, calls it, and records a result only when one is given.
#include <algorithm>
#include "runtime/process/Runtime.h"
#include "runtime/values/Records.h"
#include "runtime/process/RuntimeError.h"
#include "runtime/process/RuntimeMessages.h"
#include "runtime/windows/WindowRuntime.h"

namespace {

constexpr uint32_t kMaxEventArguments = 5;

uint32_t gSourceWindow = 0;
uint32_t gSourceComponent = 0;

// The runtime's own element types raise events; a library type says so.
bool CanRaiseEvents(uint32_t typeId) {
    if (typeId == Tag::kWindow || typeId == Tag::kMenuEntry) return true;
    const ComponentType* type = FindComponentType(typeId);
    return type && type->raisesEvents;
}

// Sets the current event source for the handler's run and puts the previous
// one back afterwards, so a nested event does not leave it cleared.
class EventSourceScope {
  public:
    EventSourceScope(uint32_t windowId, uint32_t componentId)
        : window_(gSourceWindow), component_(gSourceComponent) {
        gSourceWindow = windowId;
        gSourceComponent = componentId;
    }
    ~EventSourceScope() {
        gSourceWindow = window_;
        gSourceComponent = component_;
    }
    EventSourceScope(const EventSourceScope&) = delete;
    EventSourceScope& operator=(const EventSourceScope&) = delete;

  private:
    uint32_t window_, component_;
};

}  // namespace

void DeliverEvent(EventRecord* record) {
    if (!record || EventsSuspended()) return;
    int32_t windowValue = static_cast<int32_t>(record->windowId);
    int32_t componentValue = static_cast<int32_t>(record->componentId);
    WindowDefinition* window = FindWindowDefinition(record->windowId);
    if (!window)
        ReportRuntimeErrorText(RuntimeMessage::kEventWindowUnknown, windowValue, componentValue);
    const ElementDefinition* element = FindElement(window, record->componentId);
    if (!element)
        ReportRuntimeErrorText(RuntimeMessage::kEventComponentUnknown, windowValue, componentValue);
    if (!CanRaiseEvents(element->typeId)) {
        ReportRuntimeErrorText(RuntimeMessage::kEventComponentInvalid, windowValue, componentValue);
    }
    BoundHandler handler = element->HandlerFor(record->event);
    if (!handler) return;
    uint32_t count = std::min(record->argumentCount, kMaxEventArguments);
    HandlerResult result;
    {
        EventSourceScope source(record->windowId, element->componentId);
        result = handler(record->arguments, static_cast<int32_t>(count));
    }
    if (result.given) {
        record->resultGiven = 1;
        record->result = result.value;
    }
}

void CurrentEventSource(uint32_t* windowId, uint32_t* componentId) {
    if (windowId) *windowId = gSourceWindow;
    if (componentId) *componentId = gSourceComponent;
}

EventRecord RaiseEvent(uint32_t windowId, uint32_t componentId, int32_t event, const int32_t* args,
                       uint32_t argCount) {
    EventRecord record{};
    record.windowId = windowId;
    record.componentId = componentId;
    record.event = event;
    record.argumentCount = std::min(argCount, kMaxEventArguments);
    for (uint32_t i = 0; i < record.argumentCount; ++i) record.arguments[i] = args[i];
    DeliverEvent(&record);
    return record;
}
