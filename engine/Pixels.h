// Software compositing on 32-bit premultiplied BGRA pixels: the engine draws
// every shape and picture itself, so edges are anti-aliased and alpha is
// exact on any GDI, and the results are the same on every system.
// Pure pixel code: no Win32 here.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Pixels are 0xAARRGGBB words with the colour channels premultiplied by
// alpha, rows top to bottom (the memory layout of a top-down 32-bit DIB).
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    bool Empty() const { return width <= 0 || height <= 0; }
    uint32_t At(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

// A view of pixels someone else owns (a DIB section, a PixelImage).
struct Surface {
    uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;  // in pixels

    uint32_t& At(int x, int y) { return pixels[size_t(y) * stride + x]; }
};

struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
};

Surface SurfaceOf(PixelImage& image);

// Converts a straight 0xAARRGGBB colour to premultiplied, scaling its alpha
// by opacity (0-255).
uint32_t Premultiply(uint32_t argb, int opacity = 255);
// Source-over of one premultiplied pixel.
uint32_t BlendOver(uint32_t dst, uint32_t src);
// Mixes two straight colours (t 0-255 towards b).
uint32_t MixColour(uint32_t a, uint32_t b, int t);

void FillRect(Surface& s, int x, int y, int w, int h, uint32_t argb, int opacity = 255);
// Anti-aliased rounded rectangle; coordinates may be fractional.
void FillRoundRect(Surface& s, float x, float y, float w, float h, float radius, uint32_t argb,
                   int opacity = 255);
// Anti-aliased outline of `thickness` pixels just inside the rounded rectangle.
void StrokeRoundRect(Surface& s, float x, float y, float w, float h, float radius, float thickness,
                     uint32_t argb, int opacity = 255);
// Sets a rectangle to fully transparent (no blending).
void ClearRect(Surface& s, int x, int y, int w, int h);
// GDI text leaves the alpha of every pixel it writes at 0; the engine's own
// drawing never leaves a pixel fully transparent. Gives those pixels full
// alpha so text stays solid where the window's alpha is used (blur behind).
void SealGdiAlpha(Surface& s);

// Scales a region of an image to outWidth x outHeight: area averaging when
// shrinking, bilinear when enlarging, in premultiplied space (no dark fringes).
PixelImage Resample(const PixelImage& image, const PixelRect& source, int outWidth, int outHeight);
// Draws the source region of an image into dest (scaled), clipped to the surface.
void DrawImage(Surface& s, const PixelImage& image, const PixelRect& source, const PixelRect& dest,
               int opacity = 255);
// Nine-grid: corners keep their size, edges stretch along one axis, the
// centre in both. Margins shrink to fit small destinations.
void DrawNineGrid(Surface& s, const PixelImage& image, const PixelRect& source, int marginX,
                  int marginY, const PixelRect& dest, int opacity = 255);
