// The launch worker: opens one item through the shell on its own thread.
#include "app/launch/LaunchWorker.h"

#include "runtime/library/Commands.h"
#include "runtime/values/Values.h"
#include "runtime/win32/ScopedOwners.h"

void WINAPI LaunchWorker(int32_t, const char* t1, const char*, const char*, const char*) {
    OwnedText path(CopyText(t1));
    // The shell may hand the verb to COM-based handlers, which need an apartment on this thread.
    ScopedComApartment com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    CallLibrary(kShellLibrary, ShellCommand::OpenWithShell, ArgInt(kShellVerbOpen),
                ArgText(path.Get()));
}
