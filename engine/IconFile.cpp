#include "engine/IconFile.h"

#include <cstring>

#include "engine/ByteReader.h"

namespace {
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

uint32_t LoadU32BigEndian(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

struct DibHeader {
    uint32_t headerSize;
    int width, height, bitCount;
    uint32_t compression, colours;
};

bool ReadDibHeader(const uint8_t* data, size_t size, DibHeader& h) {
    if (size < 40) return false;
    h.headerSize = LoadU32(data);
    const int32_t width = int32_t(LoadU32(data + 4));
    const int32_t doubledHeight = int32_t(LoadU32(data + 8));
    h.bitCount = LoadU16(data + 14);
    h.compression = LoadU32(data + 16);
    h.colours = LoadU32(data + 32);
    if (h.headerSize < 40 || h.headerSize > size) return false;
    if (width <= 0 || width > kMaxIconSide || doubledHeight <= 1 ||
        doubledHeight > 2 * kMaxIconSide)
        return false;
    h.width = width;
    h.height = doubledHeight / 2;
    return true;
}
}  // namespace

bool ReadPngSize(const uint8_t* data, size_t size, uint32_t& width, uint32_t& height) {
    if (!data || size < 24 || std::memcmp(data, kPngSignature, 8) != 0) return false;
    // IHDR follows the signature: length, "IHDR", width, height.
    width = LoadU32BigEndian(data + 16);
    height = LoadU32BigEndian(data + 20);
    return true;
}

bool LooksLikeIcon(const uint8_t* data, size_t size) {
    return data && size >= 6 && LoadU16(data) == 0 &&
           (LoadU16(data + 2) == 1 || LoadU16(data + 2) == 2) && LoadU16(data + 4) > 0;
}

std::vector<IconFrameInfo> ParseIconDirectory(const uint8_t* data, size_t size) {
    std::vector<IconFrameInfo> frames;
    if (!LooksLikeIcon(data, size)) return frames;
    const unsigned count = LoadU16(data + 4);
    for (unsigned i = 0; i < count; ++i) {
        const size_t entry = 6 + 16 * size_t(i);
        if (!RangeInside(entry, 16, size)) break;
        const uint8_t* e = data + entry;
        IconFrameInfo frame;
        frame.size = LoadU32(e + 8);
        frame.offset = LoadU32(e + 12);
        if (!RangeInside(frame.offset, frame.size, size) || frame.size < 24) continue;
        const uint8_t* bytes = data + frame.offset;
        uint32_t pngWidth, pngHeight;
        if (ReadPngSize(bytes, frame.size, pngWidth, pngHeight)) {
            frame.png = true;
            frame.bitCount = 32;
            if (pngWidth == 0 || pngHeight == 0 || pngWidth > kMaxIconSide ||
                pngHeight > kMaxIconSide)
                continue;
            frame.width = int(pngWidth);
            frame.height = int(pngHeight);
        } else {
            DibHeader h;
            if (!ReadDibHeader(bytes, frame.size, h)) continue;
            frame.width = h.width;
            frame.height = h.height;
            frame.bitCount = h.bitCount;
        }
        frames.push_back(frame);
    }
    return frames;
}

int ChooseIconFrame(const std::vector<IconFrameInfo>& frames, int targetSize) {
    int best = -1;
    for (int i = 0; i < int(frames.size()); ++i) {
        const IconFrameInfo& f = frames[i];
        if (best < 0) {
            best = i;
            continue;
        }
        const IconFrameInfo& b = frames[best];
        const int side = f.width > f.height ? f.width : f.height;
        const int bestSide = b.width > b.height ? b.width : b.height;
        const bool fits = side >= targetSize, bestFits = bestSide >= targetSize;
        bool better;
        if (fits != bestFits) {
            better = fits;
        } else if (side != bestSide) {
            better = fits ? side < bestSide : side > bestSide;
        } else {
            better = f.bitCount > b.bitCount;
        }
        if (better) best = i;
    }
    return best;
}

bool DecodeIconDib(const uint8_t* data, size_t size, PixelImage& out) {
    DibHeader h;
    if (!ReadDibHeader(data, size, h)) return false;
    const int bpp = h.bitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return false;
    if (h.compression != 0 && !(h.compression == 3 && bpp == 32)) return false;
    uint64_t paletteCount = bpp <= 8 ? (h.colours ? h.colours : 1u << bpp) : 0;
    if (paletteCount > 256) return false;
    uint64_t paletteOffset = h.headerSize;
    if (h.compression == 3 && h.headerSize == 40) paletteOffset += 12;  // three colour masks
    const uint64_t colourOffset = paletteOffset + paletteCount * 4;
    const uint64_t colourStride = (uint64_t(h.width) * bpp + 31) / 32 * 4;
    const uint64_t maskStride = (uint64_t(h.width) + 31) / 32 * 4;
    const uint64_t maskOffset = colourOffset + colourStride * h.height;
    if (!RangeInside(colourOffset, colourStride * h.height, size)) return false;
    const bool hasMask = RangeInside(maskOffset, maskStride * h.height, size);
    if (!hasMask && bpp != 32) return false;

    const uint8_t* palette = data + paletteOffset;
    bool anyAlpha = false;
    if (bpp == 32) {
        for (int y = 0; y < h.height && !anyAlpha; ++y)
            for (int x = 0; x < h.width; ++x)
                if (data[colourOffset + colourStride * y + 4 * x + 3] != 0) {
                    anyAlpha = true;
                    break;
                }
    }
    out.width = h.width;
    out.height = h.height;
    out.pixels.assign(size_t(h.width) * h.height, 0);
    for (int y = 0; y < h.height; ++y) {
        // Rows are stored bottom-up.
        const uint8_t* row = data + colourOffset + colourStride * (h.height - 1 - y);
        const uint8_t* maskRow =
            hasMask ? data + maskOffset + maskStride * (h.height - 1 - y) : nullptr;
        for (int x = 0; x < h.width; ++x) {
            uint32_t b, g, r, a = 255;
            if (bpp == 32 || bpp == 24) {
                const uint8_t* p = row + x * (bpp / 8);
                b = p[0];
                g = p[1];
                r = p[2];
                if (bpp == 32 && anyAlpha) a = p[3];
            } else {
                unsigned index;
                if (bpp == 8) {
                    index = row[x];
                } else if (bpp == 4) {
                    index = (row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F;
                } else {
                    index = (row[x / 8] >> (7 - x % 8)) & 1;
                }
                if (index >= paletteCount) index = 0;
                b = palette[4 * index];
                g = palette[4 * index + 1];
                r = palette[4 * index + 2];
            }
            if (!(bpp == 32 && anyAlpha) && maskRow && (maskRow[x / 8] >> (7 - x % 8)) & 1) a = 0;
            out.pixels[size_t(y) * h.width + x] =
                Premultiply(0xFF000000 | r << 16 | g << 8 | b, int(a));
        }
    }
    return true;
}
