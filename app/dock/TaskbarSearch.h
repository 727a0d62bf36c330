// Finding the taskbar's notification area and a window of a given class
// below it, and the place of the button that the dock takes over.
#pragma once
#include <windows.h>
#include <cstdint>

#include "runtime/values/Values.h"

struct WindowBox {
    int32_t left = 0, top = 0, width = 0, height = 0;
};

HWND FindTaskbarWindow();
// TrayNotifyWnd below the taskbar, or among the top-level windows when there
// is no taskbar; 0 when not found.
HWND FindTrayNotifyWindow();
// Depth-first, pre-order, exact byte-wise class comparison; pumps the
// thread's messages after every step to a next sibling. The parent may be 0.
HWND FindDescendantByClass(HWND parent, const char* className);
// The class name read through a 50-space buffer; the 50 spaces when it fails.
Text GetWindowClassText(HWND window);
// Left, top, width, height from GetWindowRect; all zero when it fails.
WindowBox GetWindowBox(HWND window);
