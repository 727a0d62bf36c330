// Icon files: the frame directory, the choice of the frame that suits a
// drawing size, and decoding of the classic DIB frames (PNG frames are left
// to the picture decoder). Pure byte handling: no Win32 here.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/Pixels.h"

struct IconFrameInfo {
    int width = 0;
    int height = 0;
    int bitCount = 0;  // 32 for PNG frames
    size_t offset = 0;
    size_t size = 0;
    bool png = false;
};

bool LooksLikeIcon(const uint8_t* data, size_t size);

// The width and height a PNG file's header gives; false when the bytes do not
// start as a PNG file.
bool ReadPngSize(const uint8_t* data, size_t size, uint32_t& width, uint32_t& height);

// Frames whose bytes lie inside the file and whose header can be read;
// sizes come from the frame's own header, not the directory's byte fields.
std::vector<IconFrameInfo> ParseIconDirectory(const uint8_t* data, size_t size);

// The frame to draw at targetSize x targetSize: the smallest frame at least
// that large (deeper colour wins a tie), else the largest one. -1 if none.
int ChooseIconFrame(const std::vector<IconFrameInfo>& frames, int targetSize);

// Decodes a BITMAPINFOHEADER frame (1, 4, 8, 24 or 32 bits, colour then
// mask) into premultiplied pixels. False for anything malformed.
bool DecodeIconDib(const uint8_t* data, size_t size, PixelImage& out);

constexpr int kMaxIconSide = 1024;
