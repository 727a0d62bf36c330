#include "tests/engine/SkinDataBuilder.h"

#include <windows.h>
#include <gdiplus.h>
#include <shlwapi.h>

#include <cstring>

void PutU32(Bytes& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}
void PutU16(Bytes& out, uint16_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void PutBytes(Bytes& out, const Bytes& bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}
void PutUtf16(Bytes& out, const std::u16string& text) {
    for (char16_t c : text) PutU16(out, uint16_t(c));
    PutU16(out, 0);
}

static void SetU32(Bytes& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = uint8_t(v >> (8 * i));
}

Bytes BuildSkinDescriptor(const SkinRecipe& recipe) {
    Bytes out = {0xFF, 0xD8, 0xFF, 0xE1, 0x00, 'S', 'k', 'i', 'n', 'U', 'i', '+'};
    PutU32(out, 17);
    for (int i = 0; i < 10; ++i) PutU32(out, 0);  // filled below
    const size_t nameStart = out.size();
    PutUtf16(out, recipe.name);
    const size_t nameLength = out.size() - nameStart;
    PutUtf16(out, u"tests");
    const size_t labelLength = out.size() - nameStart - nameLength;
    const size_t valueOffset = out.size();
    for (uint32_t v : recipe.values) PutU32(out, v);
    const size_t partOffset = out.size();
    for (const PartRecord& p : recipe.parts)
        for (int32_t w :
             {p.id, p.state, p.image, p.x, p.y, p.width, p.height, p.marginX, p.marginY})
            PutU32(out, uint32_t(w));
    const size_t imageOffset = out.size();
    const size_t n = recipe.images.size();
    out.resize(out.size() + 16 * n, 0);  // digests: not checked by the engine
    for (const Bytes& image : recipe.images) PutU32(out, uint32_t(image.size()));
    const size_t offsetsAt = out.size();
    for (size_t i = 0; i < n; ++i) PutU32(out, 0);
    for (size_t i = 0; i < n; ++i) {
        SetU32(out, offsetsAt + 4 * i, uint32_t(out.size()));
        PutBytes(out, recipe.images[i]);
    }
    SetU32(out, 16, uint32_t(out.size()));
    SetU32(out, 20, uint32_t(recipe.kind));
    SetU32(out, 24, uint32_t(n));
    SetU32(out, 28, uint32_t(imageOffset));
    SetU32(out, 32, uint32_t(recipe.parts.size()));
    SetU32(out, 36, uint32_t(partOffset));
    SetU32(out, 40, uint32_t(recipe.values.size()));
    SetU32(out, 44, uint32_t(valueOffset));
    SetU32(out, 48, uint32_t(nameLength));
    SetU32(out, 52, uint32_t(labelLength));
    return out;
}

Bytes BuildAttributeBlock(const std::vector<EngineValue>& values, int32_t pageWord) {
    Bytes out;
    PutU32(out, 12);
    PutU32(out, uint32_t(pageWord));
    for (const EngineValue& v : values) {
        PutU32(out, uint32_t(v.word));
        if (v.block) {
            PutU32(out, uint32_t(v.bytes.size()));
            PutBytes(out, v.bytes);
        }
    }
    return out;
}

Bytes ValueArea(const Bytes& block) {
    return Bytes(block.begin() + 8, block.end());
}

Bytes BuildStoredListItems(const std::vector<ListItemSpec>& items) {
    Bytes out;
    PutU32(out, 1);
    PutU32(out, uint32_t(items.size()));
    for (const ListItemSpec& item : items) {
        PutU32(out, uint32_t(item.png.size()));
        PutBytes(out, item.png);
        Bytes text;
        PutUtf16(text, item.text);
        PutU32(out, uint32_t(text.size()));
        PutBytes(out, text);
        PutU32(out, 0);
        PutU32(out, uint32_t(item.height));
        PutU32(out, item.colour);
    }
    return out;
}

PixelImage SolidImage(int width, int height, uint32_t colour) {
    PixelImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(size_t(width) * height, Premultiply(colour));
    return image;
}

PixelImage TileImage(int side, uint32_t colour) {
    PixelImage image = SolidImage(side, side, 0);
    Surface s = SurfaceOf(image);
    const float m = side * 0.06f;
    FillRoundRect(s, m, m, side - 2 * m, side - 2 * m, side * 0.22f, colour);
    FillRoundRect(s, side * 0.3f, side * 0.3f, side * 0.4f, side * 0.4f, side * 0.1f, 0xFFFFFFFF,
                  200);
    return image;
}

Bytes EncodePng(const PixelImage& image) {
    static ULONG_PTR token = 0;
    if (!token) {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&token, &input, nullptr);
    }
    Gdiplus::GpBitmap* bitmap = nullptr;
    Gdiplus::DllExports::GdipCreateBitmapFromScan0(
        image.width, image.height, image.width * 4, PixelFormat32bppPARGB,
        reinterpret_cast<BYTE*>(const_cast<uint32_t*>(image.pixels.data())), &bitmap);
    Bytes out;
    if (!bitmap) return out;
    IStream* stream = SHCreateMemStream(nullptr, 0);
    // The PNG encoder's class id.
    const CLSID png = {
        0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    if (stream &&
        Gdiplus::DllExports::GdipSaveImageToStream(bitmap, stream, &png, nullptr) == Gdiplus::Ok) {
        STATSTG stat{};
        stream->Stat(&stat, STATFLAG_NONAME);
        out.resize(size_t(stat.cbSize.QuadPart));
        LARGE_INTEGER zero{};
        stream->Seek(zero, STREAM_SEEK_SET, nullptr);
        ULONG read = 0;
        stream->Read(out.data(), ULONG(out.size()), &read);
        out.resize(read);
    }
    if (stream) stream->Release();
    Gdiplus::DllExports::GdipDisposeImage(bitmap);
    return out;
}

Bytes BuildIcon(const std::vector<IconFrameSpec>& frames) {
    std::vector<Bytes> data;
    for (const IconFrameSpec& f : frames) {
        if (f.png) {
            data.push_back(EncodePng(f.image));
            continue;
        }
        Bytes dib;
        const int w = f.image.width, h = f.image.height;
        PutU32(dib, 40);
        PutU32(dib, uint32_t(w));
        PutU32(dib, uint32_t(2 * h));
        PutU16(dib, 1);
        PutU16(dib, 32);
        for (int i = 0; i < 6; ++i) PutU32(dib, 0);
        for (int y = h - 1; y >= 0; --y)
            for (int x = 0; x < w; ++x) {
                // Stored straight (not premultiplied); the test images are opaque or clear.
                const uint32_t p = f.image.At(x, y);
                PutU32(dib, p);
            }
        const int maskStride = (w + 31) / 32 * 4;
        dib.resize(dib.size() + size_t(maskStride) * h, 0);
        data.push_back(dib);
    }
    Bytes out;
    PutU16(out, 0);
    PutU16(out, 1);
    PutU16(out, uint16_t(frames.size()));
    size_t offset = 6 + 16 * frames.size();
    for (size_t i = 0; i < frames.size(); ++i) {
        out.push_back(uint8_t(frames[i].image.width >= 256 ? 0 : frames[i].image.width));
        out.push_back(uint8_t(frames[i].image.height >= 256 ? 0 : frames[i].image.height));
        out.push_back(0);
        out.push_back(0);
        PutU16(out, 1);
        PutU16(out, 32);
        PutU32(out, uint32_t(data[i].size()));
        PutU32(out, uint32_t(offset));
        offset += data[i].size();
    }
    for (const Bytes& d : data) PutBytes(out, d);
    return out;
}

Bytes ByteSetBlock(const Bytes& bytes) {
    Bytes out;
    PutU32(out, 1);
    PutU32(out, uint32_t(bytes.size()));
    PutBytes(out, bytes);
    return out;
}

std::vector<uint32_t> PanelValues() {
    return {0xF0202428, 0xFF3A3F47, 0xFFE6E8EB, 0xFF30363E, 0xFF28405E,
            0xFFFFFFFF, 0xFF3C8CE7, 13,         6};
}
