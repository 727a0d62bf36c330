// Filling the panel's icon list with the items of one category, and the
// toolbar button that marks it.
#include "app/launch/ShowCategory.h"

#include "app/common/FileTitle.h"
#include "app/common/Globals.h"
#include "app/common/ProgramWindows.h"
#include "runtime/library/Commands.h"
#include "runtime/windows/Properties.h"
#include "ui/skin/SkinCommands.h"

namespace {

constexpr int32_t kIconListCurrentItem = 16;
constexpr int32_t kAllItems = -1;
constexpr int32_t kAtEnd = -1;

}  // namespace

void ShowCategory(int32_t index) {
    CurrentCategory = index;
    CallLibrary(kSkinLibrary, SkinCommand::DeleteItem_IcoListboxEx, IconListRef(),
                ArgInt(kAllItems), ArgInt(0));
    // An index naming no category (an empty quick-launch folder, or a toolbar
    // click that raced the scan) leaves the list empty.
    if (index < 0 || index >= ArrayCount(CategoryList)) return;

    const LaunchCategory& category = ArrayData<LaunchCategory>(CategoryList)[index];
    const int32_t count = ArrayCount(category.paths);
    const int32_t imageCount = ArrayCount(category.images);
    for (int32_t i = 0; i < count; ++i) {
        const int32_t image = i < imageCount ? ArrayData<int32_t>(category.images)[i] : 0;
        OwnedText title(FileTitle(ArrayData<char*>(category.paths)[i], false));
        CallLibrary(kSkinLibrary, SkinCommand::InsertItem_IcoListboxEx, IconListRef(),
                    ArgInt(kAtEnd), ArgInt(1), ArgOmitted(), ArgInt(image), ArgText(title.Get()),
                    ArgOmitted());
    }
    WriteIntProperty(kDockPanelWindow, kPanelIconList, kIconListCurrentItem, -1);
}

int32_t SelectCategory(int32_t index) {
    CallLibrary(kSkinLibrary, SkinCommand::SetButtonSelected_ToolbarEx, ToolbarRef(), ArgInt(index),
                ArgBool(true));
    ShowCategory(index);
    return 0;
}
