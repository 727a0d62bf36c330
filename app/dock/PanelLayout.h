// Panel geometry and filling the icon list with one category.
#pragma once
#include <cstdint>
#include "runtime/values/Values.h"

void LayoutPanel();
int32_t GetTaskbarThickness();
struct DisplayMode {
    int32_t bitsPerPixel, width, height, frequency;
};
DisplayMode GetDisplayMode(int32_t deviceIndex);
void ShowCategory(int32_t index);
int32_t SelectCategory(int32_t index);
// The file name of a path, without its extension unless keepExtension.
Text FileTitle(const char* path, bool keepExtension);
