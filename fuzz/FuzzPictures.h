// What the fuzzers of the engine's pictures check after drawing: a picture
// drawn where the icon list draws it, at the sizes the lists use.
#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/Picture.h"
#include "fuzz/FuzzInput.h"

// The byte-set block the program hands to LoadImageEx: 32-bit 1, the
// length, the bytes (null for none, the empty byte set).
inline std::vector<uint8_t> ByteSetBlock(const uint8_t* bytes, size_t size) {
    std::vector<uint8_t> block(8 + size);
    const uint32_t header[2] = {1, uint32_t(size)};
    std::memcpy(block.data(), header, sizeof header);
    if (size) std::memcpy(block.data() + 8, bytes, size);
    return block;
}

// How the program's pictures are made: the panel's icon list exists before
// the scan hands them over, and it draws its icons at 48 pixels.
inline const PictureUse kPanelListUse{{48}, false};

// Draws the picture into a cell as the icon list does (48 pixels, its
// stored icon size; 16 and 128, the sizes it allows), and checks that every
// pixel stays premultiplied (no colour above its alpha) and that the fitted
// picture is never larger than asked.
inline void DrawLikeTheLists(const Picture& picture) {
    for (int side : {48, 16, 128}) {
        PixelImage cell;
        cell.width = side + 24;
        cell.height = side + 24;
        cell.pixels.assign(size_t(cell.width) * cell.height, 0xFF202020u);
        Surface surface = SurfaceOf(cell);
        const bool drawn = DrawPictureCentred(surface, picture, side, PixelRect{12, 8, side, side});
        if (const PixelImage* fitted = picture.Fitted(side, side)) {
            FUZZ_CHECK(drawn);
            FUZZ_CHECK(fitted->width >= 1 && fitted->width <= side);
            FUZZ_CHECK(fitted->height >= 1 && fitted->height <= side);
            FUZZ_CHECK(fitted->pixels.size() == size_t(fitted->width) * fitted->height);
        } else {
            FUZZ_CHECK(!drawn);
        }
        for (uint32_t p : cell.pixels) {
            const uint32_t a = p >> 24;
            FUZZ_CHECK(((p >> 16) & 0xFF) <= a && ((p >> 8) & 0xFF) <= a && (p & 0xFF) <= a);
        }
    }
}
