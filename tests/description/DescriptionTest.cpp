// The real stored UI description, read back with the runtime's reader: the
// windows, elements, bindings and options the program relies on, the skinned
// controls' attribute blocks, every skin descriptor's images against their
// digests, the sample list items, and the built-in folder picture.
#include <gtest/gtest.h>
#include <windows.h>
#include <gdiplus.h>
#include <shlwapi.h>
#include <wincrypt.h>

#include <array>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "runtime/process/Runtime.h"
#include "runtime/windows/UiDescription.h"
#include "ui/description/FolderImage.h"
#include "ui/description/HandlerSlots.h"
#include "ui/description/UiIds.h"
#include "ui/description/UiSegment.h"

namespace {

struct Binding {
    int32_t event;
    int slot;
};

// The runtime's shown flag is set on the windows only: the engine governs
// every skinned control's visibility by the control's own attributes.
struct ExpectedElement {
    uint32_t id;
    uint32_t type;
    const char* name;
    int32_t left, top, width, height;
    uint32_t flags;
    std::vector<Binding> events;
};

const std::vector<ExpectedElement>& ExpectedDockWindow() {
    static const std::vector<ExpectedElement> elements = {
        {kDockWindowSelf,
         TypeId::kWindow,
         "",
         50,
         50,
         48,
         40,
         kElementShown,
         {{0, kSlotEmbedDock}, {-2, kSlotTogglePanel}, {8, kSlotDockFirstActivation}}},
        {kDockButtonFace, TypeId::kPictureBoxEx, "图标按钮", 6, 4, 36, 32, 0, {}},
        {kDockSkinRoot, TypeId::kWindowEx, "窗口EX", 4, 4, 24, 24, 0, {{20, kSlotDockHover}}},
    };
    return elements;
}

const std::vector<ExpectedElement>& ExpectedPanelWindow() {
    static const std::vector<ExpectedElement> elements = {
        {kPanelSelf,
         TypeId::kWindow,
         "",
         50,
         50,
         400,
         800,
         kElementShown,
         {{0, kSlotPanelCreated},
          {1, kSlotPanelMayClose},
          {2, kSlotPanelDestroying},
          {-7, kSlotPanelFocused}}},
        {kPanelSampleList,
         TypeId::kListboxEx,
         "扩展列表框",
         8,
         8,
         384,
         90,
         0,
         {{6, kSlotSampleListEvent}}},
        {kPanelMenu, TypeId::kMenuEntry, "", 0, 0, 0, 0, 0, {}},
        {kPanelMenuOpenRoot, TypeId::kMenuEntry, "", 0, 0, 0, 0, 0, {}},
        {kPanelIconList,
         TypeId::kIcoListboxEx,
         "图标列表框",
         101,
         800,
         299,
         247,
         0,
         {{0, kSlotLaunchEntry}, {15, kSlotIconListContextMenu}, {-9, kSlotIconListKey}}},
        {kPanelSeparator, TypeId::kPictureBoxEx, "分割线1", 1, 800, 398, 1, 0, {}},
        {kPanelToolbar,
         TypeId::kToolbarEx,
         "工具条",
         1,
         800,
         100,
         247,
         0,
         {{0, kSlotToolbarButtonClicked}, {8, kSlotToolbarEvent8}}},
        {kPanelSkinRoot, TypeId::kWindowEx, "窗口EX", 4, 4, 24, 24, 0, {}},
    };
    return elements;
}

class DescriptionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(ReadUiDescription(kUiSegment, kUiSegmentSize, &ui_));
        ASSERT_EQ(ui_.windows.size(), 3u);
    }
    const WindowDefinition& Window(uint32_t id) {
        const WindowDefinition* w = FindWindowDefinition(&ui_, id);
        EXPECT_NE(w, nullptr);
        return *w;
    }
    const ElementDefinition& Element(uint32_t windowId, uint32_t componentId) {
        const ElementDefinition* e = FindElement(&Window(windowId), componentId);
        EXPECT_NE(e, nullptr);
        return *e;
    }
    UiDescription ui_;
};

void CheckElements(const WindowDefinition& window, const std::vector<ExpectedElement>& expected) {
    ASSERT_EQ(window.elements.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const ElementDefinition& e = window.elements[i];
        const ExpectedElement& x = expected[i];
        SCOPED_TRACE(::testing::Message() << "element " << std::hex << x.id);
        EXPECT_EQ(e.componentId, x.id);
        EXPECT_EQ(e.typeId, x.type);
        if (e.isMenuEntry) continue;
        EXPECT_EQ(e.name, x.name);
        EXPECT_EQ(e.left, x.left);
        EXPECT_EQ(e.top, x.top);
        EXPECT_EQ(e.width, x.width);
        EXPECT_EQ(e.height, x.height);
        EXPECT_EQ(e.flags, x.flags);
        EXPECT_EQ(e.parent, 0u);
        EXPECT_TRUE(e.children.empty());
        EXPECT_EQ(e.tag, "");
        EXPECT_EQ(e.cursor, std::vector<uint8_t>(4, 0));
        ASSERT_EQ(e.events.size(), x.events.size());
        for (size_t k = 0; k < x.events.size(); ++k) {
            EXPECT_EQ(e.events[k].event, x.events[k].event);
            EXPECT_EQ(e.events[k].offset, x.events[k].slot * kHandlerOffsetUnit);
        }
    }
}

TEST_F(DescriptionTest, WindowsAndElementsInCreationOrder) {
    EXPECT_EQ(ui_.windows[0].windowId, kDockWindow);
    EXPECT_EQ(ui_.windows[1].windowId, kDockPanelWindow);
    EXPECT_EQ(ui_.windows[0].handlerModule, 0x19010002u);
    EXPECT_EQ(ui_.windows[1].handlerModule, 0x19012CA8u);
    CheckElements(Window(kDockWindow), ExpectedDockWindow());
    CheckElements(Window(kDockPanelWindow), ExpectedPanelWindow());
    // The shell watch: never shown, no taskbar button, its own class for a
    // second start to find, its creation bound to the watch's handler.
    const WindowDefinition& watch = Window(kShellWatchWindow);
    EXPECT_EQ(ui_.windows[2].windowId, kShellWatchWindow);
    EXPECT_EQ(watch.options.className, kShellWatchClass);
    EXPECT_FALSE(watch.options.taskbarButton);
    CheckElements(
        watch,
        {{kShellWatchSelf, TypeId::kWindow, "", 0, 0, 0, 0, 0, {{0, kSlotShellWatchCreated}}}});
}

TEST_F(DescriptionTest, WindowOptions) {
    const WindowOptions& dock = Window(kDockWindow).options;
    const WindowOptions& panel = Window(kDockPanelWindow).options;
    EXPECT_TRUE(Window(kDockWindow).loadable);
    EXPECT_TRUE(Window(kDockPanelWindow).loadable);
    for (const WindowOptions* o : {&dock, &panel}) {
        EXPECT_EQ(o->version, 6u);
        EXPECT_EQ(o->backgroundColour, kBackgroundSystemDefault);
        EXPECT_FALSE(o->maximiseBox);
        EXPECT_TRUE(o->minimiseBox);
        EXPECT_TRUE(o->controlBox);
        EXPECT_EQ(o->startPosition, 1);
        EXPECT_TRUE(o->closeEntryKept);
        EXPECT_TRUE(o->alwaysOnTop);
        EXPECT_EQ(o->className, "");
    }
    EXPECT_EQ(dock.border, 0);
    EXPECT_EQ(panel.border, 2);
    EXPECT_TRUE(dock.taskbarButton);
    EXPECT_FALSE(panel.taskbarButton);
}

TEST_F(DescriptionTest, HiddenMenuWithOneItem) {
    const ElementDefinition& menu = Element(kDockPanelWindow, kPanelMenu);
    const ElementDefinition& item = Element(kDockPanelWindow, kPanelMenuOpenRoot);
    ASSERT_TRUE(menu.isMenuEntry);
    ASSERT_TRUE(item.isMenuEntry);
    EXPECT_EQ(menu.menu.level, 0);
    EXPECT_EQ(menu.menu.flags, kMenuHidden);
    EXPECT_EQ(menu.menu.text, "菜单");
    EXPECT_EQ(item.menu.level, 1);
    EXPECT_EQ(item.menu.flags, 0u);
    EXPECT_EQ(item.menu.hotKey, 0u);
    EXPECT_EQ(item.menu.text, "打开根目录");
    ASSERT_EQ(item.events.size(), 1u);
    EXPECT_EQ(item.events[0].offset, kSlotOpenRootFolder * kHandlerOffsetUnit);
    for (const EventBinding& b : menu.events) EXPECT_EQ(b.offset, kNoHandlerOffset);
}

// Each binding must reach the routine of its own slot once the runtime binds
// the stored offsets to a handler table: every slot holds a routine that
// answers with its slot number.
template <int32_t Slot>
HandlerResult SlotRoutine(const int32_t*, int32_t) {
    return Result(Slot);
}
template <int32_t... Slots>
std::array<BoundHandler, sizeof...(Slots)> SlotRoutines(std::integer_sequence<int32_t, Slots...>) {
    return {&SlotRoutine<Slots>...};
}

TEST_F(DescriptionTest, BoundOffsetsReachTheirSlots) {
    const auto table = SlotRoutines(std::make_integer_sequence<int32_t, kHandlerSlotCount>());
    BindUiHandlers(&ui_, table.data(), kHandlerSlotCount);
    std::set<int32_t> reached;
    for (const WindowDefinition& w : ui_.windows) {
        for (const ElementDefinition& e : w.elements) {
            for (const EventBinding& b : e.events) {
                if (b.offset == kNoHandlerOffset) continue;
                ASSERT_NE(b.handler, nullptr) << "offset " << b.offset;
                const HandlerResult answer = b.handler(nullptr, 0);
                EXPECT_EQ(answer.value, b.offset / kHandlerOffsetUnit) << "offset " << b.offset;
                reached.insert(answer.value);
            }
        }
    }
    EXPECT_EQ(reached.size(), static_cast<size_t>(kHandlerSlotCount)) << "every slot once";
}

// --- Skinned controls' attribute blocks ----------------------------------------------------

struct Block {
    int32_t marker;
    const uint8_t* data;
    uint32_t size;
};

struct EngineValues {
    std::vector<int32_t> words;   // plain words; 0 where a block stands
    std::map<int, Block> blocks;  // by engine index
};

uint32_t U32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

// Walks an attribute block knowing which engine indexes hold embedded blocks.
EngineValues ReadEngineValues(const ElementDefinition& e, size_t count,
                              const std::set<int>& blockIndexes) {
    EngineValues out;
    const uint8_t* p = e.AttributeBlock();
    const uint8_t* end = p + e.AttributeBlockSize();
    EXPECT_GE(end - p, 8);
    EXPECT_EQ(U32(p), 12u);     // format version
    EXPECT_EQ(U32(p + 4), 0u);  // on no page
    p += 8;
    for (size_t i = 0; i < count; ++i) {
        if (end - p < 4) {
            ADD_FAILURE() << "attribute block ends at index " << i;
            return out;
        }
        int32_t word = static_cast<int32_t>(U32(p));
        p += 4;
        if (!blockIndexes.count(static_cast<int>(i))) {
            out.words.push_back(word);
            continue;
        }
        uint32_t size = U32(p);
        p += 4;
        if (static_cast<uint32_t>(end - p) < size) {
            ADD_FAILURE() << "block at index " << i << " runs past the end";
            return out;
        }
        out.blocks[static_cast<int>(i)] = Block{word, p, size};
        out.words.push_back(0);
        p += size;
    }
    EXPECT_EQ(p, end) << "bytes after the last engine value";
    return out;
}

std::array<uint8_t, 16> Md5(const uint8_t* data, uint32_t size) {
    std::array<uint8_t, 16> digest{};
    HCRYPTPROV provider = 0;
    HCRYPTHASH hash = 0;
    DWORD length = 16;
    bool ok =
        CryptAcquireContextA(&provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT) &&
        CryptCreateHash(provider, CALG_MD5, 0, 0, &hash) && CryptHashData(hash, data, size, 0) &&
        CryptGetHashParam(hash, HP_HASHVAL, digest.data(), &length, 0);
    EXPECT_TRUE(ok) << "MD5 through CryptoAPI failed";
    if (hash) CryptDestroyHash(hash);
    if (provider) CryptReleaseContext(provider, 0);
    return digest;
}

struct PngInfo {
    uint32_t width = 0, height = 0;
    int colourType = -1;
};

PngInfo PngHeader(const uint8_t* p, uint32_t size) {
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PngInfo info;
    if (size < 33 || std::memcmp(p, kSignature, 8) != 0 || std::memcmp(p + 12, "IHDR", 4) != 0)
        return info;
    info.width = uint32_t(p[16]) << 24 | uint32_t(p[17]) << 16 | uint32_t(p[18]) << 8 | p[19];
    info.height = uint32_t(p[20]) << 24 | uint32_t(p[21]) << 16 | uint32_t(p[22]) << 8 | p[23];
    info.colourType = p[24] == 8 ? p[25] : -1;  // only 8-bit images are stored
    return info;
}

// Decodes with GDI+, as the skin engine does, and gives the decoded size.
SIZE DecodedSize(const uint8_t* p, uint32_t size) {
    SIZE result{0, 0};
    IStream* stream = SHCreateMemStream(p, size);
    if (!stream) return result;
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromStream(stream, &bitmap) == Gdiplus::Ok) {
        UINT w = 0, h = 0;
        Gdiplus::DllExports::GdipGetImageWidth(bitmap, &w);
        Gdiplus::DllExports::GdipGetImageHeight(bitmap, &h);
        result = SIZE{static_cast<LONG>(w), static_cast<LONG>(h)};
        Gdiplus::DllExports::GdipDisposeImage(bitmap);
    }
    stream->Release();
    return result;
}

class GdiplusSession {
  public:
    GdiplusSession() {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&token_, &input, nullptr);
    }
    ~GdiplusSession() { Gdiplus::GdiplusShutdown(token_); }

  private:
    ULONG_PTR token_ = 0;
};

void CheckPicture(const uint8_t* p, uint32_t size, uint32_t width, uint32_t height,
                  int colourType) {
    PngInfo info = PngHeader(p, size);
    EXPECT_EQ(info.width, width);
    EXPECT_EQ(info.height, height);
    EXPECT_EQ(info.colourType, colourType);
    SIZE decoded = DecodedSize(p, size);
    EXPECT_EQ(decoded.cx, static_cast<LONG>(width)) << "GDI+ cannot decode the picture";
    EXPECT_EQ(decoded.cy, static_cast<LONG>(height));
}

constexpr int kRgba = 6;
constexpr int kPalette = 3;

struct ExpectedSkin {
    uint32_t kind;
    uint32_t format;
    const char16_t* name;
    uint32_t imageCount;
    uint32_t imageWidth, imageHeight;
    int colourType;
};

// Checks one skin descriptor: header, texts, sections in bounds, and each
// image's digest against the MD5 of its bytes.
void CheckSkin(const Block& block, const ExpectedSkin& x) {
    ASSERT_EQ(block.marker, -1);
    const uint8_t* d = block.data;
    ASSERT_GE(block.size, 56u);
    EXPECT_EQ(std::memcmp(d, "\xFF\xD8\xFF\xE1\x00SkinUi+", 12), 0);
    EXPECT_EQ(U32(d + 12), x.format);
    EXPECT_EQ(U32(d + 16), block.size);
    EXPECT_EQ(U32(d + 20), x.kind);
    uint32_t count = U32(d + 24), imageSection = U32(d + 28);
    uint32_t partCount = U32(d + 32), partOffset = U32(d + 36);
    uint32_t valueCount = U32(d + 40), valueOffset = U32(d + 44);
    uint32_t nameBytes = U32(d + 48);
    ASSERT_EQ(count, x.imageCount);
    EXPECT_EQ(valueCount, 9u);
    ASSERT_LE(valueOffset + valueCount * 4, block.size);
    ASSERT_LE(partOffset + partCount * 36, block.size);
    ASSERT_LE(imageSection + count * 24, block.size);
    std::u16string name(x.name);
    ASSERT_EQ(nameBytes, (name.size() + 1) * 2);
    EXPECT_EQ(std::memcmp(d + 56, name.c_str(), nameBytes), 0);
    for (uint32_t i = 0; i < partCount; ++i) {
        int32_t image = static_cast<int32_t>(U32(d + partOffset + i * 36 + 8));
        EXPECT_TRUE(image >= -1 && image < static_cast<int32_t>(count)) << "part " << i;
    }
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* digest = d + imageSection + i * 16;
        uint32_t length = U32(d + imageSection + count * 16 + i * 4);
        uint32_t offset = U32(d + imageSection + count * 20 + i * 4);
        ASSERT_LE(uint64_t(offset) + length, block.size) << "image " << i;
        EXPECT_EQ(std::memcmp(digest, Md5(d + offset, length).data(), 16), 0)
            << "digest of image " << i;
        CheckPicture(d + offset, length, x.imageWidth, x.imageHeight, x.colourType);
    }
}

const std::set<int> kWindowExBlocks = {1, 3, 4, 5};
const std::set<int> kPictureBoxBlocks = {1, 2};
const std::set<int> kToolbarBlocks = {1};
const std::set<int> kListboxBlocks = {1, 9};
const std::set<int> kIconListBlocks = {1};

const ExpectedSkin kPictureSkin = {1400, 17, u"默认皮肤_图片框", 0, 0, 0, 0};

TEST_F(DescriptionTest, DockWindowSkinsAndButtonFace) {
    GdiplusSession gdiplus;
    EngineValues face =
        ReadEngineValues(Element(kDockWindow, kDockButtonFace), 17, kPictureBoxBlocks);
    EXPECT_EQ(face.words[0], 1);
    EXPECT_EQ(face.words[3], 0);  // centred
    CheckSkin(face.blocks[1], kPictureSkin);
    ASSERT_EQ(face.blocks[2].marker, -2);
    CheckPicture(face.blocks[2].data, face.blocks[2].size, 32, 32, kRgba);

    EngineValues root = ReadEngineValues(Element(kDockWindow, kDockSkinRoot), 21, kWindowExBlocks);
    EXPECT_EQ(root.words[0], 1);
    EXPECT_EQ(root.words[2], 0);  // opacity until the first hover
    CheckSkin(root.blocks[1], {1000, 17, u"默认窗口皮肤", 1, 227, 273, kRgba});
    CheckSkin(root.blocks[3], {1700, 16, u"默认皮肤_关闭按钮", 3, 30, 30, kPalette});
    CheckSkin(root.blocks[4], {1700, 16, u"默认皮肤_最大化按钮", 6, 30, 30, kPalette});
    CheckSkin(root.blocks[5], {1700, 16, u"默认皮肤_最小化按钮", 3, 30, 30, kPalette});
}

TEST_F(DescriptionTest, PanelSkins) {
    GdiplusSession gdiplus;
    EngineValues icons =
        ReadEngineValues(Element(kDockPanelWindow, kPanelIconList), 22, kIconListBlocks);
    EXPECT_EQ(icons.words[0], 1);
    EXPECT_EQ(icons.words[2], 48);
    EXPECT_EQ(icons.words[8], -1);
    CheckSkin(icons.blocks[1], {2900, 17, u"默认皮肤_图标列表框", 4, 12, 12, kRgba});

    EngineValues line =
        ReadEngineValues(Element(kDockPanelWindow, kPanelSeparator), 17, kPictureBoxBlocks);
    EXPECT_EQ(line.words[0], 1);  // the engine shows the line
    CheckSkin(line.blocks[1], kPictureSkin);
    EXPECT_EQ(line.blocks[2].marker, -2);
    EXPECT_EQ(line.blocks[2].size, 0u);  // no picture: drawn as a line

    EngineValues bar =
        ReadEngineValues(Element(kDockPanelWindow, kPanelToolbar), 17, kToolbarBlocks);
    EXPECT_EQ(bar.words[0], 1);
    EXPECT_EQ(bar.words[2], 36);
    CheckSkin(bar.blocks[1], {2700, 17, u"默认皮肤_工具条", 6, 16, 16, kRgba});

    EngineValues root =
        ReadEngineValues(Element(kDockPanelWindow, kPanelSkinRoot), 21, kWindowExBlocks);
    EXPECT_EQ(root.words[0], 1);
    EXPECT_EQ(root.words[2], 255);
    CheckSkin(root.blocks[1], {1000, 17, u"默认窗口皮肤", 0, 0, 0, 0});
    for (int i : {3, 4, 5}) EXPECT_EQ(root.blocks[i].size, 0u) << "caption skin " << i;
}

TEST_F(DescriptionTest, SampleListKeepsElevenStoredItems) {
    GdiplusSession gdiplus;
    const ElementDefinition& list = Element(kDockPanelWindow, kPanelSampleList);
    EXPECT_EQ(list.AttributeBlock()[8], 0);  // the list box is not shown
    EngineValues values = ReadEngineValues(list, 17, kListboxBlocks);
    EXPECT_EQ(values.words[2], 30);
    EXPECT_EQ(values.words[8], -1);
    CheckSkin(values.blocks[1], {2800, 17, u"默认皮肤_普通列表框", 4, 12, 12, kRgba});

    const Block& items = values.blocks[9];
    ASSERT_EQ(items.marker, -3);
    const uint8_t* p = items.data;
    const uint8_t* end = p + items.size;
    ASSERT_GE(items.size, 8u);
    EXPECT_EQ(U32(p), 1u);
    ASSERT_EQ(U32(p + 4), 11u);
    p += 8;
    const char16_t* texts[] = {u"定时关机", u"我的图片", u"我的收藏", u"我的日记"};
    for (int i = 0; i < 11; ++i) {
        SCOPED_TRACE(::testing::Message() << "item " << i);
        ASSERT_GE(end - p, 4);
        uint32_t imageBytes = U32(p);
        ASSERT_LE(imageBytes + 4u, static_cast<uint32_t>(end - p));
        if (i < 4) {
            CheckPicture(p + 4, imageBytes, 64, 64, kRgba);
        } else {
            EXPECT_EQ(imageBytes, 0u);
        }
        p += 4 + imageBytes;
        std::u16string text(i < 4 ? texts[i] : u"列表");
        ASSERT_GE(end - p, 4);
        uint32_t textBytes = U32(p);
        ASSERT_EQ(textBytes, (text.size() + 1) * 2);
        ASSERT_LE(textBytes + 16u, static_cast<uint32_t>(end - p));
        EXPECT_EQ(std::memcmp(p + 4, text.c_str(), textBytes), 0);
        p += 4 + textBytes;
        EXPECT_EQ(U32(p), 0u);
        EXPECT_EQ(U32(p + 4), 30u);
        EXPECT_EQ(U32(p + 8), 0xFF000000u);
        p += 12;
    }
    EXPECT_EQ(p, end);
}

TEST(FolderImageTest, IsAConstantByteSetOfASmallPng) {
    GdiplusSession gdiplus;
    const ByteSetHeader* folder = FolderImage();
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(folder) % 4, 0u);
    EXPECT_EQ(static_cast<const void*>(folder), static_cast<const void*>(kFolderImageBlock));
    EXPECT_EQ(folder->dimensions, 1);
    EXPECT_EQ(static_cast<uint32_t>(folder->length) + 8, kFolderImageBlockSize);
    EXPECT_LT(folder->length, 1024);
    CheckPicture(ByteSetBytes(folder), folder->length, 64, 64, kRgba);
}

}  // namespace
