// The category toolbar behaves like a group of radio buttons; the pictures of
// the items are released when the panel goes away.
#include "app/launch/CategoryToolbar.h"

#include "app/common/Globals.h"
#include "app/common/ProgramWindows.h"
#include "app/launch/ShowCategory.h"
#include "runtime/library/Commands.h"
#include "ui/skin/SkinCommands.h"

HandlerResult OnToolbarButtonClicked(const int32_t* args, int32_t argCount) {
    if (argCount >= 1) ChooseCategory(args[0]);
    return NoResult();
}

void ChooseCategory(int32_t chosen) {
    // During the scan a button can be clicked before its category has been read.
    if (chosen < 0 || chosen >= ArrayCount(CategoryList)) return;
    SelectCategory(chosen);
    const ArgumentRecord toolbar = ToolbarRef();
    int32_t buttons =
        CallLibrary(kSkinLibrary, SkinCommand::GetButtonCount_ToolbarEx, toolbar).AsInt();
    for (int32_t i = 0; i < buttons; ++i) {
        if (i != chosen)
            CallLibrary(kSkinLibrary, SkinCommand::SetButtonSelected_ToolbarEx, toolbar, ArgInt(i),
                        ArgBool(false));
    }
}

void ChooseNeighbourCategory(int32_t step) {
    const int32_t count = ArrayCount(CategoryList);
    if (count <= 0) return;
    const int32_t from = CurrentCategory >= 0 && CurrentCategory < count ? CurrentCategory : 0;
    ChooseCategory(((from + step) % count + count) % count);
}

HandlerResult OnToolbarEvent8(const int32_t*, int32_t) {
    return NoResult();
}

HandlerResult OnPanelDestroying(const int32_t*, int32_t) {
    int32_t count = ArrayCount(ImageRegistry);
    for (int32_t i = 0; i < count; ++i)
        CallLibrary(kSkinLibrary, SkinCommand::DestroyImageEx,
                    ArgInt(ArrayData<int32_t>(ImageRegistry)[i]));
    return NoResult();
}
