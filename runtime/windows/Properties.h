// The property door: the program reads and writes window and component
// properties by WindowId, ComponentId and index. 0 left, 1 top, 2 width,
// 3 height, 4 tag (text), 5 shown, 6 disabled, 7 mouse cursor (byte set);
// 8 and up belong to the element type.
#pragma once
#include <cstdint>

enum PropertyIndex : int32_t {
    kPropLeft = 0,
    kPropTop = 1,
    kPropWidth = 2,
    kPropHeight = 3,
    kPropTag = 4,
    kPropShown = 5,
    kPropDisabled = 6,
    kPropCursor = 7,
};

// Texts and byte sets come back as new blocks (pointer in the value) owned by
// the caller. `element` selects an element of an array property, -1 for none.
int64_t ReadProperty(uint32_t windowId, uint32_t componentId, int32_t index, int32_t element = -1);
// Texts and byte sets are copied; the caller keeps its value.
void WriteProperty(uint32_t windowId, uint32_t componentId, int32_t index, int32_t element,
                   int64_t value);

inline int32_t ReadIntProperty(uint32_t windowId, uint32_t componentId, int32_t index) {
    return static_cast<int32_t>(ReadProperty(windowId, componentId, index, -1));
}
inline void WriteIntProperty(uint32_t windowId, uint32_t componentId, int32_t index, int32_t value) {
    WriteProperty(windowId, componentId, index, -1, value);
}
