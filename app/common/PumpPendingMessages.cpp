// Handles every message waiting in the calling thread's queue. Used by the
// long searches on the UI thread so that the program stays responsive.
#include "app/common/PumpPendingMessages.h"

#include <windows.h>

#include "app/common/DeclaredFunctions.h"
#include "runtime/library/Commands.h"

namespace {
bool gRaiseEvents = false;
}  // namespace

void PumpPendingMessages() {
    if (gRaiseEvents) {
        CallCore(CoreCommand::ProcessEvents);
        return;
    }
    MSG msg;
    while (Declared::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        Declared::TranslateMessage(&msg);
        Declared::DispatchMessageA(&msg);
    }
}

void RaiseEventsWhilePumping(bool raise) {
    gRaiseEvents = raise;
}
