// A pseudo-random number of a range as decimal text, drawn from the
// processor's time-stamp counter (the scratch icon files' names).
#include "app/common/RandomInRange.h"

#include <x86intrin.h>

#include <cmath>
#include <cstdio>

Text RandomInRange(int32_t low, int32_t high, int32_t parity) {
    int32_t v = low;
    if (low != high) {
        int32_t min = low < high ? low : high;
        int32_t max = low < high ? high : low;
        if (max == 0) max = 2147483647;
        uint32_t t = static_cast<uint32_t>(__rdtsc());
        uint32_t r = ((t * 214013u + 2531011u) >> 16) & 0x7FFF;
        uint32_t span = static_cast<uint32_t>(max) - static_cast<uint32_t>(min) + 1u;
        // A span of the whole 32-bit range wraps to 0; every r fits it then.
        uint32_t offset = span == 0 ? r : r % span;
        v = static_cast<int32_t>(static_cast<uint32_t>(min) + offset);
        double rest = std::fmod(static_cast<double>(v), 2.0);
        bool adjust = (parity == 1 && std::fabs(rest) < 1e-7) ||
                      (parity == 2 && std::fabs(rest - 1.0) < 1e-7);
        if (adjust) v = v == high ? v - 1 : v + 1;
    }
    char text[16];
    std::snprintf(text, sizeof(text), "%d", v);
    return CopyText(text);
}
