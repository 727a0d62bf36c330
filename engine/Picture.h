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

// How a picture is going to be drawn, so that it holds only what it needs.
struct PictureUse {
    // The sizes it is drawn at (the icon size of the icon lists). Given
    // sizes, an icon keeps only the frames that can be chosen for them, and
    // a picture drawn at one size keeps its frame fitted to that size. No
    // sizes: every frame is kept as it is.
    std::vector<int> sides;
    // A PNG file is decoded when first drawn (skin images, many of which are
    // never drawn). Otherwise it is decoded at once, so that undecodable
    // bytes give no picture.
    bool decodePngWhenDrawn = false;
};

class Picture {
  public:
    // The frame that suits drawing at maxSide pixels (icons carry several).
    const PixelImage* FrameFor(int maxSide) const;
    // The picture fitted into width x height keeping its proportions: the
    // frame itself when it has that size already, else scaled once and
    // cached. Null for an empty picture.
    const PixelImage* Fitted(int width, int height) const;
    bool Empty() const { return frames_.empty(); }
    // The bytes of pixels and of compressed frames the picture holds.
    size_t HeldBytes() const;

  private:
    struct Frame {
        PixelImage image;  // the pixels once decoded
        int bitCount = 32;
        int width = 0, height = 0;  // known before the frame is decoded
        // How far the pixels kept are already enlarged from the frame's own
        // (fitted for the one size a picture is drawn at), so that drawing
        // never enlarges them a second time.
        double enlarged = 1.0;
        bool png = false;
        bool decoded = false;
        bool failed = false;
        // A PNG frame kept compressed until it is the frame asked for: icons
        // carry 256-pixel frames that a list of small icons never draws.
        std::vector<uint8_t> compressed;
        // While the picture is being made: the frame's bytes in the caller's data.
        const uint8_t* source = nullptr;
        size_t sourceSize = 0;
    };
    friend std::shared_ptr<const Picture> DecodePicture(const uint8_t*, size_t, const PictureUse&);

    bool Decode(Frame& frame) const;
    // The decoded frame drawn at maxSide, decoding it when it is still
    // compressed; null when none can be drawn.
    const Frame* DecodedFrameFor(int maxSide) const;
    // The frame drawn at maxSide among those not failed and not excluded; -1 if none.
    int Choose(int maxSide, const std::vector<bool>& excluded) const;
    // For a picture drawn at known sizes: drops the frames that can no longer
    // be chosen for them (a PNG frame still compressed keeps the frame chosen
    // after it, in case it does not decode) and fits a frame drawn at one size.
    void Settle() const;

    mutable std::vector<Frame> frames_;
    std::vector<int> sides_;
    mutable std::map<std::pair<int, int>, PixelImage> fitted_;
};

using PictureRef = std::shared_ptr<const Picture>;

// PNG, BMP (and whatever else the system's decoder reads) and ICO bytes.
// Zero bytes give an empty picture; undecodable bytes give null.
PictureRef DecodePicture(const uint8_t* bytes, size_t size, const PictureUse& use = {});
// The same for pictures the program hands over: a few small pictures come
// again and again (every folder shortcut shows the program's one folder
// picture), so identical small ones are decoded once and shared.
PictureRef DecodeProgramPicture(const uint8_t* bytes, size_t size, const PictureUse& use);

// The picture of a byte-set block as the program hands it over (32-bit 1,
// 32-bit length, the bytes), of which `readable` bytes can be read. A null
// block is the empty byte set: an empty picture. Null for a damaged block or
// undecodable bytes.
// Made for `use`; identical small pictures are shared (DecodeProgramPicture).
PictureRef PictureFromByteSet(const uint8_t* block, size_t readable, const PictureUse& use = {});

// Draws the picture fitted into side x side, centred in box. False when it
// has nothing to draw.
bool DrawPictureCentred(Surface& s, const Picture& picture, int side, const PixelRect& box,
                        int opacity = 255);

// Image handles: 32-bit values, never 0, each freed at most once.
int32_t RegisterPicture(PictureRef picture);
PictureRef FindPicture(int32_t handle);
bool ReleasePicture(int32_t handle);
size_t LivePictureCount();
