// The core library's window, screen, menu and cursor commands.
#include <windows.h>
#include "runtime/library/core/CoreCommandList.h"
#include "runtime/values/Records.h"
#include "runtime/process/Runtime.h"
#include "runtime/process/RuntimeError.h"
#include "runtime/process/RuntimeMessages.h"
#include "runtime/values/Values.h"
#include "runtime/windows/WindowRuntime.h"

namespace {

// The cursor that was set before the wait cursor; null when none is kept.
HCURSOR gRememberedCursor = nullptr;
bool gCursorRemembered = false;

const ArgumentRecord* OptionalArg(int32_t argCount, ArgumentRecord* args, int32_t i) {
    if (i >= argCount || args[i].IsOmitted()) return nullptr;
    return &args[i];
}

}  // namespace

void CmdWindowHandleOf(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    if (argCount < 1) return;
    HWND hwnd = LiveHandleOf(args[0].WindowId(), args[0].ComponentId());
    if (!hwnd) {
        ReportRuntimeErrorText(RuntimeMessage::kWindowOrComponentGone,
                               static_cast<int32_t>(args[0].WindowId()),
                               static_cast<int32_t>(args[0].ComponentId()));
    }
    *result = MakeRecord(static_cast<int64_t>(reinterpret_cast<intptr_t>(hwnd)), Tag::kInteger);
}

// Whether a window (or one of its components) is loaded now: a window can
// go without the program closing it, when the window that holds it (another
// program's) is destroyed.
void CmdIsWindowLoaded(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    SetResultBool(result, argCount >= 1 && LiveHandleOf(args[0].WindowId(), args[0].ComponentId()));
}

void CmdLoadWindow(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    if (argCount < 1) {
        SetResultBool(result, false);
        return;
    }
    const ArgumentRecord* parent = OptionalArg(argCount, args, 1);
    const ArgumentRecord* modal = OptionalArg(argCount, args, 2);
    bool loaded = LoadRuntimeWindow(args[0].WindowId(), parent ? parent->WindowId() : 0,
                                    modal && modal->AsInt() != 0);
    SetResultBool(result, loaded);
}

void CmdRunDirectory(ResultRecord* result, int32_t, ArgumentRecord*) {
    SetResultText(result, CopyText(RuntimeRunDirectory()));
}

void CmdExecutableFileName(ResultRecord* result, int32_t, ArgumentRecord*) {
    SetResultText(result, CopyText(RuntimeExecutableName()));
}

void CmdScreenWidth(ResultRecord* result, int32_t, ArgumentRecord*) {
    SetResultInt(result, GetSystemMetrics(SM_CXSCREEN));
}

void CmdScreenHeight(ResultRecord* result, int32_t, ArgumentRecord*) {
    SetResultInt(result, GetSystemMetrics(SM_CYSCREEN));
}

// Handles what is waiting but leaves a WM_QUIT in the queue for the real loop.
void CmdProcessEvents(ResultRecord*, int32_t, ArgumentRecord*) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
        PumpOneMessage();
    }
}

void CmdPopUpMenu(ResultRecord*, int32_t argCount, ArgumentRecord* args) {
    if (argCount < 2) return;
    uint32_t ownerId = args[0].WindowId();
    uint32_t menuWindowId = args[1].WindowId();
    uint32_t menuId = args[1].ComponentId();
    LiveWindow* owner = FindLiveWindow(ownerId);
    if (!owner || menuWindowId != ownerId) return;
    HMENU menu = BuildPopUpMenu(*owner->definition, menuId);
    if (!menu) return;
    POINT at{};
    GetCursorPos(&at);
    at.x += 3;
    at.y += 3;
    if (const ArgumentRecord* x = OptionalArg(argCount, args, 2)) at.x = x->AsInt();
    if (const ArgumentRecord* y = OptionalArg(argCount, args, 3)) at.y = y->AsInt();
    // The chosen item comes back to the owner as WM_COMMAND and reaches the
    // entry's click handler there.
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, owner->hwnd, nullptr);
    DestroyMenu(menu);
}

void CmdSetWaitCursor(ResultRecord*, int32_t, ArgumentRecord*) {
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    if (!gCursorRemembered) {
        gRememberedCursor = previous;
        gCursorRemembered = true;
    }
}

void CmdRestoreCursor(ResultRecord*, int32_t, ArgumentRecord*) {
    if (gCursorRemembered) {
        SetCursor(gRememberedCursor);
        gRememberedCursor = nullptr;
        gCursorRemembered = false;
    }
    // Moving the pointer to where it is makes the system refresh its shape.
    POINT at{};
    if (GetCursorPos(&at)) SetCursorPos(at.x, at.y);
}
