// Handles every message waiting in the calling thread's queue. Used by the
// long searches on the UI thread so that the program stays responsive.
#include "app/dock/PumpPendingMessages.h"

#include <windows.h>

#include "app/ExternalDeclarations.h"
#include "runtime/external/ExternalFunctions.h"

void PumpPendingMessages() {
    MSG msg;
    while (CallExternal<BOOL>(kPeekMessageA, &msg, static_cast<HWND>(nullptr), 0u, 0u,
                              static_cast<UINT>(PM_REMOVE))) {
        CallExternal<BOOL>(kTranslateMessage, static_cast<const MSG*>(&msg));
        CallExternal<LRESULT>(kDispatchMessageA, static_cast<const MSG*>(&msg));
    }
}
