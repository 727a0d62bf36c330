#include "engine/Canvas.h"

#include <map>
#include <utility>

namespace {
std::map<std::pair<int, bool>, HFONT> gFonts;
}

HFONT UiFont(int pixelSize, bool bold) {
    auto key = std::make_pair(pixelSize, bold);
    auto found = gFonts.find(key);
    if (found != gFonts.end()) return found->second;
    LOGFONTW font{};
    font.lfHeight = -pixelSize;
    font.lfWeight = bold ? FW_SEMIBOLD : FW_NORMAL;
    font.lfCharSet = GB2312_CHARSET;
    font.lfOutPrecision = OUT_TT_PRECIS;
    font.lfQuality = CLEARTYPE_QUALITY;
    // "Microsoft YaHei"; its Chinese name would need a UTF-16 literal, and
    // the English one is what the font registers under on every system.
    lstrcpyW(font.lfFaceName, L"Microsoft YaHei");
    HFONT created = CreateFontIndirectW(&font);
    if (created) gFonts[key] = created;
    return created;
}

void ReleaseFonts() {
    for (auto& entry : gFonts) DeleteObject(entry.second);
    gFonts.clear();
}

Canvas::Canvas(HDC reference, int width, int height) : dc_(reference) {
    if (!dc_.Get() || width <= 0 || height <= 0) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    bitmap_.Reset(CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
    if (!bitmap_.Get() || !bits_) {
        bits_ = nullptr;
        return;
    }
    previous_ = SelectObject(dc_.Get(), bitmap_.Get());
    surface_ = Surface{static_cast<uint32_t*>(bits_), width, height, width};
    SetBkMode(dc_.Get(), TRANSPARENT);
}

Canvas::~Canvas() {
    if (previous_) SelectObject(dc_.Get(), previous_);
}

Surface& Canvas::Pixels() {
    GdiFlush();
    return surface_;
}

void Canvas::Text(const std::wstring& text, RECT box, uint32_t colour, int pixelSize, bool bold,
                  UINT format) {
    if (!Ok() || text.empty()) return;
    HFONT font = UiFont(pixelSize, bold);
    ScopedSelect select(dc_.Get(), font);
    SetTextColor(dc_.Get(), RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF));
    DrawTextW(dc_.Get(), text.c_str(), int(text.size()), &box, format | DT_NOPREFIX);
    // The pixel routines write the DIB directly: finish GDI's batch first.
    GdiFlush();
}

void Canvas::PresentTo(HDC target, int x, int y) {
    if (!Ok()) return;
    GdiFlush();
    SealGdiAlpha(surface_);
    BitBlt(target, x, y, surface_.width, surface_.height, dc_.Get(), 0, 0, SRCCOPY);
}
