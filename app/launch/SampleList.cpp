// The panel's sample list box keeps its stored items; the program only keeps
// it without a selection.
#include "app/launch/SampleList.h"

#include "runtime/windows/Properties.h"
#include "ui/description/UiIds.h"

namespace {
// ListboxEx property 16 is the selected item, -1 for none.
constexpr int32_t kListSelectedItem = 16;
constexpr int32_t kNoItem = -1;
}  // namespace

HandlerResult OnSampleListEvent(const int32_t*, int32_t) {
    WriteIntProperty(kDockPanelWindow, kPanelSampleList, kListSelectedItem, kNoItem);
    return NoResult();
}
