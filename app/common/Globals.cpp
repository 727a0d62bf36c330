// The program's six globals and the two lists' creation and release.
#include "app/common/Globals.h"

#include "runtime/values/Records.h"

ValueArray ImageRegistry = nullptr;
ValueArray CategoryList = nullptr;
int32_t SavedScreenWidth = 0;
LONG_PTR PanelPreviousWndProc = 0;
int32_t CurrentCategory = 0;
volatile LONG PanelState = kPanelHidden;

void CreateGlobalLists() {
    ImageRegistry = NewArray(sizeof(int32_t), 0);
    CategoryList = NewArray(sizeof(LaunchCategory), 0);
}

void FreeGlobalLists() {
    // The image handles belong to the skin engine; only the block is ours.
    FreeBlock(ImageRegistry);
    ImageRegistry = nullptr;

    FreeCategoryList(CategoryList);
    CategoryList = nullptr;
}

void FreeCategoryList(ValueArray categories) {
    const int32_t count = ArrayCount(categories);
    LaunchCategory* records = count > 0 ? ArrayData<LaunchCategory>(categories) : nullptr;
    for (int32_t i = 0; i < count; ++i) {
        FreeBlock(records[i].images);
        FreeTextArray(records[i].paths);
        FreeArray(Tag::kByteSet, records[i].ownNames);
    }
    FreeBlock(categories);
}
