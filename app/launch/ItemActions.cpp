// What the user can do with the items of the panel: open one, open the
// program's folder from the context menu; and the panel's refusal to close.
#include "app/launch/ItemActions.h"

#include <windows.h>

#include "app/common/CommandResults.h"
#include "app/common/DelayWithMessages.h"
#include "app/common/Globals.h"
#include "app/common/RunInThread.h"
#include "app/launch/LaunchWorker.h"
#include "runtime/library/Commands.h"
#include "ui/description/UiIds.h"

namespace {

constexpr int32_t kLaunchWaitMilliseconds = 150;

// The path of item `index` of the category shown, or null when there is none.
const char* ShownItemPath(int32_t index) {
    if (CurrentCategory < 0 || CurrentCategory >= ArrayCount(CategoryList)) return nullptr;
    const LaunchCategory& category = ArrayData<LaunchCategory>(CategoryList)[CurrentCategory];
    if (index < 0 || index >= ArrayCount(category.paths)) return nullptr;
    return TextOrEmpty(ArrayData<Text>(category.paths)[index]);
}

}  // namespace

bool LaunchShownItem(int32_t index, HWND owner) {
    const char* path = ShownItemPath(index);
    if (!path) return false;
    // Window handles keep their value in 32 bits, also on x86_64.
    HANDLE worker = RunInThread(LaunchWorker, HandleToLong(owner), path, "", "", "", nullptr);
    if (worker) CloseHandle(worker);
    CallCore(CoreCommand::SetWaitCursor);
    DelayWithMessages(kLaunchWaitMilliseconds, kMilliseconds);
    CallCore(CoreCommand::RestoreCursor);
    return true;
}

HandlerResult OnIconListContextMenu(const int32_t*, int32_t) {
    CallCore(CoreCommand::PopUpMenu, ArgComponent(Tag::kWindow, kDockPanelWindow, kPanelSelf),
             ArgComponent(Tag::kMenuEntry, kDockPanelWindow, kPanelMenu));
    return NoResult();
}

HandlerResult OpenRootFolder(const int32_t*, int32_t) {
    OwnedText runDirectory(RunDirectoryText());
    CallLibrary(kShellLibrary, ShellCommand::OpenWithShell, ArgInt(kShellVerbOpen),
                ArgText(runDirectory.Get()));
    return NoResult();
}

// The panel is only slid in and out; a close request (Alt+F4) is refused.
HandlerResult OnPanelMayClose(const int32_t*, int32_t) {
    return Result(0);
}
