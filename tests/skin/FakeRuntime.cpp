#include "tests/skin/FakeRuntime.h"

#include <cstdio>
#include <map>
#include <memory>
#include <utility>

namespace fake_runtime {
namespace {

std::vector<std::unique_ptr<Object>> gObjects;
std::map<std::pair<uint32_t, uint32_t>, RuntimeWindowObject> gComponents;
std::vector<std::string> gLog;
std::vector<EventRecord> gEvents;
bool gResultGiven = false;
int32_t gResult = 0;

std::string Line(const char* format, long long a, long long b = 0) {
    char text[96];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

}  // namespace

void Reset() {
    gObjects.clear();
    gComponents.clear();
    gLog.clear();
    gEvents.clear();
    gResultGiven = false;
    gResult = 0;
}

Object* ObjectOf(RuntimeWindowObject object) {
    return reinterpret_cast<Object*>(object);
}

intptr_t Notify(int32_t code, intptr_t a1, intptr_t a2, intptr_t) {
    switch (code) {
        case kNotifyMakeWindowObject: {
            gObjects.push_back(std::make_unique<Object>(
                Object{reinterpret_cast<HWND>(a1), static_cast<int>(gObjects.size() + 1)}));
            gLog.push_back(Line("1007 #%lld", gObjects.back()->number));
            return reinterpret_cast<intptr_t>(gObjects.back().get());
        }
        case kNotifyDetachWindowObject:
        case kNotifyDeleteWindowObject: {
            Object* o = ObjectOf(a1);
            if (!o) {
                gLog.push_back(Line("%lld null", code));
                return 0;
            }
            if (o->deleted) gLog.push_back(Line("FAULT %lld on deleted #%lld", code, o->number));
            if (code == kNotifyDetachWindowObject)
                o->detached = true;
            else
                o->deleted = true;
            gLog.push_back(Line("%lld #%lld", code, o->number));
            return 0;
        }
        case kNotifyComponentDestroyed:
            gLog.push_back(
                Line("2000 %08llX %08llX", static_cast<uint32_t>(a1), static_cast<uint32_t>(a2)));
            return 0;
        case kNotifyFindComponent: {
            auto it = gComponents.find({static_cast<uint32_t>(a1), static_cast<uint32_t>(a2)});
            return it == gComponents.end() ? 0 : it->second;
        }
        case kNotifyDeliverEvent: {
            auto* record = reinterpret_cast<EventRecord*>(a1);
            gEvents.push_back(*record);
            if (gResultGiven) {
                record->resultGiven = 1;
                record->result = gResult;
            }
            return 0;
        }
    }
    gLog.push_back(Line("%lld unknown", code));
    return 0;
}

void RegisterComponent(uint32_t windowId, uint32_t componentId, RuntimeWindowObject object) {
    gComponents[{windowId, componentId}] = object;
}

const std::vector<std::string>& Log() {
    return gLog;
}
void ClearLog() {
    gLog.clear();
}
const std::vector<EventRecord>& Events() {
    return gEvents;
}
void SetHandlerResult(bool given, int32_t value) {
    gResultGiven = given;
    gResult = value;
}

}  // namespace fake_runtime

// The runtime's accessor, answered from the fake objects.
HWND WindowObjectHandle(RuntimeWindowObject object) {
    auto* o = fake_runtime::ObjectOf(object);
    return (o && !o->detached) ? o->window : nullptr;
}
