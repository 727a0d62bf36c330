// The runtime's notification entry, handed to every support library: window
// objects for the libraries' native windows, component lookups and event
// delivery.
#include "runtime/process/Runtime.h"
#include "runtime/process/RuntimeError.h"
#include "runtime/process/RuntimeMessages.h"
#include "runtime/windows/WindowRuntime.h"

namespace {

RuntimeWindowObject FindComponentObject(uint32_t windowId, uint32_t componentId) {
    LiveWindow* live = FindLiveWindow(windowId);
    if (live) {
        if (componentId == 0 || componentId == live->definition->elements[0].componentId) {
            return live->object;
        }
        LiveComponent* component = FindLiveComponent(live, componentId);
        if (component && IsWindow(component->hwnd)) return component->object;
    }
    ReportRuntimeErrorText(RuntimeMessage::kWindowOrComponentGone, static_cast<int32_t>(windowId),
                           static_cast<int32_t>(componentId));
}

}  // namespace

intptr_t RuntimeNotify(int32_t code, intptr_t a1, intptr_t a2, intptr_t) {
    switch (code) {
        case kNotifyMakeWindowObject:
            return MakeWindowObject(reinterpret_cast<HWND>(a1));
        case kNotifyDetachWindowObject:
            DetachWindowObject(a1);
            return 0;
        case kNotifyDeleteWindowObject:
            DeleteWindowObject(a1);
            return 0;
        case kNotifyComponentDestroyed:
            ForgetLiveComponent(static_cast<uint32_t>(a1), static_cast<uint32_t>(a2));
            return 0;
        case kNotifyFindComponent:
            return FindComponentObject(static_cast<uint32_t>(a1), static_cast<uint32_t>(a2));
        case kNotifyDeliverEvent:
            DeliverEvent(reinterpret_cast<EventRecord*>(a1));
            return 0;
        default:
            return 0;
    }
}
