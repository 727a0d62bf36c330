// The back buffer a control paints into: a 32-bit DIB section that the
// pixel routines draw on directly and GDI draws text on, copied to the
// window in one blit so nothing flickers.
#pragma once
#include <windows.h>

#include <string>

#include "engine/GdiGuards.h"
#include "engine/Pixels.h"

class Canvas {
  public:
    Canvas(HDC reference, int width, int height);
    bool Ok() const { return bits_ != nullptr; }
    int Width() const { return surface_.width; }
    int Height() const { return surface_.height; }

    // The pixels, with any pending GDI drawing finished first.
    Surface& Pixels();
    // Single-line or word-wrapped text in the engine's UI font; colour is
    // 0xAARRGGBB (alpha ignored). format: DrawText flags.
    void Text(const std::wstring& text, RECT box, uint32_t colour, int pixelSize, bool bold,
              UINT format);
    void PresentTo(HDC target, int x, int y);

  private:
    ScopedMemoryDc dc_;
    ScopedGdiObject bitmap_;
    HGDIOBJ previous_ = nullptr;
    void* bits_ = nullptr;
    Surface surface_;

  public:
    ~Canvas();
};

// The UI font ("Microsoft YaHei", GB2312 character set, anti-aliased), one
// per size and weight, shared by every control.
HFONT UiFont(int pixelSize, bool bold);
void ReleaseFonts();
