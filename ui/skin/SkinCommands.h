// The skin library's eight commands, called by the program through
// CallLibrary(kSkinLibrary, SkinCommand::X, ...). Each forwards to the engine
// export of the same name.
#pragma once
#include <cstdint>

enum class SkinCommand : int32_t {
    LoadImageEx,
    DestroyImageEx,
    ControlUpdateCache,
    InsertButton_ToolbarEx,
    GetButtonCount_ToolbarEx,
    SetButtonSelected_ToolbarEx,
    InsertItem_IcoListboxEx,
    DeleteItem_IcoListboxEx,
    Count
};

struct SupportLibrary;
// The skin library's entry for the runtime's support-library table.
const SupportLibrary& SkinUiLibrary();
