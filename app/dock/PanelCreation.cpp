// DockPanelWindow's creation: register for automatic start, give the panel
// its backdrop and content, and lay it out.
#include "app/Handlers.h"
#include "app/dock/BlurBehind.h"
#include "app/dock/DockWindows.h"
#include "app/dock/PanelLayout.h"
#include "app/launch/QuickLaunchScan.h"
#include "runtime/library/Commands.h"

namespace {

constexpr int32_t kAutoStartRegistry = 0;

Text TakeText(const ResultRecord& r) {
    return static_cast<Text>(r.AsPointer());
}

// Auto-start under the executable's file name with its full path, rewritten
// at every start so that a moved program is still found.
void RegisterAutoStart() {
    OwnedText name(TakeText(CallCore(CoreCommand::ExecutableFileName)));
    OwnedText directory(TakeText(CallCore(CoreCommand::RunDirectory)));
    OwnedText path(TextConcat({directory.Get(), "\\", name.Get()}));
    CallLibrary(kSystemLibrary, SystemCommand::SetAutoStart, ArgText(name.Get()),
                ArgText(path.Get()), ArgInt(kAutoStartRegistry));
}

void PreparePanel() {
    EnableBlurBehind(WindowHandleOf(PanelWindowRef()));
    ScanQuickLaunchFolder();
}

}  // namespace

HandlerResult OnPanelCreated(const int32_t*, int32_t) {
    RegisterAutoStart();
    PreparePanel();
    LayoutPanel();
    return NoResult();
}
