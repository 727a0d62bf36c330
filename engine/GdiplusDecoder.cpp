#include "engine/GdiplusDecoder.h"

#include <windows.h>
#include <gdiplus.h>
#include <shlwapi.h>

#include <cstring>

namespace {
ULONG_PTR gGdiplusToken = 0;
bool gGdiplusStarted = false;

// GDI+ is started on first use from the GUI thread (never from DllMain,
// where the loader lock forbids it) and kept for the life of the process.
bool EnsureGdiplus() {
    if (!gGdiplusStarted) {
        Gdiplus::GdiplusStartupInput input;
        gGdiplusStarted = Gdiplus::GdiplusStartup(&gGdiplusToken, &input, nullptr) == Gdiplus::Ok;
    }
    return gGdiplusStarted;
}
}  // namespace

bool DecodeWithGdiplus(const uint8_t* bytes, size_t size, PixelImage& out) {
    if (size == 0 || size > 0x7FFFFFFF || !EnsureGdiplus()) return false;
    IStream* stream = SHCreateMemStream(bytes, UINT(size));
    if (!stream) return false;
    Gdiplus::GpBitmap* bitmap = nullptr;
    bool ok = false;
    if (Gdiplus::DllExports::GdipCreateBitmapFromStream(stream, &bitmap) == Gdiplus::Ok && bitmap) {
        UINT width = 0, height = 0;
        Gdiplus::DllExports::GdipGetImageWidth(bitmap, &width);
        Gdiplus::DllExports::GdipGetImageHeight(bitmap, &height);
        if (width > 0 && height > 0 && width <= 8192 && height <= 8192) {
            Gdiplus::Rect rect(0, 0, INT(width), INT(height));
            Gdiplus::BitmapData data{};
            if (Gdiplus::DllExports::GdipBitmapLockBits(bitmap, &rect, Gdiplus::ImageLockModeRead,
                                                        PixelFormat32bppPARGB,
                                                        &data) == Gdiplus::Ok) {
                out.width = int(width);
                out.height = int(height);
                out.pixels.resize(size_t(width) * height);
                for (UINT y = 0; y < height; ++y)
                    std::memcpy(
                        &out.pixels[size_t(y) * width],
                        static_cast<const uint8_t*>(data.Scan0) + ptrdiff_t(y) * data.Stride,
                        size_t(width) * 4);
                Gdiplus::DllExports::GdipBitmapUnlockBits(bitmap, &data);
                ok = true;
            }
        }
        Gdiplus::DllExports::GdipDisposeImage(bitmap);
    }
    stream->Release();
    return ok;
}
