// The hidden owner window: owns windows that should have no taskbar button,
// and receives other threads' requests to end the program.
#include "runtime/process/Runtime.h"
#include "runtime/windows/WindowRuntime.h"

namespace {

constexpr char kHiddenOwnerClass[] = "_QX_HideOwner";

LRESULT CALLBACK HiddenOwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Only a request of this process's own threads ends the program; the same
    // message sent from another process is ignored.
    if (message == kMsgExitRequest && TakeExitRequest()) ExitProgram(static_cast<int32_t>(wParam));
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

HWND CreateHiddenOwnerWindow() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    if (!GetClassInfoA(instance, kHiddenOwnerClass, &wc)) {
        wc.lpfnWndProc = HiddenOwnerProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.hbrBackground = nullptr;
        wc.lpszClassName = kHiddenOwnerClass;
        RegisterClassA(&wc);
    }
    return CreateWindowExA(WS_EX_TOOLWINDOW, kHiddenOwnerClass, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                           nullptr, instance, nullptr);
}
