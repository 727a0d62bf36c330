// Decoding of compressed pictures (PNG, BMP and whatever else the system's
// decoder reads) through GDI+, into the engine's pixels. The one place the
// picture code meets the system; the fuzzers link a stand-in instead.
#pragma once
#include <cstddef>
#include <cstdint>

#include "engine/Pixels.h"

// False for undecodable bytes and for pictures wider or higher than 8192.
bool DecodeWithGdiplus(const uint8_t* bytes, size_t size, PixelImage& out);
