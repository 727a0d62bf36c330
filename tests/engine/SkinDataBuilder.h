// Builds the stored data the engine reads (attribute blocks, skin
// descriptors, stored list items, icon files) for tests, following the
// layout the UI description writes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/Pixels.h"

using Bytes = std::vector<uint8_t>;

void PutU32(Bytes& out, uint32_t value);
void PutU16(Bytes& out, uint16_t value);
void PutBytes(Bytes& out, const Bytes& bytes);
void PutUtf16(Bytes& out, const std::u16string& text);  // with terminator

struct PartRecord {
    int32_t id, state, image, x, y, width, height, marginX, marginY;
};

struct SkinRecipe {
    int32_t kind = 2700;
    std::vector<uint32_t> values;  // the value section
    std::vector<PartRecord> parts;
    std::vector<Bytes> images;  // PNG bytes
    std::u16string name = u"test skin";
};
Bytes BuildSkinDescriptor(const SkinRecipe& recipe);

// One engine value: a plain word, or a (marker, bytes) block.
struct EngineValue {
    bool block = false;
    int32_t word = 0;
    Bytes bytes;
    static EngineValue Word(int32_t w) { return EngineValue{false, w, {}}; }
    static EngineValue Block(int32_t marker, Bytes b) {
        return EngineValue{true, marker, std::move(b)};
    }
};
Bytes BuildAttributeBlock(const std::vector<EngineValue>& values, int32_t pageWord = 0);
// The value area alone (what the block holds after version and page word).
Bytes ValueArea(const Bytes& block);

struct ListItemSpec {
    Bytes png;
    std::u16string text;
    int32_t height = 30;
    uint32_t colour = 0xFF000000;
};
Bytes BuildStoredListItems(const std::vector<ListItemSpec>& items);

// A square picture: a rounded tile of `colour` on transparency.
PixelImage TileImage(int side, uint32_t colour);
PixelImage SolidImage(int width, int height, uint32_t colour);
Bytes EncodePng(const PixelImage& image);

// Icon file frames: classic 32-bit DIB or PNG.
struct IconFrameSpec {
    PixelImage image;
    bool png = false;
};
Bytes BuildIcon(const std::vector<IconFrameSpec>& frames);

// A byte-set block (1, length, bytes), as the program hands images over.
Bytes ByteSetBlock(const Bytes& bytes);

// Dark panel colours in the skin's value order.
std::vector<uint32_t> PanelValues();
