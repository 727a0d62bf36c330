// The category shown in the panel's icon list.
#pragma once
#include <cstdint>

// Makes `index` the current category and fills the icon list with its items,
// titled by file name without extension; an index naming no category leaves
// the list empty.
void ShowCategory(int32_t index);
// Marks toolbar button `index` selected and shows that category; returns 0.
int32_t SelectCategory(int32_t index);
