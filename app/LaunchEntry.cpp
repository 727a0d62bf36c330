// An item activated in the icon list: the launch feature opens it, then the
// dock slides the panel out.
#include "app/LaunchEntry.h"

#include "app/common/ProgramWindows.h"
#include "app/dock/PanelSlides.h"
#include "app/launch/ItemActions.h"

HandlerResult LaunchEntry(const int32_t* args, int32_t argCount) {
    if (argCount < 1) return NoResult();
    // The panel owns what the shell shows when the item cannot be opened.
    if (LaunchShownItem(args[0], WindowHandleOf(PanelWindowRef()))) SlidePanelOut();
    return NoResult();
}
