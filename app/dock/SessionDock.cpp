// One dock per user session: a second start (the automatic start plus a
// double click, or two Run values) adds no second button and leaves no
// process behind. A named mutex in the session's own namespace marks the
// running dock; it is held until the process ends.
#include "app/dock/SessionDock.h"

#include <windows.h>

#include "app/dock/DockRequests.h"
#include "ui/description/UiIds.h"

namespace {

constexpr char kSessionDockName[] = "Local\\QuickDock.SessionDock";

}  // namespace

bool TakeSessionDock() {
    HANDLE mark = CreateMutexA(nullptr, FALSE, kSessionDockName);
    // Without the mark the program cannot tell; it runs as it always did.
    if (!mark) return true;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mark);
        return false;
    }
    // Kept open, on purpose, until the process ends.
    return true;
}

void AskRunningDockForPanel() {
    HWND watch = FindWindowA(kShellWatchClass, nullptr);
    if (watch) PostMessageA(watch, SlideInRequestMessage(), 0, 0);
}
