// Following the taskbar without polling: the system reports every change of a
// window's place or size as a location-change event. The hook is out of
// context and limited to the taskbar's process, so its events arrive among
// this thread's messages and nothing runs while the taskbar stands still.
#include "app/dock/TaskbarWatch.h"

namespace {

HWINEVENTHOOK gHook = nullptr;
DWORD gWatchedProcess = 0;
HWND gTaskbar = nullptr;
HWND gNotify = nullptr;
void (*gChanged)() = nullptr;

void CALLBACK OnLocationChange(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD,
                               DWORD) {
    // The taskbar's process also reports its carets, its pointer and every
    // task button; only the two windows the dock's place depends on count.
    if (object != OBJID_WINDOW || child != CHILDID_SELF || !window) return;
    if ((window == gTaskbar || window == gNotify) && gChanged) gChanged();
}

}  // namespace

void WatchTaskbar(HWND taskbar, HWND notify, void (*changed)()) {
    gTaskbar = taskbar;
    gNotify = notify;
    gChanged = changed;
    DWORD process = 0;
    if (taskbar) GetWindowThreadProcessId(taskbar, &process);
    if (gHook && process == gWatchedProcess) return;
    StopWatchingTaskbar();
    gTaskbar = taskbar;
    gNotify = notify;
    if (!process) return;
    // The process alone: naming its thread as well is refused by some hosts.
    gHook = SetWinEventHook(EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_LOCATIONCHANGE, nullptr,
                            OnLocationChange, process, 0, WINEVENT_OUTOFCONTEXT);
    gWatchedProcess = gHook ? process : 0;
}

void StopWatchingTaskbar() {
    if (gHook) UnhookWinEvent(gHook);
    gHook = nullptr;
    gWatchedProcess = 0;
    gTaskbar = nullptr;
    gNotify = nullptr;
}
