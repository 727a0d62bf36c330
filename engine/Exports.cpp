// The engine's exported entry points. Every one checks its control, image
// and data handles, and none lets an exception cross into the program.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "engine/BinBlock.h"
#include "engine/Control.h"
#include "engine/IcoListboxControl.h"
#include "engine/ListboxControl.h"
#include "engine/PictureBoxControl.h"
#include "engine/ReadableMemory.h"
#include "engine/ToolbarControl.h"
#include "engine/WindowExControl.h"
#include "engine/SkinEngineInterface.h"

#define ENGINE_EXPORT extern "C" __declspec(dllexport)

namespace {
// Stored attribute blocks are a few kilobytes; the cap only bounds how far
// a damaged length can make the parser look.
constexpr size_t kMaxAttributeBlock = size_t(4) << 20;
constexpr size_t kMaxImageBytes = size_t(64) << 20;
constexpr size_t kMaxTitleBytes = 4096;

template <typename Result, typename Body>
Result Guarded(Result fallback, Body body) {
    try {
        return body();
    } catch (...) {
        return fallback;
    }
}

template <typename T>
EngineControl Create(ControlKind kind, EngineEventCallback callback,
                     const EngineCreationContext* context) {
    return Guarded<EngineControl>(0, [&]() -> EngineControl {
        if (!context || !context->wrapper || !IsWindow(context->wrapper)) return 0;
        const uint8_t* block = context->attributes;
        const size_t size = block ? ReadableExtent(block, kMaxAttributeBlock) : 0;
        return RegisterControl(
            std::make_unique<T>(*context, callback, ParseAttributeBlock(kind, block, size)));
    });
}

// A picture the program hands over is shown in icon lists: it is made for
// the sizes the lists draw at. While there is no list, every frame is kept.
PictureUse IconListUse() {
    PictureUse use;
    ForEachControl([&use](Control& control) {
        if (control.Kind() != ControlKind::IcoListbox) return;
        const int side = static_cast<IcoListboxControl&>(control).IconSide();
        if (std::find(use.sides.begin(), use.sides.end(), side) == use.sides.end())
            use.sides.push_back(side);
    });
    std::sort(use.sides.begin(), use.sides.end());
    return use;
}

std::wstring TitleOf(void* data) {
    std::unique_ptr<BinBlock> bin = TakeBin(data);
    return bin ? bin->title : std::wstring();
}
}  // namespace

// The creation arguments after the context carry nothing the engine uses.
#define IGNORE_CREATE_EXTRAS                                                                       \
    (void)reserved, (void)parent, (void)left, (void)top, (void)width, (void)height, (void)z1,      \
        (void)z2, (void)z3, (void)z4, (void)z5, (void)z6, (void)z7, (void)z8, (void)z9, (void)z10, \
        (void)z11, (void)z12, (void)z13, (void)z14, (void)z15, (void)z16, (void)z17

ENGINE_EXPORT EngineControl WINAPI CreateControl_WindowEx(SKIN_ENGINE_CREATE_ARGS) {
    IGNORE_CREATE_EXTRAS;
    return Create<WindowExControl>(ControlKind::WindowEx, callback, context);
}

ENGINE_EXPORT EngineControl WINAPI CreateControl_PictureBoxEx(SKIN_ENGINE_CREATE_ARGS) {
    IGNORE_CREATE_EXTRAS;
    return Create<PictureBoxControl>(ControlKind::PictureBox, callback, context);
}

ENGINE_EXPORT EngineControl WINAPI CreateControl_ToolbarEx(SKIN_ENGINE_CREATE_ARGS) {
    IGNORE_CREATE_EXTRAS;
    return Create<ToolbarControl>(ControlKind::Toolbar, callback, context);
}

ENGINE_EXPORT EngineControl WINAPI CreateControl_ListboxEx(SKIN_ENGINE_CREATE_ARGS) {
    IGNORE_CREATE_EXTRAS;
    return Create<ListboxControl>(ControlKind::Listbox, callback, context);
}

ENGINE_EXPORT EngineControl WINAPI CreateControl_IcoListboxEx(SKIN_ENGINE_CREATE_ARGS) {
    IGNORE_CREATE_EXTRAS;
    return Create<IcoListboxControl>(ControlKind::IcoListbox, callback, context);
}

ENGINE_EXPORT intptr_t WINAPI ControlSendMessage(EngineControl control, int32_t message,
                                                 int32_t index, void* value, intptr_t, intptr_t) {
    return Guarded<intptr_t>(0, [&]() -> intptr_t {
        Control* target = FindControl(control);
        if (!target) return 0;
        switch (message) {
            case kEngineSetAttribute: {
                if (!value) return 0;
                int32_t word;
                std::memcpy(&word, value, sizeof word);
                return target->SetAttribute(index, word) ? 1 : 0;
            }
            case kEngineGetAttribute: {
                if (!value) return 0;
                int64_t word = 0;
                if (!target->GetAttribute(index, &word)) return 0;
                std::memcpy(value, &word, sizeof word);
                return 1;
            }
            case kEngineGetBlock:
                return index == -1 ? reinterpret_cast<intptr_t>(target->BlockAnswer()) : 0;
            default:
                return 0;
        }
    });
}

ENGINE_EXPORT void WINAPI ControPonintSizeSynchronise(HWND wrapper, int32_t mode) {
    Guarded<int>(0, [&] {
        if (Control* control = FindControlOfWrapper(wrapper)) control->OnWrapperChanged(mode == 1);
        return 0;
    });
}

ENGINE_EXPORT void WINAPI ControlDestroy(EngineControl control) {
    Guarded<int>(0, [&] {
        DestroyControl(control);
        return 0;
    });
}

ENGINE_EXPORT int32_t WINAPI ControlUpdateCache() {
    return Guarded<int32_t>(0, [] {
        ReleaseFonts();
        ForEachControl([](Control& control) { control.RefreshCaches(); });
        return int32_t(1);
    });
}

ENGINE_EXPORT int32_t WINAPI LoadImageEx(const void* bytes, int32_t, int32_t, int32_t, int32_t,
                                         int32_t, int32_t, int32_t) {
    return Guarded<int32_t>(0, [&]() -> int32_t {
        const uint8_t* block = static_cast<const uint8_t*>(bytes);
        return RegisterPicture(PictureFromByteSet(
            block, block ? ReadableExtent(block, kMaxImageBytes + 8) : 0, IconListUse()));
    });
}

ENGINE_EXPORT void WINAPI DestroyImageEx(int32_t image) {
    Guarded<int>(0, [&] { return int(ReleasePicture(image)); });
}

ENGINE_EXPORT void* WINAPI CreateBinEx(const char* title, int32_t marker, int32_t v1, int32_t v2,
                                       int32_t v3, int32_t v4, int32_t v5, int32_t v6) {
    return Guarded<void*>(nullptr, [&]() -> void* {
        std::wstring text;
        if (title) {
            const size_t readable = ReadableExtent(title, kMaxTitleBytes);
            size_t length = 0;
            while (length < readable && title[length] != '\0') ++length;
            text = WideFromAnsi(title, length);
        }
        const int32_t values[6] = {v1, v2, v3, v4, v5, v6};
        return CreateBin(std::move(text), marker, values);
    });
}

ENGINE_EXPORT void WINAPI InsertButton_ToolbarEx(EngineControl control, int32_t position,
                                                 int32_t v1, int32_t v2, void* data) {
    Guarded<int>(0, [&] {
        std::wstring title = TitleOf(data);
        if (auto* toolbar = FindControlOf<ToolbarControl>(control, ControlKind::Toolbar))
            toolbar->InsertButton(position, v1, v2, std::move(title));
        return 0;
    });
}

ENGINE_EXPORT int32_t WINAPI GetButtonCount_ToolbarEx(EngineControl control) {
    return Guarded<int32_t>(0, [&]() -> int32_t {
        auto* toolbar = FindControlOf<ToolbarControl>(control, ControlKind::Toolbar);
        return toolbar ? toolbar->Count() : 0;
    });
}

ENGINE_EXPORT void WINAPI SetButtonSelected_ToolbarEx(EngineControl control, int32_t index,
                                                      int32_t selected) {
    Guarded<int>(0, [&] {
        if (auto* toolbar = FindControlOf<ToolbarControl>(control, ControlKind::Toolbar))
            toolbar->SetSelected(index, selected != 0);
        return 0;
    });
}

ENGINE_EXPORT void WINAPI DeleteButton_ToolbarEx(EngineControl control, int32_t index) {
    Guarded<int>(0, [&] {
        if (auto* toolbar = FindControlOf<ToolbarControl>(control, ControlKind::Toolbar))
            toolbar->DeleteButton(index);
        return 0;
    });
}

ENGINE_EXPORT int32_t WINAPI InsertItem_IcoListboxEx(EngineControl control, int32_t position,
                                                     int32_t v1, int32_t v2, int32_t image,
                                                     void* data) {
    return Guarded<int32_t>(-1, [&]() -> int32_t {
        std::wstring title = TitleOf(data);
        auto* list = FindControlOf<IcoListboxControl>(control, ControlKind::IcoListbox);
        return list ? list->InsertItem(position, v1, v2, FindPicture(image), std::move(title)) : -1;
    });
}

ENGINE_EXPORT void WINAPI DeleteItem_IcoListboxEx(EngineControl control, int32_t index, int32_t) {
    Guarded<int>(0, [&] {
        if (auto* list = FindControlOf<IcoListboxControl>(control, ControlKind::IcoListbox))
            list->DeleteItem(index);
        return 0;
    });
}
