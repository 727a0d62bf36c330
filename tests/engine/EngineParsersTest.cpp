// The engine's byte parsers and pixel routines on well-formed, truncated
// and random input.
#include <gtest/gtest.h>

#include <random>

#include "engine/AttributeBlock.h"
#include "engine/IconFile.h"
#include "engine/Pixels.h"
#include "engine/SkinDescriptor.h"
#include "engine/StoredListItems.h"
#include "tests/support/GuardedBuffer.h"
#include "tests/engine/SkinDataBuilder.h"

namespace {
Bytes ToolbarSkin() {
    SkinRecipe recipe;
    recipe.values = PanelValues();
    recipe.parts = {{6, 3, 0, 0, 0, 4, 4, 1, 1}};
    recipe.images = {Bytes{1, 2, 3, 4, 5}, Bytes{9, 9}};
    return BuildSkinDescriptor(recipe);
}

Bytes ToolbarBlock() {
    std::vector<EngineValue> values = {EngineValue::Word(1),
                                       EngineValue::Block(kMarkerSkin, ToolbarSkin()),
                                       EngineValue::Word(36)};
    while (values.size() < 17) values.push_back(EngineValue::Word(int32_t(values.size())));
    return BuildAttributeBlock(values);
}

Bytes RandomBytes(std::mt19937& random, size_t size) {
    Bytes bytes(size);
    for (uint8_t& b : bytes) b = uint8_t(random());
    return bytes;
}
}  // namespace

TEST(EngineAttributes, StoredBlockIsReadAndWrittenBackUnchanged) {
    const Bytes block = ToolbarBlock();
    AttributeSet set = ParseAttributeBlock(ControlKind::Toolbar, block.data(), block.size());
    ASSERT_TRUE(set.fromStore);
    EXPECT_EQ(1, set.Word(AttrIndex::kVisible));
    EXPECT_EQ(36, set.Word(AttrIndex::kButtonHeight));
    EXPECT_EQ(16, set.Word(16));
    ASSERT_NE(nullptr, set.Block(AttrIndex::kSkin));
    EXPECT_EQ(ToolbarSkin(), *set.Block(AttrIndex::kSkin));
    EXPECT_EQ(ValueArea(block), SerialiseValues(set));
}

TEST(EngineAttributes, DamagedBlocksFallBackToTheDefaultLook) {
    const Bytes block = ToolbarBlock();
    // Every truncation, placed against an inaccessible page.
    for (size_t length = 0; length < block.size(); ++length) {
        GuardedBuffer guarded(Bytes(block.begin(), block.begin() + length));
        AttributeSet set =
            ParseAttributeBlock(ControlKind::Toolbar, guarded.Data(), guarded.Size());
        ASSERT_FALSE(set.fromStore) << length;
        EXPECT_EQ(1, set.Word(AttrIndex::kVisible));
        EXPECT_EQ(36, set.Word(AttrIndex::kButtonHeight));
    }
    Bytes wrongVersion = block;
    wrongVersion[0] = 11;
    EXPECT_FALSE(ParseAttributeBlock(ControlKind::Toolbar, wrongVersion.data(), wrongVersion.size())
                     .fromStore);
    Bytes hugeLength = block;
    hugeLength[16] = 0xFF;  // the skin block's length word
    hugeLength[17] = 0xFF;
    hugeLength[18] = 0xFF;
    hugeLength[19] = 0x7F;
    EXPECT_FALSE(
        ParseAttributeBlock(ControlKind::Toolbar, hugeLength.data(), hugeLength.size()).fromStore);
    EXPECT_FALSE(ParseAttributeBlock(ControlKind::Toolbar, nullptr, 100).fromStore);
}

TEST(EngineAttributes, BlockUnderAnotherMarkerIsSkippedNotUsed) {
    std::vector<EngineValue> values = {EngineValue::Word(1),
                                       EngineValue::Block(kMarkerImage, Bytes{1, 2, 3}),
                                       EngineValue::Word(44)};
    while (values.size() < 17) values.push_back(EngineValue::Word(0));
    const Bytes block = BuildAttributeBlock(values);
    AttributeSet set = ParseAttributeBlock(ControlKind::Toolbar, block.data(), block.size());
    ASSERT_TRUE(set.fromStore);
    EXPECT_EQ(nullptr, set.Block(AttrIndex::kSkin));
    EXPECT_EQ(44, set.Word(AttrIndex::kButtonHeight));
}

TEST(EngineAttributes, RandomBlocksNeverReadOutside) {
    std::mt19937 random(7);
    const ControlKind kinds[] = {ControlKind::WindowEx, ControlKind::PictureBox,
                                 ControlKind::Toolbar, ControlKind::Listbox,
                                 ControlKind::IcoListbox};
    for (int round = 0; round < 3000; ++round) {
        Bytes bytes = RandomBytes(random, random() % 300);
        if (bytes.size() >= 4 && round % 2) bytes[0] = 12, bytes[1] = bytes[2] = bytes[3] = 0;
        // Small lengths make it likely that the parser gets deep into the block.
        for (size_t i = 8; i + 4 <= bytes.size(); i += 4)
            if (random() % 3 == 0) bytes[i + 1] = bytes[i + 2] = bytes[i + 3] = 0;
        GuardedBuffer guarded(bytes);
        ParseAttributeBlock(kinds[round % 5], guarded.Data(), guarded.Size());
    }
}

TEST(EngineSkin, DescriptorValuesPartsAndImages) {
    const Bytes skin = ToolbarSkin();
    auto parsed = ParseSkinDescriptor(skin.data(), skin.size());
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(2700, parsed->kind);
    EXPECT_EQ(u"test skin", parsed->name);
    EXPECT_EQ(0xFF3C8CE7u, parsed->values[SkinValue::kAccent]);
    EXPECT_EQ(13u, parsed->values[SkinValue::kFontSize]);
    ASSERT_EQ(1u, parsed->parts.size());
    EXPECT_EQ(3, parsed->parts[0].state);
    ASSERT_EQ(2u, parsed->images.size());
    EXPECT_EQ(Bytes({1, 2, 3, 4, 5}),
              Bytes(skin.begin() + parsed->images[0].offset,
                    skin.begin() + parsed->images[0].offset + parsed->images[0].length));
}

TEST(EngineSkin, InconsistentDescriptorsAreRefused) {
    const Bytes skin = ToolbarSkin();
    for (size_t length = 0; length < skin.size(); ++length) {
        GuardedBuffer guarded(Bytes(skin.begin(), skin.begin() + length));
        EXPECT_FALSE(ParseSkinDescriptor(guarded.Data(), guarded.Size()).has_value()) << length;
    }
    // Each length, count or offset of the header pushed out of range (the
    // control kind at 20 is free).
    for (size_t field = 16; field < 56; field += 4) {
        if (field == 20) continue;
        Bytes damaged = skin;
        damaged[field + 3] = 0x40;
        GuardedBuffer guarded(damaged);
        EXPECT_FALSE(ParseSkinDescriptor(guarded.Data(), guarded.Size()).has_value()) << field;
    }
    std::mt19937 random(11);
    for (int round = 0; round < 3000; ++round) {
        Bytes damaged = skin;
        for (int k = 0; k < 4; ++k) damaged[random() % damaged.size()] = uint8_t(random());
        GuardedBuffer guarded(damaged);
        ParseSkinDescriptor(guarded.Data(), guarded.Size());
    }
}

TEST(EngineListItems, ItemsTruncationAndAbsurdCounts) {
    const Bytes items = BuildStoredListItems(
        {{Bytes{1, 2, 3}, u"定时关机", 30, 0xFF000000}, {Bytes{}, u"列表", 28, 0xFF112233}});
    auto parsed = ParseStoredListItems(items.data(), items.size());
    ASSERT_TRUE(parsed.has_value());
    ASSERT_EQ(2u, parsed->size());
    EXPECT_EQ(u"定时关机", (*parsed)[0].text);
    EXPECT_EQ(Bytes({1, 2, 3}), (*parsed)[0].picture);
    EXPECT_TRUE((*parsed)[1].picture.empty());
    EXPECT_EQ(28, (*parsed)[1].height);
    EXPECT_EQ(0xFF112233u, (*parsed)[1].textColour);
    for (size_t length = 0; length < items.size(); ++length) {
        GuardedBuffer guarded(Bytes(items.begin(), items.begin() + length));
        EXPECT_FALSE(ParseStoredListItems(guarded.Data(), guarded.Size()).has_value()) << length;
    }
    Bytes absurd = items;
    absurd[4] = absurd[5] = absurd[6] = 0xFF;  // count
    EXPECT_FALSE(ParseStoredListItems(absurd.data(), absurd.size()).has_value());
}

TEST(EngineIcons, FrameChoiceForTheDrawingSize) {
    std::vector<IconFrameInfo> frames(4);
    frames[0].width = frames[0].height = 16, frames[0].bitCount = 32;
    frames[1].width = frames[1].height = 48, frames[1].bitCount = 8;
    frames[2].width = frames[2].height = 48, frames[2].bitCount = 32;
    frames[3].width = frames[3].height = 256, frames[3].bitCount = 32;
    EXPECT_EQ(0, ChooseIconFrame(frames, 16));
    EXPECT_EQ(2, ChooseIconFrame(frames, 32));  // smallest that is large enough, deeper colour wins
    EXPECT_EQ(2, ChooseIconFrame(frames, 48));
    EXPECT_EQ(3, ChooseIconFrame(frames, 64));
    EXPECT_EQ(3, ChooseIconFrame(frames, 512));  // none large enough: the largest
    EXPECT_EQ(-1, ChooseIconFrame({}, 48));
}

TEST(EngineIcons, ClassicFramesWithMaskAndPalette) {
    // 2 x 2, 4 bits per pixel, palette red/green, mask hides the top-left pixel.
    Bytes dib;
    for (uint32_t v : {40u, 2u, 4u}) PutU32(dib, v);
    PutU16(dib, 1);
    PutU16(dib, 4);
    for (int i = 0; i < 6; ++i) PutU32(dib, 0);
    PutU32(dib, 0x00FF0000);  // palette 0: red
    PutU32(dib, 0x0000FF00);  // palette 1: green
    for (int i = 2; i < 16; ++i) PutU32(dib, 0);
    PutU32(dib, 0x00000010);  // bottom row: pixel 0 index 1, pixel 1 index 0
    PutU32(dib, 0x00000001);  // top row: pixel 0 index 0, pixel 1 index 1
    PutU32(dib, 0x00000000);  // mask bottom row
    PutU32(dib, 0x00000080);  // mask top row: first pixel transparent
    PixelImage image;
    ASSERT_TRUE(DecodeIconDib(dib.data(), dib.size(), image));
    ASSERT_EQ(2, image.width);
    ASSERT_EQ(2, image.height);
    EXPECT_EQ(0u, image.At(0, 0));
    EXPECT_EQ(0xFF00FF00u, image.At(1, 0));
    EXPECT_EQ(0xFF00FF00u, image.At(0, 1));
    EXPECT_EQ(0xFFFF0000u, image.At(1, 1));

    for (size_t length = 0; length < dib.size(); ++length) {
        GuardedBuffer guarded(Bytes(dib.begin(), dib.begin() + length));
        PixelImage ignored;
        EXPECT_FALSE(DecodeIconDib(guarded.Data(), guarded.Size(), ignored)) << length;
    }
    Bytes huge = dib;
    huge[5] = 0x7F;  // width
    PixelImage ignored;
    EXPECT_FALSE(DecodeIconDib(huge.data(), huge.size(), ignored));
}

TEST(EngineIcons, DirectorySkipsFramesOutsideTheFile) {
    Bytes icon = BuildIcon(
        {{SolidImage(16, 16, 0xFFFF0000), false}, {SolidImage(32, 32, 0xFF0000FF), false}});
    ASSERT_EQ(2u, ParseIconDirectory(icon.data(), icon.size()).size());
    Bytes damaged = icon;
    damaged[6 + 16 + 12 + 3] = 0x7F;  // second frame's offset
    auto frames = ParseIconDirectory(damaged.data(), damaged.size());
    ASSERT_EQ(1u, frames.size());
    EXPECT_EQ(16, frames[0].width);
    std::mt19937 random(3);
    for (int round = 0; round < 2000; ++round) {
        Bytes bytes = icon;
        for (int k = 0; k < 3; ++k) bytes[random() % 60] = uint8_t(random());
        GuardedBuffer guarded(bytes);
        for (const IconFrameInfo& f : ParseIconDirectory(guarded.Data(), guarded.Size())) {
            PixelImage ignored;
            if (!f.png) DecodeIconDib(guarded.Data() + f.offset, f.size, ignored);
        }
    }
}

TEST(EnginePixels, CompositingAndScaling) {
    EXPECT_EQ(0x80400000u, Premultiply(0x80800000));
    EXPECT_EQ(0xFF804000u, BlendOver(0xFF000000, 0x80804000));
    EXPECT_EQ(0xFF102030u, BlendOver(0xFF102030, 0));

    // A uniform translucent picture stays uniform when shrunk or enlarged.
    const PixelImage solid = SolidImage(64, 64, 0x80FF8000);
    for (int side : {48, 17, 100}) {
        PixelImage scaled = Resample(solid, PixelRect{0, 0, 64, 64}, side, side);
        ASSERT_EQ(side, scaled.width);
        for (uint32_t p : scaled.pixels) ASSERT_EQ(solid.pixels[0], p) << side;
    }
    EXPECT_TRUE(
        Resample(solid, PixelRect{10, 10, 60, 60}, 8, 8).Empty());  // source outside the picture

    // Rounded corners are anti-aliased, the inside is solid, outside untouched.
    PixelImage canvas = SolidImage(20, 20, 0);
    Surface s = SurfaceOf(canvas);
    FillRoundRect(s, 0, 0, 20, 20, 6, 0xFFFFFFFF);
    EXPECT_EQ(0u, canvas.At(0, 0));
    EXPECT_EQ(0xFFFFFFFFu, canvas.At(10, 10));
    const uint32_t edge = canvas.At(1, 2) >> 24;
    EXPECT_GT(edge, 0u);
    EXPECT_LT(edge, 255u);
    // Rectangles reaching past the edges are clipped.
    const uint32_t top = canvas.At(10, 0);
    FillRect(s, -5, -5, 100, 3, 0xFF00FF00);
    EXPECT_EQ(top, canvas.At(10, 0));
    FillRect(s, 18, 18, 100, 100, 0xFF00FF00);
    EXPECT_EQ(0xFF00FF00u, canvas.At(19, 19));
}
