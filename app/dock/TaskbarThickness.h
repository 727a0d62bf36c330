// How much of the screen's height the taskbar takes, and the display mode
// that decides whether it spans a whole screen edge.
#pragma once
#include <windows.h>

#include <cstdint>

// The taskbar's height when it spans the full width of the primary display,
// its width when it spans the full height, 0 otherwise. The taskbar is the
// one the shell reports, unless `holder` (the taskbar window that holds the
// dock) is given and lies elsewhere: then the panel must rest above the dock's
// own taskbar, never over the dock.
int32_t GetTaskbarThickness(HWND holder = nullptr);

struct DisplayMode {
    int32_t bitsPerPixel, width, height, frequency;
};
// The current settings of display device `deviceIndex` (zeros when it cannot
// be read).
DisplayMode GetDisplayMode(int32_t deviceIndex);
// The index of the display device marked primary (not always device 0: a
// laptop whose external monitor is the main display); 0 when none is marked.
int32_t PrimaryDisplayIndex();
