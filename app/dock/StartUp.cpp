// The program's start: everything else happens in the creation handlers of
// the two windows, which run while DockWindow is being loaded.
#include "app/dock/StartUp.h"

#include "app/common/Globals.h"
#include "runtime/process/Runtime.h"
#include "ui/description/UiIds.h"

int StartUp() {
    InitializeRuntime();
    CreateGlobalLists();
    RegisterExitRoutine(FreeGlobalLists);
    LoadStartWindow(kDockWindow);
    RunMessageLoop();
    return 0;
}
