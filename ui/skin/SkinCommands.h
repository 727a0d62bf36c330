// The skin library's commands, called by the program through
// CallLibrary(kSkinLibrary, SkinCommand::X, ...). Each forwards to the engine
// export of the same name.
#pragma once
#include <cstdint>

#include "runtime/library/CommandFn.h"

enum class SkinCommand : int32_t {
    LoadImageEx,
    DestroyImageEx,
    ControlUpdateCache,
    InsertButton_ToolbarEx,
    GetButtonCount_ToolbarEx,
    SetButtonSelected_ToolbarEx,
    InsertItem_IcoListboxEx,
    DeleteItem_IcoListboxEx,
    // Added after the first eight, so their numbers stay: the toolbar is
    // emptied when the folder's categories are read again.
    DeleteButton_ToolbarEx,
    Count
};

// The table of the commands, in SkinCommand order.
extern const CommandFn kSkinCommands[static_cast<int>(SkinCommand::Count)];
