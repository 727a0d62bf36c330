// A timed wait that keeps the calling thread's messages flowing.
#pragma once
#include <cstdint>

// Units of DelayWithMessages: milliseconds, seconds, minutes, hours; any
// other value is itself the number of milliseconds per unit.
constexpr int64_t kMilliseconds = 0;

// Waits interval x unit while processing events; returns true.
bool DelayWithMessages(int32_t interval, int64_t unit);
