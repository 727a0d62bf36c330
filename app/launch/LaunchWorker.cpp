// The launch worker: opens one item through the shell on its own thread.
#include "app/launch/LaunchWorker.h"

#include "runtime/library/Commands.h"
#include "runtime/values/Values.h"
#include "runtime/win32/ScopedOwners.h"

void WINAPI LaunchWorker(int32_t owner, const char* t1, const char*, const char*, const char*) {
    OwnedText path(CopyText(t1));
    // The shell may hand the verb to COM-based handlers, which need an apartment on this thread.
    ScopedComApartment com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    // An item that cannot be opened (its file deleted, no program for it) is
    // reported by the shell itself, over the panel, as Explorer would.
    CallLibrary(kShellLibrary, ShellCommand::OpenWithShell, ArgInt(kShellVerbOpen),
                ArgText(path.Get()), ArgOmitted(), ArgOmitted(), ArgOmitted(), ArgInt(owner));
}

void WINAPI ReportMissingItem(int32_t owner, const char* t1, const char*, const char*,
                              const char*) {
    OwnedText path(CopyText(t1));
    char* message = nullptr;
    FormatMessageA(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, ERROR_FILE_NOT_FOUND, 0, reinterpret_cast<char*>(&message), 0, nullptr);
    MessageBoxA(static_cast<HWND>(LongToHandle(owner)), message ? message : "",
                TextOrEmpty(path.Get()), MB_OK | MB_ICONERROR);
    LocalFree(message);
}
