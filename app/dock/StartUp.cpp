// The program's start: everything else happens in the creation handlers of
// the windows, which run while they are being loaded.
#include "app/dock/StartUp.h"

#include "app/common/Globals.h"
#include "app/common/ProgramWindows.h"
#include "app/dock/SessionDock.h"
#include "runtime/library/Commands.h"
#include "runtime/process/Runtime.h"
#include "ui/description/UiIds.h"

int StartUp() {
    InitializeRuntime();
    if (!TakeSessionDock()) {
        AskRunningDockForPanel();
        return 0;
    }
    BringUpDock();
    RunMessageLoop();
    return 0;
}

void BringUpDock() {
    CreateGlobalLists();
    RegisterExitRoutine(FreeGlobalLists);
    // Loaded first: it keeps the program running while the taskbar that holds
    // the dock is gone, and it hears the shell announce the next one.
    CallCore(CoreCommand::LoadWindow, ShellWatchWindowRef());
    LoadStartWindow(kDockWindow);
}
