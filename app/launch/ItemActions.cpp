// What the user can do with the items of the panel: open one, open the
// program's folder from the context menu; and the panel's refusal to close.
#include "app/launch/ItemActions.h"

#include <windows.h>

#include <string>

#include "app/common/CommandResults.h"
#include "app/common/DeclaredFunctions.h"
#include "app/common/DelayWithMessages.h"
#include "app/common/Globals.h"
#include "app/common/RunInThread.h"
#include "app/launch/LaunchWorker.h"
#include "runtime/library/Commands.h"
#include "runtime/win32/FileNames.h"
#include "ui/description/UiIds.h"

namespace {

constexpr int32_t kLaunchWaitMilliseconds = 150;

// Item `index` of the category shown: its path, and its own name when the
// path gives its short name (else null). False when there is no such item.
bool ShownItem(int32_t index, const char** path, const wchar_t** ownName) {
    if (CurrentCategory < 0 || CurrentCategory >= ArrayCount(CategoryList)) return false;
    const LaunchCategory& category = ArrayData<LaunchCategory>(CategoryList)[CurrentCategory];
    if (index < 0 || index >= ArrayCount(category.paths)) return false;
    *path = TextOrEmpty(ArrayData<Text>(category.paths)[index]);
    const ByteSet own = index < ArrayCount(category.ownNames)
                            ? ArrayData<ByteSet>(category.ownNames)[index]
                            : nullptr;
    *ownName = own ? reinterpret_cast<const wchar_t*>(ByteSetBytes(own)) : nullptr;
    return true;
}

}  // namespace

bool LaunchShownItem(int32_t index, HWND owner) {
    const char* path = nullptr;
    const wchar_t* ownName = nullptr;
    if (!ShownItem(index, &path, &ownName)) return false;
    // Window handles keep their value in 32 bits, also on x86_64.
    HANDLE worker = nullptr;
    if (ownName && !PathNamesFileCalled(path, ownName)) {
        // A short name whose file was deleted may name another file by now:
        // that one is not opened; the user is told the item's file is not
        // found, as a launch that fails tells it, under the item's own name.
        std::string shown;
        AnsiFromWide(ownName, &shown);
        const char* name = Declared::PathFindFileNameA(path);
        const std::string caption = std::string(path, name) + shown;
        worker = RunInThread(ReportMissingItem, HandleToLong(owner), caption.c_str(), "", "", "",
                             nullptr);
    } else {
        worker = RunInThread(LaunchWorker, HandleToLong(owner), path, "", "", "", nullptr);
    }
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
