// Following the taskbar that holds the dock: its place and the notification
// area's change as icons come and go, the clock's format changes or the bar
// is moved; the dock then takes its place again.
#pragma once
#include <windows.h>

// Watches the taskbar and its notification area (either may be 0) for changes
// of place or size; each change calls `changed` on this thread, among its
// messages. A new taskbar replaces the one watched before.
void WatchTaskbar(HWND taskbar, HWND notify, void (*changed)());
// Ends the watch (the taskbar is gone).
void StopWatchingTaskbar();
