// The panel's window procedure. It only looks at the shell's activation
// notice and passes every message on unchanged.
#include "app/dock/PanelWindowProc.h"

#include "app/common/DeclaredFunctions.h"
#include "app/common/Globals.h"
#include "app/dock/PanelSlides.h"
#include "runtime/library/Commands.h"

namespace {

volatile UINT gShellHookMessage = 0;

DWORD WINAPI SlidePanelOutThread(LPVOID) {
    SlidePanelOut();
    return 0;
}

}  // namespace

UINT ShellHookMessage() {
    return gShellHookMessage;
}

void RegisterPanelShellHook(HWND panel) {
    // The shell sends its notices under a message number registered at run
    // time; it differs between systems and sessions.
    gShellHookMessage = RegisterWindowMessageA("SHELLHOOK");
    Declared::RegisterShellHookWindow(panel);
}

void InstallPanelWindowProc(HWND panel) {
    const LONG_PTR procedure = reinterpret_cast<LONG_PTR>(&PanelWindowProc);
#if defined(__i386__)
    PanelPreviousWndProc = Declared::SetWindowLongA(panel, GWL_WNDPROC, procedure);
#else
    // A window procedure's address does not fit SetWindowLongA's 32-bit value.
    PanelPreviousWndProc = SetWindowLongPtrA(panel, GWLP_WNDPROC, procedure);
#endif
}

LRESULT CALLBACK PanelWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The panel's own activation (a click on the dock gives it the keyboard)
    // is no other application's.
    if (gShellHookMessage != 0 && message == gShellHookMessage && wParam == kShellWindowActivated &&
        PanelState == kPanelShown && reinterpret_cast<HWND>(lParam) != window) {
        // On a thread of its own so that the shell's send returns at once.
        CallLibrary(kThreadLibrary, ThreadCommand::StartThread,
                    ArgSubroutine(reinterpret_cast<const void*>(&SlidePanelOutThread)));
    }
    return Declared::CallWindowProcA(reinterpret_cast<WNDPROC>(PanelPreviousWndProc), window,
                                     message, wParam, lParam);
}
