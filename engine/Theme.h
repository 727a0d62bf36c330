// A control's look: the colours and metrics of its skin descriptor and the
// decoded images of its parts, with a dark default when the skin is missing
// or damaged.
#pragma once
#include <cstdint>
#include <vector>

#include "engine/Picture.h"
#include "engine/SkinDescriptor.h"

struct PartDraw {
    const PixelImage* image = nullptr;
    PixelRect source;
    int marginX = 0;
    int marginY = 0;
};

struct Theme {
    uint32_t background = 0xF0202428;
    uint32_t border = 0xFF3A3F47;
    uint32_t text = 0xFFE6E8EB;
    uint32_t hoverFill = 0xFF30363E;
    uint32_t selectedFill = 0xFF28405E;
    uint32_t selectedText = 0xFFFFFFFF;
    uint32_t accent = 0xFF3C8CE7;
    int fontSize = 13;
    int cornerRadius = 6;
    bool fromSkin = false;

    std::vector<SkinPart> parts;
    std::vector<PictureRef> images;

    // The image region of a part in a state, when the skin has a usable one.
    bool Part(int32_t id, int32_t state, PartDraw& out) const;
};

// descriptor: the embedded descriptor bytes, or null for the default look.
Theme LoadTheme(const std::vector<uint8_t>* descriptor);
