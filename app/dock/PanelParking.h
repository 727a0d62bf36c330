// Where the hidden panel waits: beyond the right edge of the primary screen,
// and beyond every other monitor too, so that it is visible on none.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

// The hidden panel's left edge: the primary screen's width, or further right
// when a monitor reaches past it (one to the right of the primary), so that
// the panel lies right of every monitor. On one monitor: the screen's width.
int32_t ParkedPanelLeft(int32_t screenWidth, const std::vector<RECT>& monitors);
// The rectangles of the desktop's monitors, in virtual-screen coordinates.
std::vector<RECT> MonitorRectangles();
