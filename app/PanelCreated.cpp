// DockPanelWindow's creation joins the two features: register for automatic
// start, give the panel its backdrop and content (the scan, with the folder
// watched from then on), lay it out, then show category 0. Its destruction
// ends the watch and releases the pictures.
#include "app/PanelCreated.h"

#include "app/LiveFolder.h"
#include "app/common/CommandResults.h"
#include "app/common/ProgramWindows.h"
#include "app/dock/BlurBehind.h"
#include "app/dock/PanelFocus.h"
#include "app/dock/PanelLayout.h"
#include "app/launch/CategoryToolbar.h"
#include "app/launch/ShowCategory.h"
#include "runtime/library/Commands.h"

namespace {

constexpr int32_t kAutoStartRegistry = 0;

// Auto-start under the executable's file name with its full path, rewritten
// at every start so that a moved program is still found.
void RegisterAutoStart() {
    OwnedText name(TakeText(CallCore(CoreCommand::ExecutableFileName)));
    OwnedText directory(RunDirectoryText());
    OwnedText path(TextConcat({directory.Get(), "\\", name.Get()}));
    CallLibrary(kSystemLibrary, SystemCommand::SetAutoStart, ArgText(name.Get()),
                ArgText(path.Get()), ArgInt(kAutoStartRegistry));
}

}  // namespace

HandlerResult OnPanelCreated(const int32_t*, int32_t) {
    RegisterAutoStart();
    EnableBlurBehind(WindowHandleOf(PanelWindowRef()));
    NamePanelWindows();
    // The taskbar, and the dock and panel with it, can go while the scan
    // pumps messages; there is nothing left to lay out then, and the dock
    // comes back with the next taskbar.
    if (!ScanAndWatchQuickLaunchFolder()) return NoResult();
    LayoutPanel();
    ShowCategory(0);
    FinishPanelStart();
    return NoResult();
}

HandlerResult OnPanelDestroyed(const int32_t* args, int32_t argCount) {
    StopWatchingQuickLaunchFolder();
    return OnPanelDestroying(args, argCount);
}
