#include "engine/Pixels.h"

#include <algorithm>
#include <cmath>

namespace {
inline uint32_t Channel(uint32_t c, int shift) {
    return (c >> shift) & 0xFF;
}
inline uint32_t Div255(uint32_t v) {
    return (v + 128 + ((v + 128) >> 8)) >> 8;
}

uint32_t ScalePremultiplied(uint32_t c, uint32_t factor) {
    if (factor >= 255) return c;
    return Div255(Channel(c, 24) * factor) << 24 | Div255(Channel(c, 16) * factor) << 16 |
           Div255(Channel(c, 8) * factor) << 8 | Div255(Channel(c, 0) * factor);
}

struct Contribution {
    int first = 0;
    std::vector<float> weights;
};

// Per-axis filter weights: box filter when shrinking, tent when enlarging.
std::vector<Contribution> Contributions(int sourceStart, int sourceLength, int outLength) {
    std::vector<Contribution> result(outLength);
    const double scale = double(sourceLength) / outLength;
    for (int i = 0; i < outLength; ++i) {
        Contribution& c = result[i];
        if (scale > 1.0) {
            const double from = i * scale, to = (i + 1) * scale;
            const int first = int(std::floor(from)),
                      last = std::min(sourceLength, int(std::ceil(to)));
            c.first = sourceStart + first;
            for (int j = first; j < last; ++j)
                c.weights.push_back(
                    float((std::min(to, j + 1.0) - std::max(from, double(j))) / scale));
        } else {
            const double centre = (i + 0.5) * scale - 0.5;
            int j0 = int(std::floor(centre));
            const float t = float(centre - j0);
            int j1 = j0 + 1;
            j0 = std::clamp(j0, 0, sourceLength - 1);
            j1 = std::clamp(j1, 0, sourceLength - 1);
            c.first = sourceStart + j0;
            if (j1 == j0) {
                c.weights = {1.0f};
            } else {
                c.weights = {1.0f - t, t};
            }
        }
    }
    return result;
}

// Signed distance from a point to a rounded box (negative inside).
float RoundBoxDistance(float px, float py, float cx, float cy, float hx, float hy, float r) {
    const float qx = std::fabs(px - cx) - (hx - r), qy = std::fabs(py - cy) - (hy - r);
    const float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - r;
}

template <typename CoverageFn>
void FillCoverage(Surface& s, float x, float y, float w, float h, uint32_t argb, int opacity,
                  CoverageFn coverage) {
    const uint32_t colour = Premultiply(argb, opacity);
    if (Channel(colour, 24) == 0 || w <= 0 || h <= 0) return;
    const int x0 = std::max(0, int(std::floor(x))), y0 = std::max(0, int(std::floor(y)));
    const int x1 = std::min(s.width, int(std::ceil(x + w))),
              y1 = std::min(s.height, int(std::ceil(y + h)));
    for (int py = y0; py < y1; ++py) {
        for (int px = x0; px < x1; ++px) {
            const float cover = coverage(px + 0.5f, py + 0.5f);
            if (cover <= 0.0f) continue;
            const uint32_t src = cover >= 1.0f
                                     ? colour
                                     : ScalePremultiplied(colour, uint32_t(cover * 255.0f + 0.5f));
            s.At(px, py) = BlendOver(s.At(px, py), src);
        }
    }
}
}  // namespace

Surface SurfaceOf(PixelImage& image) {
    return Surface{image.pixels.data(), image.width, image.height, image.width};
}

uint32_t Premultiply(uint32_t argb, int opacity) {
    const uint32_t a = Div255(Channel(argb, 24) * uint32_t(std::clamp(opacity, 0, 255)));
    return a << 24 | Div255(Channel(argb, 16) * a) << 16 | Div255(Channel(argb, 8) * a) << 8 |
           Div255(Channel(argb, 0) * a);
}

uint32_t BlendOver(uint32_t dst, uint32_t src) {
    const uint32_t sa = Channel(src, 24);
    if (sa == 255) return src;
    if (sa == 0) return dst;
    const uint32_t inv = 255 - sa;
    return (Channel(src, 24) + Div255(Channel(dst, 24) * inv)) << 24 |
           (Channel(src, 16) + Div255(Channel(dst, 16) * inv)) << 16 |
           (Channel(src, 8) + Div255(Channel(dst, 8) * inv)) << 8 |
           (Channel(src, 0) + Div255(Channel(dst, 0) * inv));
}

uint32_t MixColour(uint32_t a, uint32_t b, int t) {
    t = std::clamp(t, 0, 255);
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8)
        out |= Div255(Channel(a, shift) * (255 - t) + Channel(b, shift) * t) << shift;
    return out;
}

void FillRect(Surface& s, int x, int y, int w, int h, uint32_t argb, int opacity) {
    const uint32_t colour = Premultiply(argb, opacity);
    if (Channel(colour, 24) == 0) return;
    const int x0 = std::max(0, x), y0 = std::max(0, y);
    const int x1 = std::min(s.width, x + w), y1 = std::min(s.height, y + h);
    for (int py = y0; py < y1; ++py)
        for (int px = x0; px < x1; ++px) s.At(px, py) = BlendOver(s.At(px, py), colour);
}

void FillRoundRect(Surface& s, float x, float y, float w, float h, float radius, uint32_t argb,
                   int opacity) {
    const float hx = w / 2, hy = h / 2, r = std::clamp(radius, 0.0f, std::min(hx, hy));
    FillCoverage(s, x, y, w, h, argb, opacity, [&](float px, float py) {
        return std::clamp(0.5f - RoundBoxDistance(px, py, x + hx, y + hy, hx, hy, r), 0.0f, 1.0f);
    });
}

void StrokeRoundRect(Surface& s, float x, float y, float w, float h, float radius, float thickness,
                     uint32_t argb, int opacity) {
    const float hx = w / 2, hy = h / 2, r = std::clamp(radius, 0.0f, std::min(hx, hy));
    FillCoverage(s, x, y, w, h, argb, opacity, [&](float px, float py) {
        const float d = RoundBoxDistance(px, py, x + hx, y + hy, hx, hy, r);
        return std::clamp(0.5f - d, 0.0f, 1.0f) - std::clamp(0.5f - (d + thickness), 0.0f, 1.0f);
    });
}

void ClearRect(Surface& s, int x, int y, int w, int h) {
    const int x0 = std::max(0, x), y0 = std::max(0, y);
    const int x1 = std::min(s.width, x + w), y1 = std::min(s.height, y + h);
    for (int py = y0; py < y1; ++py)
        for (int px = x0; px < x1; ++px) s.At(px, py) = 0;
}

void SealGdiAlpha(Surface& s) {
    for (int py = 0; py < s.height; ++py)
        for (int px = 0; px < s.width; ++px)
            if ((s.At(px, py) >> 24) == 0) s.At(px, py) |= 0xFF000000;
}

PixelImage Resample(const PixelImage& image, const PixelRect& source, int outWidth, int outHeight) {
    PixelImage out;
    if (image.Empty() || outWidth <= 0 || outHeight <= 0 || source.width <= 0 ||
        source.height <= 0 || source.x < 0 || source.y < 0 ||
        source.x + source.width > image.width || source.y + source.height > image.height)
        return out;
    out.width = outWidth;
    out.height = outHeight;
    out.pixels.assign(size_t(outWidth) * outHeight, 0);
    const auto columns = Contributions(source.x, source.width, outWidth);
    const auto rows = Contributions(source.y, source.height, outHeight);
    // Horizontal pass into floats, then vertical pass into the result.
    std::vector<float> mid(size_t(outWidth) * source.height * 4);
    for (int y = 0; y < source.height; ++y) {
        for (int x = 0; x < outWidth; ++x) {
            float acc[4] = {0, 0, 0, 0};
            const Contribution& c = columns[x];
            for (size_t k = 0; k < c.weights.size(); ++k) {
                const uint32_t p = image.At(c.first + int(k), source.y + y);
                for (int ch = 0; ch < 4; ++ch) acc[ch] += c.weights[k] * float(Channel(p, ch * 8));
            }
            float* m = &mid[(size_t(y) * outWidth + x) * 4];
            for (int ch = 0; ch < 4; ++ch) m[ch] = acc[ch];
        }
    }
    for (int y = 0; y < outHeight; ++y) {
        const Contribution& c = rows[y];
        for (int x = 0; x < outWidth; ++x) {
            float acc[4] = {0, 0, 0, 0};
            for (size_t k = 0; k < c.weights.size(); ++k) {
                const float* m = &mid[(size_t(c.first - source.y + int(k)) * outWidth + x) * 4];
                for (int ch = 0; ch < 4; ++ch) acc[ch] += c.weights[k] * m[ch];
            }
            uint32_t value[4];
            for (int ch = 0; ch < 4; ++ch)
                value[ch] = uint32_t(std::clamp(acc[ch] + 0.5f, 0.0f, 255.0f));
            // Keep premultiplied colour channels within alpha after rounding.
            for (int ch = 0; ch < 3; ++ch) value[ch] = std::min(value[ch], value[3]);
            out.pixels[size_t(y) * outWidth + x] =
                value[3] << 24 | value[2] << 16 | value[1] << 8 | value[0];
        }
    }
    return out;
}

void DrawImage(Surface& s, const PixelImage& image, const PixelRect& source, const PixelRect& dest,
               int opacity) {
    if (dest.width <= 0 || dest.height <= 0 || opacity <= 0) return;
    PixelImage scaled;
    const PixelImage* from = &image;
    PixelRect src = source;
    if (source.width != dest.width || source.height != dest.height || source.x < 0 ||
        source.y < 0) {
        scaled = Resample(image, source, dest.width, dest.height);
        if (scaled.Empty()) return;
        from = &scaled;
        src = PixelRect{0, 0, dest.width, dest.height};
    } else if (source.x + source.width > image.width || source.y + source.height > image.height) {
        return;
    }
    const uint32_t factor = uint32_t(std::min(opacity, 255));
    for (int y = 0; y < dest.height; ++y) {
        const int py = dest.y + y;
        if (py < 0 || py >= s.height) continue;
        for (int x = 0; x < dest.width; ++x) {
            const int px = dest.x + x;
            if (px < 0 || px >= s.width) continue;
            const uint32_t p = ScalePremultiplied(from->At(src.x + x, src.y + y), factor);
            s.At(px, py) = BlendOver(s.At(px, py), p);
        }
    }
}

void DrawNineGrid(Surface& s, const PixelImage& image, const PixelRect& source, int marginX,
                  int marginY, const PixelRect& dest, int opacity) {
    if (dest.width <= 0 || dest.height <= 0) return;
    const int mx = std::clamp(marginX, 0, std::min(source.width / 2, dest.width / 2));
    const int my = std::clamp(marginY, 0, std::min(source.height / 2, dest.height / 2));
    const int sxs[4] = {source.x, source.x + mx, source.x + source.width - mx,
                        source.x + source.width};
    const int sys[4] = {source.y, source.y + my, source.y + source.height - my,
                        source.y + source.height};
    const int dxs[4] = {dest.x, dest.x + mx, dest.x + dest.width - mx, dest.x + dest.width};
    const int dys[4] = {dest.y, dest.y + my, dest.y + dest.height - my, dest.y + dest.height};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const PixelRect src{sxs[col], sys[row], sxs[col + 1] - sxs[col],
                                sys[row + 1] - sys[row]};
            const PixelRect dst{dxs[col], dys[row], dxs[col + 1] - dxs[col],
                                dys[row + 1] - dys[row]};
            if (src.width > 0 && src.height > 0) DrawImage(s, image, src, dst, opacity);
        }
    }
}
