// The component-type provider interface: how a support library (SkinUi)
// supplies element types that the runtime creates while loading a window.
// The runtime asks for operations by number: 1 create, 4 a type-specific
// property was written, 5 hand over the whole attribute block, 6 read a
// type-specific property.
#pragma once
#include <windows.h>
#include <cstdint>

// A runtime window object: the runtime's wrapper for one native window
// (notifications 1007/1008/1009). Opaque to libraries.
using RuntimeWindowObject = intptr_t;

// Sent to each component when its window has been loaded completely, after
// the runtime has shown or hidden every component by its shown flag.
constexpr UINT kMsgComponentsCreated = 0x8076;

struct ComponentCreateArgs {
    const uint8_t* attributes;  // the stored attribute block (may be null)
    uint32_t attributeSize;
    DWORD style;  // the runtime's style; the type adds WS_CHILD
    HWND parent;
    UINT controlId;  // child identifier: 100, 110, 120, ...
    HMENU menu;
    int32_t left, top, width, height;
    uint32_t windowId;
    uint32_t componentId;
    HWND designWindow;  // always null at run time
    BOOL designMode;    // always FALSE at run time
};

enum ComponentOperation : int32_t {
    kOpCreate = 1,
    kOpPropertyWritten = 4,
    kOpAttributeBlock = 5,
    kOpReadProperty = 6,
};

struct ComponentType {
    uint32_t typeId;  // library number << 16 | type number
    const char* name;
    int32_t propertyCount;
    bool raisesEvents;
    // 1: creates the native window; result the runtime window object of it.
    RuntimeWindowObject (*create)(const ComponentCreateArgs& args);
    // 4: the value points to 8 bytes; index is property index - 8.
    int32_t (*propertyWritten)(RuntimeWindowObject object, int32_t index, const int64_t* value);
    // 5: a movable global block with the attribute block, or null.
    HGLOBAL (*attributeBlock)(RuntimeWindowObject object);
    // 6: fills 8 bytes at value; index is property index - 8.
    int32_t (*readProperty)(RuntimeWindowObject object, int32_t index, int64_t* value);
};

// The native window handle of a runtime window object (null when detached).
HWND WindowObjectHandle(RuntimeWindowObject object);
