// The dock's return after the shell restarted (an update, a crash, a user
// restarting it). The shell's end destroys its taskbar and with it DockWindow,
// the taskbar's child, and the panel DockWindow owns; the program goes on
// (ShellWatchWindow stays loaded) and, once the shell announces its new
// taskbar, builds both again inside it, from the folder as it is then.
#include "app/dock/TaskbarRestart.h"

#include <windows.h>

#include "app/common/DeclaredFunctions.h"
#include "app/common/Globals.h"
#include "app/common/ProgramWindows.h"
#include "app/dock/EmbedDock.h"
#include "app/dock/PanelLayout.h"
#include "app/dock/DockRequests.h"
#include "app/dock/TaskbarWatch.h"
#include "runtime/library/Commands.h"

namespace {

// A slide on a worker thread takes its three steps of 5 milliseconds; this is
// far beyond one.
constexpr int kSlideWaitSteps = 200;
constexpr DWORD kSlideWaitStep = 5;

// A slide that the shell's notice started on a worker thread may still be
// writing the old panel's place; the new panel starts at rest.
void WaitForSlideToEnd() {
    for (int i = 0; i < kSlideWaitSteps && PanelState == kPanelSliding; ++i) {
        Declared::Sleep(kSlideWaitStep);
    }
}

}  // namespace

void RestoreDock() {
    if (DockBeingBuilt()) {
        DeferDockRestore();
        return;
    }
    HWND taskbar = FindTaskbarWindow();
    if (IsLoaded(DockWindowRef())) {
        // The shell also announces a taskbar that was only re-created in
        // part; a dock still alive moves, it is not built twice.
        HWND dock = WindowHandleOf(DockWindowRef());
        if (taskbar && GetAncestor(dock, GA_PARENT) != taskbar) Declared::SetParent(dock, taskbar);
        PlaceDock();
        RefreshPanelPlace();
        return;
    }
    if (!taskbar) return;
    // The dock can also end without a word to this thread (its taskbar's
    // process ended while this thread was busy): the panel it owned is then
    // still here, and goes now, releasing its pictures as it does.
    if (IsLoaded(PanelWindowRef())) DestroyWindow(WindowHandleOf(PanelWindowRef()));
    WaitForSlideToEnd();
    StopWatchingTaskbar();
    // The old panel released its pictures as it went; its lists go now.
    FreeGlobalLists();
    CreateGlobalLists();
    CurrentCategory = 0;
    InterlockedExchange(&PanelState, kPanelHidden);
    ShowNextDock();
    CallCore(CoreCommand::LoadWindow, DockWindowRef(), ArgOmitted(), ArgBool(false));
}
