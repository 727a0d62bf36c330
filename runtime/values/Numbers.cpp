// Conversion of double-precision results back to 32-bit integers.
#include "runtime/values/Numbers.h"

#include <cmath>
#include <limits>

int32_t TruncateToInteger(double value) {
    // Out-of-range values saturate instead of being undefined behaviour.
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}
