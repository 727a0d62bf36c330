// Random numbers as decimal text.
#pragma once
#include <cstdint>

#include "runtime/values/Values.h"

// A number from low..high (either order; a high of 0 stands for 2147483647)
// as decimal text; parity 1 asks for an odd number, 2 for an even one.
Text RandomInRange(int32_t low, int32_t high, int32_t parity);
