// The interface that the skin engine SkinEngine.dll publishes and SkinUi
// (inside the program) uses: the exports SkinUi resolves by name, their
// argument lists, and the values both sides agree on. Every export is __stdcall on i686 and
// exported under its plain name. Control handles and callbacks are
// pointer-sized; image handles are 32-bit values the program can store.
#pragma once
#include <windows.h>
#include <cstdint>

extern "C" {

// Handle of an engine control; the engine stores it on the wrapper window as
// the window property "Tab_Control".
using EngineControl = intptr_t;

// Handed to a creation export (five fields).
struct EngineCreationContext {
    HWND wrapper;
    uint32_t componentId;
    uint32_t windowId;
    int32_t eventBase;
    const uint8_t* attributes;  // the stored attribute block (version 12, page word, values)
};

// Called by the engine with (control, engine event code, four arguments);
// the engine uses the returned value (the handler's result, or 0). The
// control is the same value the engine stores as "Tab_Control": SkinUi finds
// the event's source by it (also for events raised during the creation
// export, once "Tab_Control" is set).
using EngineEventCallback = int32_t(WINAPI*)(EngineControl control, int32_t code, int32_t a1,
                                             int32_t a2, int32_t a3, int32_t a4);

// Creation: 0, parent window, left, top, width, height, callback, context,
// then 17 zero arguments.
#define SKIN_ENGINE_CREATE_ARGS                                                                    \
    intptr_t reserved, HWND parent, int32_t left, int32_t top, int32_t width, int32_t height,      \
        EngineEventCallback callback, const EngineCreationContext *context, intptr_t z1,           \
        intptr_t z2, intptr_t z3, intptr_t z4, intptr_t z5, intptr_t z6, intptr_t z7, intptr_t z8, \
        intptr_t z9, intptr_t z10, intptr_t z11, intptr_t z12, intptr_t z13, intptr_t z14,         \
        intptr_t z15, intptr_t z16, intptr_t z17
using CreateControlFn = EngineControl(WINAPI*)(SKIN_ENGINE_CREATE_ARGS);

// Attribute messages of ControlSendMessage.
constexpr int32_t kEngineSetAttribute = 0x2801;  // store attribute `index` from *value
constexpr int32_t kEngineGetAttribute = 0x2802;  // read attribute `index` into *value
constexpr int32_t kEngineGetBlock = 0x2803;      // index -1: pointer to the whole block
// Engine control kind reported in the block answer of a control on a page.
constexpr int32_t kEngineKindPageContainer = 1300;

// ControlSendMessage(control, message, index, value, 0, 0). value points to
// 8 bytes for 0x2801/0x2802. For 0x2803 the result is a pointer (cast) to an
// engine-owned EngineBlockAnswer that stays valid until the next call.
using ControlSendMessageFn = intptr_t(WINAPI*)(EngineControl control, int32_t message,
                                               int32_t index, void* value, intptr_t zero1,
                                               intptr_t zero2);
struct EngineBlockAnswer {
    int32_t pageIndexPlusOne;  // 0 when the control is on no page
    int32_t length;            // bytes of data that follow (the attribute values)
    // uint8_t data[length];
};

using ControPonintSizeSynchroniseFn = void(WINAPI*)(HWND wrapper,
                                                    int32_t mode);  // 0 moved, 1 resized
using ControlDestroyFn = void(WINAPI*)(EngineControl control);
using ControlUpdateCacheFn = int32_t(WINAPI*)();
// bytes: a byte-set block (1, length, bytes) or null for the empty byte set.
using LoadImageExFn = int32_t(WINAPI*)(const void* bytes, int32_t v1, int32_t v2, int32_t v3,
                                       int32_t v4, int32_t v5, int32_t v6, int32_t v7);
using DestroyImageExFn = void(WINAPI*)(int32_t image);
// CreateBinEx takes a fixed count: the title, the marker -4, then six values
// (the icon list passes its one value and five zeros). The block belongs to
// the engine; the insert export that receives it takes it over.
constexpr int32_t kBinTextMarker = -4;
using CreateBinExFn = void*(WINAPI*)(const char* title, int32_t marker, int32_t v1, int32_t v2,
                                     int32_t v3, int32_t v4, int32_t v5, int32_t v6);
// position: 1-based place of the new button; a position beyond the end appends.
using InsertButton_ToolbarExFn = void(WINAPI*)(EngineControl control, int32_t position, int32_t v1,
                                               int32_t v2, void* data);
using GetButtonCount_ToolbarExFn = int32_t(WINAPI*)(EngineControl control);
using SetButtonSelected_ToolbarExFn = void(WINAPI*)(EngineControl control, int32_t index,
                                                    int32_t selected);
// index: 0-based; -1 removes every button.
using DeleteButton_ToolbarExFn = void(WINAPI*)(EngineControl control, int32_t index);
// position -1 appends; result the new item's 0-based index, or -1.
using InsertItem_IcoListboxExFn = int32_t(WINAPI*)(EngineControl control, int32_t position,
                                                   int32_t v1, int32_t v2, int32_t image,
                                                   void* data);
// index -1 removes every item.
using DeleteItem_IcoListboxExFn = void(WINAPI*)(EngineControl control, int32_t index,
                                                int32_t value);

}  // extern "C"

// The window property on a control's wrapper window that holds its engine
// control (EngineControl).
constexpr char kEngineControlProperty[] = "Tab_Control";

// Sent by the program's runtime to every component once its window is built,
// after the runtime has shown or hidden each component by a flag of its own.
// A skinned control's visibility is its visible attribute, so the engine
// applies that again when this arrives.
constexpr UINT kMsgWindowBuilt = 0x8076;

// Engine event codes (SkinUi adds the type's event base and subtracts 660).
namespace EngineCode {
constexpr int32_t kItemActivated = 650;  // toolbar button clicked / icon item activated; a1 = index
constexpr int32_t kSelectionChanged = 656;
constexpr int32_t kContextMenu = 665;  // icon list right click
constexpr int32_t kHover = 669;        // WindowEx: a1 = 1 entered, 0 left
constexpr int32_t kIgnoredFrom = 700;  // codes from here on raise nothing
}  // namespace EngineCode
