// The built-in picture for shortcuts to folders: a 64 x 64 RGBA PNG of a flat
// yellow folder, kept in constant data as a byte-set block (int32 1, int32
// length, the PNG bytes; 4-byte aligned). It is shared, never freed or written:
// the program image header's constant data range must cover the whole block.
#pragma once
#include <cstdint>
#include "runtime/values/Values.h"

extern const uint8_t kFolderImageBlock[];
extern const uint32_t kFolderImageBlockSize;  // header and PNG bytes

// The block as a ByteSet; returned without copying.
const ByteSetHeader* FolderImage();
