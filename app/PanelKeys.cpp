#include "app/PanelKeys.h"

#include <windows.h>

#include "app/common/Globals.h"
#include "app/dock/PanelFocus.h"
#include "app/dock/PanelSlides.h"
#include "app/launch/CategoryToolbar.h"

namespace {

constexpr int32_t kKeyShift = 2;
constexpr int32_t kKeyAlt = 4;

}  // namespace

HandlerResult OnIconListKey(const int32_t* args, int32_t argCount) {
    if (argCount < 2 || (args[1] & kKeyAlt)) return NoResult();
    switch (args[0]) {
        case VK_ESCAPE:
            if (PanelState == kPanelShown) SlidePanelOut();
            ReturnPanelFocus();
            return Result(0);
        case VK_TAB:
            ChooseNeighbourCategory((args[1] & kKeyShift) ? -1 : 1);
            return Result(0);
        default:
            return NoResult();
    }
}
