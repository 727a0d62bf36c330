// The runtime's window class: turns the window messages of a loaded window
// into the window's events and acts on the results that handlers report.
#include <windowsx.h>
#include "runtime/process/RuntimeState.h"
#include "runtime/windows/WindowRuntime.h"

const char kRuntimeWindowClass[] = "QDRuntimeWindow";

namespace {

// Window events.
constexpr int32_t kEventMayClose = 1;
constexpr int32_t kEventDestroying = 2;
constexpr int32_t kEventMoved = 3;
constexpr int32_t kEventResized = 4;
constexpr int32_t kEventActivated = 5;
constexpr int32_t kEventDeactivated = 6;
constexpr int32_t kEventFirstActivation = 8;
constexpr int32_t kEventTrayIcon = 9;
constexpr int32_t kEventShown = 10;
constexpr int32_t kEventHidden = 11;
constexpr int32_t kEventClosing = 12;
constexpr int32_t kEventFocusGained = -7;
constexpr int32_t kEventFocusLost = -8;

LiveWindow* BoundWindow(HWND hwnd) {
    return reinterpret_cast<LiveWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

EventRecord Raise(LiveWindow* live, int32_t event, const int32_t* args = nullptr,
                  uint32_t count = 0) {
    return RaiseEvent(live->definition->windowId, live->definition->elements[0].componentId, event,
                      args, count);
}

bool KeptOpen(const EventRecord& record) {
    return record.resultGiven && record.result == 0;
}

LRESULT OnClose(HWND hwnd, LiveWindow* live) {
    if (KeptOpen(Raise(live, kEventClosing))) return 0;
    // A handler may have destroyed the window: no further events then.
    if (!IsWindow(hwnd) || BoundWindow(hwnd) != live) return 0;
    if (KeptOpen(Raise(live, kEventMayClose))) return 0;
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    return 0;
}

// Log-off, restart and shutdown are never refused: a window that declines to
// be closed (the panel answers its may-close event with 0) would otherwise
// make the system list the program as preventing shutdown. So the window is
// not asked; closing requests (WM_CLOSE, Alt+F4) still are.
LRESULT OnQueryEndSession() {
    return TRUE;
}

// The session ends: the program ends as it normally does (exit routines,
// clean-up, exit code 0), before this returns, since the system may end the
// process at any time after that.
void OnEndSession(WPARAM ending) {
    if (ending) ExitProgram(0);
}

void OnDestroy(HWND hwnd, LiveWindow* live) {
    // Windows loaded with this one as parent go first, as owned windows do.
    // When this window is a child of another process's window, the system
    // owner of those windows is that process's top-level window, and under
    // some hosts they would otherwise outlive this one and keep the loop alive.
    DestroyWindowsLoadedBy(hwnd);
    if (BoundWindow(hwnd) != live) return;
    Raise(live, kEventDestroying);
    if (IsWindow(hwnd) && live->menu) {
        SetMenu(hwnd, nullptr);
        DestroyMenu(live->menu);
        live->menu = nullptr;
    }
}

void OnActivate(HWND hwnd, LiveWindow* live, WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        Raise(live, kEventDeactivated);
        return;
    }
    // The first activation counts only once events can be delivered, so a
    // window activated while it is still being built still gets it later.
    if (!live->firstActivationSeen && !EventsSuspended()) {
        live->firstActivationSeen = true;
        Raise(live, kEventFirstActivation);
        // Its handler may have destroyed the window (and `live` with it).
        if (BoundWindow(hwnd) != live) return;
    }
    Raise(live, kEventActivated);
}

void OnTrayIcon(LiveWindow* live, LPARAM lParam) {
    int32_t what = 0;
    switch (static_cast<UINT>(lParam)) {
        case WM_LBUTTONUP:
            what = 1;
            break;
        case WM_LBUTTONDBLCLK:
            what = 2;
            break;
        case WM_RBUTTONUP:
        case WM_CONTEXTMENU:
            what = 3;
            break;
        default:
            return;
    }
    Raise(live, kEventTrayIcon, &what, 1);
}

BOOL OnEraseBackground(HWND hwnd, LiveWindow* live, HDC dc) {
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, live->background ? live->background : GetSysColorBrush(COLOR_BTNFACE));
    return TRUE;
}

LRESULT CALLBACK RuntimeWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* live =
            static_cast<LiveWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(live));
        if (live) live->hwnd = hwnd;
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    LiveWindow* live = BoundWindow(hwnd);
    if (!live) return DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
        case WM_CLOSE:
            return OnClose(hwnd, live);
        case WM_QUERYENDSESSION:
            return OnQueryEndSession();
        case WM_ENDSESSION:
            OnEndSession(wParam);
            return 0;
        case WM_DESTROY:
            OnDestroy(hwnd, live);
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
            ForgetLiveWindow(hwnd);
            return DefWindowProcA(hwnd, message, wParam, lParam);
        case WM_MOVE: {
            LRESULT r = DefWindowProcA(hwnd, message, wParam, lParam);
            Raise(live, kEventMoved);
            return r;
        }
        case WM_SIZE:
            Raise(live, kEventResized);
            return 0;
        case WM_ACTIVATE:
            OnActivate(hwnd, live, wParam);
            return DefWindowProcA(hwnd, message, wParam, lParam);
        case kMsgTrayIcon:
            OnTrayIcon(live, lParam);
            return 0;
        case WM_SHOWWINDOW:
            Raise(live, wParam ? kEventShown : kEventHidden);
            return DefWindowProcA(hwnd, message, wParam, lParam);
        case WM_SETFOCUS:
            Raise(live, kEventFocusGained);
            return 0;
        case WM_KILLFOCUS:
            Raise(live, kEventFocusLost);
            return 0;
        case WM_COMMAND:
            // Menu choices (0) and hot keys (1) carry no control handle.
            if (HIWORD(wParam) <= 1 && lParam == 0 && DeliverMenuCommand(live, LOWORD(wParam)))
                return 0;
            return DefWindowProcA(hwnd, message, wParam, lParam);
        case WM_ERASEBKGND:
            return OnEraseBackground(hwnd, live, reinterpret_cast<HDC>(wParam));
        default:
            return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

}  // namespace

void RegisterRuntimeWindowClass() {
    WNDCLASSA wc{};
    if (GetClassInfoA(GetModuleHandleA(nullptr), kRuntimeWindowClass, &wc)) return;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = RuntimeWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = kRuntimeWindowClass;
    RegisterClassA(&wc);
}
