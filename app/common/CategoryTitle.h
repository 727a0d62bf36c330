// The title a category's toolbar button shows: its folder name without the
// sort key in front.
#pragma once
#include <cstdint>

#include "runtime/values/Values.h"

// The bytes of a category folder's name that sort it and are not shown
// ("01办公" shows "办公").
constexpr int32_t kHiddenSortKeyBytes = 2;

// The folder name without its first kHiddenSortKeyBytes bytes; a double-byte
// character those bytes end inside is hidden whole, so "4游戏" shows "戏",
// never half of 游 (a new text, empty when nothing is left).
Text CategoryTitle(const char* folderName);
