// How far memory handed to the engine can be read. Blocks handed to the
// engine carry no size of their own; this keeps a damaged length from
// reading outside memory.
#pragma once
#include <cstddef>

// The number of readable bytes from p on, at most cap (0 for null).
size_t ReadableExtent(const void* p, size_t cap);
