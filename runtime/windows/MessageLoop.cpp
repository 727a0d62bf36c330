// The GUI thread's message loop: idle routines while the queue is empty,
// then fetch, pre-translate (the components' common events), translate and
// dispatch, until WM_QUIT.
#include <windowsx.h>
#include <vector>
#include "runtime/process/Runtime.h"
#include "runtime/process/RuntimeState.h"
#include "runtime/windows/WindowRuntime.h"

namespace {

struct IdleRoutine {
    HWND window;
    void (*routine)(int32_t);
    int32_t argument;
};
std::vector<IdleRoutine> gIdleRoutines;
int32_t gQuitCode = 0;

constexpr int32_t kKeyCtrl = 1;
constexpr int32_t kKeyShift = 2;
constexpr int32_t kKeyAlt = 4;
constexpr int32_t kWheelStep = 120;
constexpr int32_t kKeyCodeMask = 0x1FFF;

int32_t KeyState() {
    int32_t state = 0;
    if (GetKeyState(VK_CONTROL) < 0) state |= kKeyCtrl;
    if (GetKeyState(VK_SHIFT) < 0) state |= kKeyShift;
    if (GetKeyState(VK_MENU) < 0) state |= kKeyAlt;
    return state;
}

// Mouse, key, character and wheel messages raise the common events -1..-12.
bool CommonEventOf(const MSG& msg, int32_t* event, int32_t* args, uint32_t* count) {
    switch (msg.message) {
        case WM_LBUTTONDOWN:
            *event = -1;
            break;
        case WM_LBUTTONUP:
            *event = -2;
            break;
        case WM_LBUTTONDBLCLK:
            *event = -3;
            break;
        case WM_RBUTTONDOWN:
            *event = -4;
            break;
        case WM_RBUTTONUP:
            *event = -5;
            break;
        case WM_MOUSEMOVE:
            *event = -6;
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            *event = -9;
            break;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            *event = -10;
            break;
        case WM_CHAR:
            *event = -11;
            break;
        case WM_MOUSEWHEEL:
            *event = -12;
            break;
        default:
            return false;
    }
    if (*event >= -6) {
        args[0] = LOWORD(msg.lParam);
        args[1] = HIWORD(msg.lParam);
        args[2] = KeyState();
        *count = 3;
    } else if (*event == -9 || *event == -10) {
        args[0] = static_cast<int32_t>(msg.wParam) & kKeyCodeMask;
        args[1] = KeyState();
        *count = 2;
    } else if (*event == -11) {
        args[0] = static_cast<int32_t>(msg.wParam);
        *count = 1;
    } else {
        args[0] = GET_WHEEL_DELTA_WPARAM(msg.wParam) / kWheelStep;
        args[1] = KeyState();
        *count = 2;
    }
    return true;
}

void RunIdleRoutines() {
    for (size_t i = gIdleRoutines.size(); i-- > 0;) {
        if (i >= gIdleRoutines.size()) continue;  // a routine removed entries
        if (!IsWindow(gIdleRoutines[i].window)) {
            gIdleRoutines.erase(gIdleRoutines.begin() + static_cast<ptrdiff_t>(i));
            continue;
        }
        IdleRoutine entry = gIdleRoutines[i];
        entry.routine(entry.argument);
    }
}

}  // namespace

void AddIdleRoutine(HWND window, void (*routine)(int32_t), int32_t argument) {
    gIdleRoutines.push_back(IdleRoutine{window, routine, argument});
}

void ClearIdleRoutines() {
    gIdleRoutines.clear();
}

int32_t QuitMessageCode() {
    return gQuitCode;
}

bool PreTranslateComponentEvent(MSG* msg) {
    int32_t event = 0;
    int32_t args[3] = {};
    uint32_t count = 0;
    if (!CommonEventOf(*msg, &event, args, &count)) return false;
    uint32_t windowId = 0, componentId = 0;
    if (!FindEventSourceOf(msg->hwnd, &windowId, &componentId)) return false;
    EventRecord record = RaiseEvent(windowId, componentId, event, args, count);
    if (!record.resultGiven) return false;
    if (record.result == 0) return true;
    // Any other answer to a character replaces the character.
    if (event == -11) msg->wParam = static_cast<WPARAM>(static_cast<uint32_t>(record.result));
    return false;
}

bool PumpOneMessage() {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return true;
    if (msg.message == WM_QUIT) {
        gQuitCode = static_cast<int32_t>(msg.wParam);
        return false;
    }
    if (PreTranslateComponentEvent(&msg)) return true;
    if (TranslateMenuHotKey(&msg)) return true;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

void RunMessageLoop() {
    SetRuntimeLoopEntered(true);
    if (!AnyLiveWindow()) return;
    for (;;) {
        MSG peek;
        if (!PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
            RunIdleRoutines();
            // The application layer has no idle work of its own: wait.
            if (!PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE)) WaitMessage();
            continue;
        }
        if (!PumpOneMessage()) return;
    }
}
