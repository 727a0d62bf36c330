// How much of the screen's height the taskbar takes, and the display mode
// that decides whether it spans a whole screen edge.
#pragma once
#include <cstdint>

// The taskbar's height when it spans the full width, its width when it spans
// the full height, 0 otherwise.
int32_t GetTaskbarThickness();

struct DisplayMode {
    int32_t bitsPerPixel, width, height, frequency;
};
// The current settings of display device `deviceIndex` (zeros when it cannot
// be read).
DisplayMode GetDisplayMode(int32_t deviceIndex);
