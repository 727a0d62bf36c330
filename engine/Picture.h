// Decoded pictures and the image handles the program holds for them.
// A picture is shared: a list item keeps drawing its picture even after the
// program has released the handle it was inserted with.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "engine/Pixels.h"

class Picture {
  public:
    // The frame that suits drawing at maxSide pixels (icons carry several).
    const PixelImage* FrameFor(int maxSide) const;
    // The picture fitted into width x height keeping its proportions,
    // scaled once and cached. Null for an empty picture.
    const PixelImage* Fitted(int width, int height) const;
    bool Empty() const { return frames_.empty(); }

    void AddFrame(PixelImage frame, int bitCount);
    // A PNG frame kept compressed until it is the frame asked for: icons carry
    // 256-pixel frames that a list of small icons never draws, and decoding
    // them all costs start-up time and a quarter megabyte each.
    void AddPendingFrame(int width, int height, std::vector<uint8_t> png);

  private:
    struct Frame {
        PixelImage image;
        int bitCount;
        int width = 0, height = 0;  // known before a pending frame is decoded
        std::vector<uint8_t> png;   // the compressed bytes while pending
        bool failed = false;        // a pending frame that did not decode
    };
    mutable std::vector<Frame> frames_;
    mutable std::map<std::pair<int, int>, PixelImage> fitted_;
};

using PictureRef = std::shared_ptr<const Picture>;

// PNG, BMP (and whatever else the system's decoder reads) and ICO bytes.
// Zero bytes give an empty picture; undecodable bytes give null.
PictureRef DecodePicture(const uint8_t* bytes, size_t size);

// The picture of a byte-set block as the program hands it over (32-bit 1,
// 32-bit length, the bytes), of which `readable` bytes can be read. A null
// block is the empty byte set: an empty picture. Null for a damaged block or
// undecodable bytes.
PictureRef PictureFromByteSet(const uint8_t* block, size_t readable);

// Draws the picture fitted into side x side, centred in box. False when it
// has nothing to draw.
bool DrawPictureCentred(Surface& s, const Picture& picture, int side, const PixelRect& box,
                        int opacity = 255);

// Image handles: 32-bit values, never 0, each freed at most once.
int32_t RegisterPicture(PictureRef picture);
PictureRef FindPicture(int32_t handle);
bool ReleasePicture(int32_t handle);
size_t LivePictureCount();
