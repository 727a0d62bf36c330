// Handlers of the dock button window's skin: refreshing the engine's caches
// when the button first becomes active, and the hover highlight of its skin
// root.
#include "app/dock/DockButton.h"

#include "runtime/library/Commands.h"
#include "runtime/windows/Properties.h"
#include "ui/description/UiIds.h"
#include "ui/skin/SkinCommands.h"

namespace {
// WindowEx property 10 is the skin root's opacity (0-255).
constexpr int32_t kSkinRootOpacity = 10;
constexpr int32_t kHoveredOpacity = 30;
constexpr int32_t kRestingOpacity = 1;
}  // namespace

HandlerResult OnDockFirstActivation(const int32_t*, int32_t) {
    CallLibrary(kSkinLibrary, SkinCommand::ControlUpdateCache);
    return NoResult();
}

// The first argument says whether the pointer is over the button.
HandlerResult OnDockHover(const int32_t* args, int32_t argCount) {
    bool hovered = argCount > 0 && args[0] != 0;
    WriteIntProperty(kDockWindow, kDockSkinRoot, kSkinRootOpacity,
                     hovered ? kHoveredOpacity : kRestingOpacity);
    return NoResult();
}
