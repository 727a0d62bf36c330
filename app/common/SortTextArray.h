// Sorting a text array in place.
#pragma once
#include "runtime/values/Values.h"

// Ascending by TextCompare; the texts are moved, not copied.
void SortTextArray(ValueArray* texts);
