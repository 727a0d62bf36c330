#pragma once
#include <windows.h>

// Gives the window a blurred, translucent backdrop; returns the result of
// SetWindowCompositionAttribute, which nobody needs to examine.
BOOL EnableBlurBehind(HWND window);
