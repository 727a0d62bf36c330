// Icon files with bitmap frames and a 256-pixel PNG frame: small sizes draw a
// bitmap, the PNG is decoded when it is the frame asked for, and a PNG frame
// that turns out damaged leaves the bitmaps to draw.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "engine/Picture.h"

namespace {

using Bytes = std::vector<uint8_t>;

void PutU32BigEndian(Bytes& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

void PutLittle(Bytes& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

uint32_t Crc32(const uint8_t* p, size_t n) {
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
}

void PutChunk(Bytes& out, const char* kind, const Bytes& data) {
    PutU32BigEndian(out, uint32_t(data.size()));
    Bytes body(kind, kind + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    PutU32BigEndian(out, Crc32(body.data(), body.size()));
}

// A square RGBA PNG of one colour, its pixels in stored (uncompressed) deflate blocks.
Bytes Png(int side, const uint8_t (&rgba)[4], bool damaged = false) {
    Bytes raw;
    for (int y = 0; y < side; ++y) {
        raw.push_back(0);
        for (int x = 0; x < side; ++x) raw.insert(raw.end(), rgba, rgba + 4);
    }
    Bytes z = {0x78, 0x01};
    for (size_t at = 0; at < raw.size(); at += 65535) {
        const size_t n = std::min<size_t>(65535, raw.size() - at);
        z.push_back(at + n == raw.size() ? 1 : 0);
        PutLittle(z, uint32_t(n), 2);
        PutLittle(z, uint32_t(~n & 0xFFFF), 2);
        z.insert(z.end(), raw.begin() + long(at), raw.begin() + long(at + n));
    }
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutU32BigEndian(z, (b << 16) | a);
    if (damaged) std::memset(z.data(), 0xEE, std::min<size_t>(z.size(), 64));
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutU32BigEndian(header, uint32_t(side));
    PutU32BigEndian(header, uint32_t(side));
    header.insert(header.end(), {8, 6, 0, 0, 0});
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", z);
    PutChunk(png, "IEND", {});
    return png;
}

// A 32-bit bitmap icon frame of one opaque colour.
Bytes Bitmap(int side, uint32_t bgra) {
    Bytes out;
    for (uint32_t v : {40u, uint32_t(side), uint32_t(side * 2)}) PutLittle(out, v, 4);
    PutLittle(out, 1, 2);
    PutLittle(out, 32, 2);
    for (int i = 0; i < 6; ++i) PutLittle(out, 0, 4);
    for (int i = 0; i < side * side; ++i) PutLittle(out, bgra, 4);
    out.resize(out.size() + size_t((side + 31) / 32 * 4 * side), 0);
    return out;
}

Bytes IconFile(const std::vector<std::pair<int, Bytes>>& frames) {
    Bytes out;
    PutLittle(out, 0, 2);
    PutLittle(out, 1, 2);
    PutLittle(out, uint32_t(frames.size()), 2);
    uint32_t offset = uint32_t(6 + 16 * frames.size());
    for (const auto& [side, bytes] : frames) {
        out.push_back(uint8_t(side % 256));
        out.push_back(uint8_t(side % 256));
        out.insert(out.end(), {0, 0});
        PutLittle(out, 1, 2);
        PutLittle(out, 32, 2);
        PutLittle(out, uint32_t(bytes.size()), 4);
        PutLittle(out, offset, 4);
        offset += uint32_t(bytes.size());
    }
    for (const auto& frame : frames)
        out.insert(out.end(), frame.second.begin(), frame.second.end());
    return out;
}

PictureRef Decode(const Bytes& bytes) {
    return DecodePicture(bytes.data(), bytes.size());
}

constexpr uint8_t kGreen[4] = {0, 255, 0, 255};

TEST(EnginePictures, SmallSizesDrawBitmapsAndTheLargePngDecodesWhenAskedFor) {
    const PictureRef picture = Decode(IconFile(
        {{16, Bitmap(16, 0xFF0000FF)}, {48, Bitmap(48, 0xFFFF0000)}, {256, Png(256, kGreen)}}));
    ASSERT_TRUE(picture);
    const PixelImage* small = picture->FrameFor(48);
    ASSERT_TRUE(small);
    EXPECT_EQ(48, small->width);
    const PixelImage* fitted = picture->Fitted(48, 48);
    ASSERT_TRUE(fitted);
    EXPECT_EQ(48, fitted->width);

    const PixelImage* large = picture->FrameFor(256);
    ASSERT_TRUE(large);
    ASSERT_EQ(256, large->width);
    ASSERT_EQ(256, large->height);
    ASSERT_EQ(size_t(256 * 256), large->pixels.size());
    EXPECT_EQ(0xFF00FF00u, large->pixels[256 * 128 + 128]) << "the PNG's own pixels";
    EXPECT_EQ(large, picture->FrameFor(256)) << "decoded once, then kept";
}

TEST(EnginePictures, DamagedPngFrameLeavesTheBitmapsToDraw) {
    const PictureRef picture =
        Decode(IconFile({{32, Bitmap(32, 0xFF0000FF)}, {256, Png(256, kGreen, true)}}));
    ASSERT_TRUE(picture) << "the bitmap frame alone makes a picture";
    for (int attempt = 0; attempt < 2; ++attempt) {
        const PixelImage* frame = picture->FrameFor(256);
        ASSERT_TRUE(frame);
        EXPECT_EQ(32, frame->width);
    }
    const PixelImage* fitted = picture->Fitted(64, 64);
    ASSERT_TRUE(fitted);
    EXPECT_EQ(64, fitted->width) << "the bitmap, enlarged";
}

TEST(EnginePictures, PngOnlyIconsDecodeAtOnce) {
    const PictureRef good = Decode(IconFile({{256, Png(256, kGreen)}}));
    ASSERT_TRUE(good);
    const PixelImage* frame = good->FrameFor(16);
    ASSERT_TRUE(frame);
    EXPECT_EQ(256, frame->width);
    EXPECT_FALSE(Decode(IconFile({{256, Png(256, kGreen, true)}})))
        << "an icon with nothing decodable is no picture";
}

PictureRef DecodeFor(const Bytes& bytes, int side) {
    PictureUse use;
    use.sides = {side};
    return DecodePicture(bytes.data(), bytes.size(), use);
}

// Drawn at one known size, a picture holds that frame's pixels alone: the
// other bitmaps are dropped and the 256-pixel PNG is neither decoded nor kept.
// Other sizes are still drawn, from the frame kept.
TEST(EnginePictures, PictureForOneSizeKeepsOnlyTheFrameDrawn) {
    const PictureRef picture = DecodeFor(
        IconFile(
            {{16, Bitmap(16, 0xFF0000FF)}, {48, Bitmap(48, 0xFFFF0000)}, {256, Png(256, kGreen)}}),
        48);
    ASSERT_TRUE(picture);
    EXPECT_EQ(size_t(48 * 48 * 4), picture->HeldBytes());
    const PixelImage* frame = picture->FrameFor(48);
    ASSERT_TRUE(frame);
    EXPECT_EQ(0xFFFF0000u, frame->pixels[48 * 24 + 24]) << "the 48-pixel bitmap";
    EXPECT_EQ(frame, picture->Fitted(48, 48)) << "drawn as kept, no second copy";
    const PixelImage* small = picture->Fitted(16, 16);
    ASSERT_TRUE(small);
    EXPECT_EQ(16, small->width);
    EXPECT_EQ(0xFFFF0000u, small->pixels[16 * 8 + 8]);
    const PixelImage* large = picture->Fitted(96, 96);
    ASSERT_TRUE(large);
    EXPECT_EQ(96, large->width) << "enlarged from the frame kept";
}

// A PNG frame that would be drawn at the list's size waits compressed, with
// the bitmap behind it kept in case it does not decode; once drawn, the
// picture holds the frame fitted to that size alone.
TEST(EnginePictures, PictureForOneSizeDecodesItsPngWhenDrawn) {
    const Bytes png = Png(256, kGreen);
    const PictureRef picture = DecodeFor(IconFile({{32, Bitmap(32, 0xFF0000FF)}, {256, png}}), 64);
    ASSERT_TRUE(picture);
    EXPECT_EQ(png.size() + 32 * 32 * 4, picture->HeldBytes());
    const PixelImage* frame = picture->Fitted(64, 64);
    ASSERT_TRUE(frame);
    EXPECT_EQ(64, frame->width);
    EXPECT_EQ(0xFF00FF00u, frame->pixels[64 * 32 + 32]) << "the PNG, scaled down";
    EXPECT_EQ(size_t(64 * 64 * 4), picture->HeldBytes());

    const PictureRef damaged =
        DecodeFor(IconFile({{32, Bitmap(32, 0xFF0000FF)}, {256, Png(256, kGreen, true)}}), 64);
    ASSERT_TRUE(damaged);
    const PixelImage* fallback = damaged->Fitted(64, 64);
    ASSERT_TRUE(fallback);
    EXPECT_EQ(64, fallback->width);
    EXPECT_EQ(0xFF0000FFu, fallback->pixels[64 * 32 + 32]) << "the bitmap, enlarged";
    EXPECT_EQ(size_t(64 * 64 * 4), damaged->HeldBytes());
}

// A 16-pixel-only icon made for a 48-pixel list is enlarged once, to twice its
// size, and drawn as kept: not enlarged again, not held twice.
TEST(EnginePictures, ASmallIconIsEnlargedOnceAndHeldOnce) {
    const PictureRef picture = DecodeFor(IconFile({{16, Bitmap(16, 0xFF0000FF)}}), 48);
    ASSERT_TRUE(picture);
    const PixelImage* drawn = picture->Fitted(48, 48);
    ASSERT_TRUE(drawn);
    EXPECT_EQ(32, drawn->width);
    EXPECT_EQ(size_t(32 * 32 * 4), picture->HeldBytes());
}

}  // namespace
