// A stand-in SkinEngine.dll for SkinUi's tests: it draws nothing, keeps just
// enough state to answer, and writes every call with its arguments to an
// in-memory log that tests read through Recording_Log. Tests raise engine
// events with Recording_Fire. Built with RECORDING_PARTIAL it lacks some
// exports, as an incomplete engine would.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "engine/SkinEngineInterface.h"

#define ENGINE_EXPORT extern "C" __declspec(dllexport)

namespace {

struct Control {
    const char* type;
    HWND wrapper;
    uint32_t windowId;
    uint32_t componentId;
    int32_t eventBase;
    EngineEventCallback callback;
    std::map<int32_t, int64_t> attributes;
    int32_t buttons = 0;
    int32_t items = 0;
};

struct Bin {
    int32_t id;
};

std::string gLog;
[[maybe_unused]] int32_t gNextBin = 1;
int32_t gNextImage = 0x501;
int32_t gCreationEvent = 0;
// The 0x2803 answer: header words then the data bytes.
struct {
    EngineBlockAnswer header;
    uint8_t data[64];
} gBlock{};
bool gBlockNull = false;

void Log(const char* format, ...) {
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    gLog += line;
    gLog += '\n';
}

Control* AsControl(EngineControl c) {
    return reinterpret_cast<Control*>(c);
}
std::string NameOf(EngineControl c) {
    if (!c) return "null";
    char name[16];
    std::snprintf(name, sizeof name, "%08X", static_cast<unsigned>(AsControl(c)->componentId));
    return name;
}

EngineControl Create(const char* type, intptr_t reserved, HWND parent, int32_t left, int32_t top,
                     int32_t width, int32_t height, EngineEventCallback callback,
                     const EngineCreationContext* context, const intptr_t* zeros) {
    bool allZero = true;
    for (int i = 0; i < 17; ++i) allZero = allZero && zeros[i] == 0;
    auto* control = new Control{type,
                                context->wrapper,
                                context->windowId,
                                context->componentId,
                                context->eventBase,
                                callback,
                                {}};
    bool wrapperInParent = GetParent(context->wrapper) == parent;
    Log("CreateControl_%s reserved=%lld %d,%d,%d,%d ctx=%08X/%08X/%d wrapper-in-parent=%d "
        "attr=%llx "
        "zeros=%d",
        type, static_cast<long long>(reserved), left, top, width, height,
        static_cast<unsigned>(context->componentId), static_cast<unsigned>(context->windowId),
        context->eventBase, wrapperInParent ? 1 : 0,
        static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(context->attributes)),
        allZero ? 1 : 0);
    SetPropA(context->wrapper, kEngineControlProperty, reinterpret_cast<HANDLE>(control));
    if (gCreationEvent)
        callback(reinterpret_cast<EngineControl>(control), gCreationEvent, 1, 2, 3, 4);
    return reinterpret_cast<EngineControl>(control);
}

}  // namespace

#define DEFINE_CREATE(TYPE)                                                                 \
    ENGINE_EXPORT EngineControl WINAPI CreateControl_##TYPE(SKIN_ENGINE_CREATE_ARGS) {      \
        const intptr_t zeros[17] = {z1,  z2,  z3,  z4,  z5,  z6,  z7,  z8, z9,              \
                                    z10, z11, z12, z13, z14, z15, z16, z17};                \
        return Create(#TYPE, reserved, parent, left, top, width, height, callback, context, \
                      zeros);                                                               \
    }
DEFINE_CREATE(WindowEx)
DEFINE_CREATE(PictureBoxEx)
DEFINE_CREATE(ToolbarEx)
DEFINE_CREATE(ListboxEx)
DEFINE_CREATE(IcoListboxEx)

ENGINE_EXPORT void WINAPI ControPonintSizeSynchronise(HWND wrapper, int32_t mode) {
    auto control = reinterpret_cast<EngineControl>(GetPropA(wrapper, kEngineControlProperty));
    Log("ControPonintSizeSynchronise %s mode=%d", NameOf(control).c_str(), mode);
}

ENGINE_EXPORT void WINAPI ControlDestroy(EngineControl control) {
    Control* c = AsControl(control);
    Log("ControlDestroy %s tab-destroy=%d", NameOf(control).c_str(),
        static_cast<int>(reinterpret_cast<intptr_t>(GetPropA(c->wrapper, "Tab_WM_DESTROY"))));
    delete c;
}

ENGINE_EXPORT int32_t WINAPI LoadImageEx(const void* bytes, int32_t v1, int32_t v2, int32_t v3,
                                         int32_t v4, int32_t v5, int32_t v6, int32_t v7) {
    int32_t length = bytes ? static_cast<const int32_t*>(bytes)[1] : -1;
    Log("LoadImageEx length=%d values=%d,%d,%d,%d,%d,%d,%d", length, v1, v2, v3, v4, v5, v6, v7);
    return gNextImage++;
}

ENGINE_EXPORT void WINAPI DestroyImageEx(int32_t image) {
    Log("DestroyImageEx %d", image);
}

ENGINE_EXPORT int32_t WINAPI GetButtonCount_ToolbarEx(EngineControl control) {
    Log("GetButtonCount_ToolbarEx %s", NameOf(control).c_str());
    return AsControl(control)->buttons;
}

ENGINE_EXPORT void WINAPI SetButtonSelected_ToolbarEx(EngineControl control, int32_t index,
                                                      int32_t selected) {
    Log("SetButtonSelected_ToolbarEx %s index=%d selected=%d", NameOf(control).c_str(), index,
        selected);
}

ENGINE_EXPORT int32_t WINAPI InsertItem_IcoListboxEx(EngineControl control, int32_t position,
                                                     int32_t v1, int32_t v2, int32_t image,
                                                     void* data) {
    auto* bin = static_cast<Bin*>(data);
    Log("InsertItem_IcoListboxEx %s position=%d values=%d,%d image=%d bin=%d",
        NameOf(control).c_str(), position, v1, v2, image, bin ? bin->id : 0);
    delete bin;
    return AsControl(control)->items++;
}

#ifndef RECORDING_PARTIAL
ENGINE_EXPORT intptr_t WINAPI ControlSendMessage(EngineControl control, int32_t message,
                                                 int32_t index, void* value, intptr_t zero1,
                                                 intptr_t zero2) {
    Control* c = AsControl(control);
    std::string name = NameOf(control);
    switch (message) {
        case kEngineSetAttribute: {
            int64_t v;
            std::memcpy(&v, value, sizeof v);
            c->attributes[index] = v;
            Log("ControlSendMessage %s set index=%d value=%lld zeros=%d", name.c_str(), index,
                static_cast<long long>(v), zero1 == 0 && zero2 == 0);
            return 41;
        }
        case kEngineGetAttribute: {
            int64_t v = c->attributes.count(index) ? c->attributes[index] : 0;
            std::memcpy(value, &v, sizeof v);
            Log("ControlSendMessage %s get index=%d", name.c_str(), index);
            return 42;
        }
        case kEngineGetBlock:
            Log("ControlSendMessage %s block index=%d", name.c_str(), index);
            return gBlockNull ? 0 : reinterpret_cast<intptr_t>(&gBlock);
    }
    Log("ControlSendMessage %s message=%d", name.c_str(), message);
    return 0;
}

ENGINE_EXPORT int32_t WINAPI ControlUpdateCache() {
    Log("ControlUpdateCache");
    return 7;
}

ENGINE_EXPORT void* WINAPI CreateBinEx(const char* title, int32_t marker, int32_t v1, int32_t v2,
                                       int32_t v3, int32_t v4, int32_t v5, int32_t v6) {
    Log("CreateBinEx title=%s marker=%d values=%d,%d,%d,%d,%d,%d", title ? title : "(null)", marker,
        v1, v2, v3, v4, v5, v6);
    return new Bin{gNextBin++};
}

ENGINE_EXPORT void WINAPI InsertButton_ToolbarEx(EngineControl control, int32_t position,
                                                 int32_t v1, int32_t v2, void* data) {
    auto* bin = static_cast<Bin*>(data);
    Log("InsertButton_ToolbarEx %s position=%d values=%d,%d bin=%d", NameOf(control).c_str(),
        position, v1, v2, bin ? bin->id : 0);
    delete bin;
    AsControl(control)->buttons++;
}

ENGINE_EXPORT void WINAPI DeleteItem_IcoListboxEx(EngineControl control, int32_t index,
                                                  int32_t value) {
    Log("DeleteItem_IcoListboxEx %s index=%d value=%d", NameOf(control).c_str(), index, value);
    if (index == -1) AsControl(control)->items = 0;
}
#endif

// --- For the tests ---------------------------------------------------------
ENGINE_EXPORT const char* Recording_Log() {
    return gLog.c_str();
}
ENGINE_EXPORT void Recording_Clear() {
    gLog.clear();
}
ENGINE_EXPORT int32_t Recording_Fire(EngineControl control, int32_t code, int32_t a1, int32_t a2,
                                     int32_t a3, int32_t a4) {
    return AsControl(control)->callback(control, code, a1, a2, a3, a4);
}
// An engine event raised from inside every creation export (0: none).
ENGINE_EXPORT void Recording_SetCreationEvent(int32_t code) {
    gCreationEvent = code;
}
// The 0x2803 answer: page word, data length (data bytes 0xA0, 0xA1, ...),
// or no answer at all.
ENGINE_EXPORT void Recording_SetBlockAnswer(int32_t page, int32_t length, int32_t none) {
    gBlock.header.pageIndexPlusOne = page;
    gBlock.header.length = length;
    for (size_t i = 0; i < sizeof gBlock.data; ++i) gBlock.data[i] = static_cast<uint8_t>(0xA0 + i);
    gBlockNull = none != 0;
}
