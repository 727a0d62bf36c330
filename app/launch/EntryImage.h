// The picture of one launch item.
#pragma once
#include <cstdint>
#include "runtime/values/Values.h"

// Caller owns the result (FolderImage is constant data; freeing it does nothing).
ByteSet LoadEntryImage(const char* path);
