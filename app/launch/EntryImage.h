// The picture of one launch item.
#pragma once
#include <cstdint>
#include "runtime/values/Values.h"

// Caller owns the result (FolderImage is constant data; freeing it does nothing).
ByteSet LoadEntryImage(const char* path);
// A number from low..high (see the range note in the implementation) as decimal text.
Text RandomInRange(int32_t low, int32_t high, int32_t parity);
