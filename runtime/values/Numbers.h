// Numbers: positions and sizes are 32-bit integers computed in double
// precision and truncated toward zero when converted back.
#pragma once
#include <cstdint>

// Double to 32-bit integer, truncating toward zero (also for negatives).
int32_t TruncateToInteger(double value);
