// Stands in natively for the engine's GDI+ decoder, which needs Windows: a
// PNG (signature, then IHDR) or a BMP (file header, then BITMAPINFOHEADER)
// whose header gives a size up to 1024 x 1024 decodes to a picture of that
// size, one colour made from its bytes; anything else does not decode. GDI+
// reads up to 8192 x 8192 (the engine's limit) and refuses damaged
// compressed data, which this does not look at: the picture code treats a
// decoded picture alike at any size, and the larger ones would only spend
// the fuzzers' time (a quarter second each to fill and scale).
#include "engine/GdiplusDecoder.h"

#include <cstring>

namespace {
uint32_t BigEndian32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}
uint32_t LittleEndian32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
}  // namespace

bool DecodeWithGdiplus(const uint8_t* bytes, size_t size, PixelImage& out) {
    if (!bytes || size == 0 || size > 0x7FFFFFFF) return false;
    int64_t width = 0, height = 0;
    if (size >= 33 && std::memcmp(bytes, kPngSignature, 8) == 0 &&
        std::memcmp(bytes + 12, "IHDR", 4) == 0) {
        width = BigEndian32(bytes + 16);
        height = BigEndian32(bytes + 20);
    } else if (size >= 54 && bytes[0] == 'B' && bytes[1] == 'M') {
        width = int32_t(LittleEndian32(bytes + 18));
        height = int32_t(LittleEndian32(bytes + 22));
        if (height < 0) height = -height;
    } else {
        return false;
    }
    if (width <= 0 || height <= 0 || width > 1024 || height > 1024) return false;
    out.width = int(width);
    out.height = int(height);
    // One colour from the bytes: filling the pixels stays quick at any size.
    const uint8_t b = bytes[size - 1];
    out.pixels.assign(size_t(width) * size_t(height),
                      Premultiply((0x00FFFFFFu & (b * 0x010305u)) | (uint32_t(b) << 24)));
    return true;
}
