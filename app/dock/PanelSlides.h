// The panel's slide animations and the timed wait that keeps messages flowing.
#pragma once
#include <cstdint>

void SlidePanelIn();
void SlidePanelOut();
// Waits interval x unit (0 ms, 1 s, 2 min, 3 h, other: the value itself as
// milliseconds per unit) while processing events; returns true.
bool DelayWithMessages(int32_t interval, int64_t unit);
