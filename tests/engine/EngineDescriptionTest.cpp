// The engine drawing the product's own stored controls: the dock button and
// the panel as the UI description defines them, with their skins and images.
#include <windows.h>
#include <gtest/gtest.h>

#include <iterator>

#include "tests/engine/EngineHarness.h"
#include "tests/engine/SegmentBlocks.h"
#include "ui/description/FolderImage.h"
#include "ui/description/UiIds.h"
#include "ui/description/UiSegment.h"

namespace {
constexpr uint32_t kSampleList = kPanelSampleList;
constexpr uint32_t kIconList = kPanelIconList;
constexpr uint32_t kSeparator = kPanelSeparator;
constexpr uint32_t kToolbar = kPanelToolbar;

const std::map<uint32_t, const uint8_t*>& Blocks() {
    static const auto blocks = ControlAttributeBlocks(kUiSegment, kUiSegmentSize);
    return blocks;
}

const uint8_t* BlockOf(uint32_t componentId) {
    auto found = Blocks().find(componentId);
    return found == Blocks().end() ? nullptr : found->second;
}

Bytes Tile(uint32_t colour) {
    return ByteSetBlock(EncodePng(TileImage(64, colour)));
}
}  // namespace

TEST(EngineDescription, StoredControlsAreFound) {
    for (uint32_t id : {kDockButtonFace, kDockSkinRoot, kSampleList, kIconList, kSeparator,
                        kToolbar, kPanelSkinRoot})
        EXPECT_NE(nullptr, BlockOf(id)) << std::hex << id;
}

TEST(EngineDescription, PanelAndDockButtonAsStored) {
    ASSERT_NE(nullptr, Engine().module);
    SetCursorPos(1270, 790);
    HWND stage = MakeHost(nullptr, 20, 20, 760, 300);
    // The panel is created with a caption and frame; its skin root takes them away.
    HWND panel = CreateWindowExA(WS_EX_TOOLWINDOW, "EngineTestHost", "",
                                 WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 40, 40, 400, 248,
                                 stage, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, panel);
    HWND list, separator, toolbarWrapper, iconsWrapper;
    CreateOn(Engine().createListbox, panel, 8, 8, 384, 90, BlockOf(kSampleList), 10, &list);
    const EngineControl icons = CreateOn(Engine().createIcoListbox, panel, 101, 1, 299, 247,
                                         BlockOf(kIconList), 10, &iconsWrapper);
    CreateOn(Engine().createPictureBox, panel, 1, 0, 398, 1, BlockOf(kSeparator), 0, &separator);
    const EngineControl toolbar = CreateOn(Engine().createToolbar, panel, 1, 1, 100, 247,
                                           BlockOf(kToolbar), 10, &toolbarWrapper);
    const EngineControl panelRoot =
        CreateOn(Engine().createWindowEx, panel, 4, 4, 24, 24, BlockOf(kPanelSkinRoot), 11);
    ASSERT_NE(0, panelRoot);
    RECT window, client;
    GetWindowRect(panel, &window);
    GetClientRect(panel, &client);
    EXPECT_EQ(window.right - window.left, client.right);
    EXPECT_EQ(window.bottom - window.top, client.bottom);
    EXPECT_FALSE(IsWindowVisible(list));  // stored invisible
    EXPECT_EQ(255, ReadAttribute(panelRoot, 2));

    const char* categories[] = {"常用", "办公", "网络", "影音", "工具", "游戏", "设计"};
    for (int i = 0; i < 7; ++i)
        Engine().insertButton(toolbar, i + 1, 0, 32,
                              Engine().createBin(categories[i], kBinTextMarker, 0, 32, 0, 1, 0, 0));
    Engine().setButtonSelected(toolbar, 0, 1);
    const int32_t folder = Engine().loadImage(FolderImage(), 0, 0, 0, 0, 0, 0, 0);
    const int32_t tiles[] = {Engine().loadImage(Tile(0xFF3C8CE7).data(), 0, 0, 0, 0, 0, 0, 0),
                             Engine().loadImage(Tile(0xFFE8863C).data(), 0, 0, 0, 0, 0, 0, 0),
                             Engine().loadImage(Tile(0xFF4CAF6A).data(), 0, 0, 0, 0, 0, 0, 0)};
    ASSERT_NE(0, folder);
    const int32_t blank = Engine().loadImage(nullptr, 0, 0, 0, 0, 0, 0, 0);
    const char* titles[] = {
        "我的文档", "记事本", "浏览器", "下载", "说明.txt", "计算器", "很长很长的快捷方式名称",
        "音乐"};
    const int32_t pictures[] = {folder, tiles[0], tiles[1], folder,
                                blank,  tiles[2], tiles[0], tiles[1]};
    for (int i = 0; i < 8; ++i) InsertIcon(icons, pictures[i], titles[i]);
    WriteAttribute(icons, 8, -1);

    // The dock button beside it, hovered.
    HWND dock = MakeHost(stage, 520, 20, 48, 40);
    CreateOn(Engine().createPictureBox, dock, 6, 4, 36, 32, BlockOf(kDockButtonFace), 0);
    const EngineControl dockRoot =
        CreateOn(Engine().createWindowEx, dock, 4, 4, 24, 24, BlockOf(kDockSkinRoot), 11);
    EXPECT_EQ(0, ReadAttribute(dockRoot, 2));
    HWND dockIdle = MakeHost(stage, 580, 20, 48, 40);
    CreateOn(Engine().createPictureBox, dockIdle, 6, 4, 36, 32, BlockOf(kDockButtonFace), 0);
    const EngineControl idleRoot =
        CreateOn(Engine().createWindowEx, dockIdle, 4, 4, 24, 24, BlockOf(kDockSkinRoot), 11);
    WriteAttribute(dockRoot, 2, 30);
    WriteAttribute(idleRoot, 2, 1);

    // The sample list, shown on its own.
    HWND sampleHost = MakeHost(stage, 520, 80, 230, 200);
    HWND sample;
    const EngineControl sampleList = CreateOn(Engine().createListbox, sampleHost, 0, 0, 230, 200,
                                              BlockOf(kSampleList), 10, &sample);
    WriteAttribute(sampleList, 0, 1);
    SetForegroundWindow(stage);
    Pump(200);

    PixelImage shot = Capture(stage);
    const PixelImage panelShot = Capture(panel);
    SavePng(shot, "engine_description.png");
    SavePng(panelShot, "engine_description_panel.png");
    // Separator in the separator skin's line colour, toolbar titles, icons.
    EXPECT_LT(ColourDistance(panelShot.At(200, 0), 0xFF3A4048), 30);
    EXPECT_GT(CountMatching(panelShot, 20, 1 + 6, 70, 36, [](uint32_t p) { return Luma(p) > 150; }),
              12);
    EXPECT_GT(CountMatching(panelShot, 101, 1, 299, 100,
                            [](uint32_t p) { return ColourDistance(p, 0xFF3C8CE7) < 40; }),
              100);
    // The hovered dock button is lit beside its picture; the picture is drawn.
    const int hot = Luma(Average(shot, 520 + 3, 20 + 12, 2, 16));
    const int idle = Luma(Average(shot, 580 + 3, 20 + 12, 2, 16));
    EXPECT_GT(hot, idle + 8);
    EXPECT_GT(ColourDistance(shot.At(520 + 24, 20 + 20), shot.At(520 + 3, 20 + 20)), 60);
    // The sample list shows its stored rows.
    EXPECT_TRUE(IsWindowVisible(sample));
    EXPECT_GT(
        CountMatching(shot, 520 + 40, 80 + 4, 120, 30, [](uint32_t p) { return Luma(p) > 150; }),
        12);

    // Hover feedback on a toolbar button and an icon.
    const uint32_t before = Average(panelShot, 1 + 10, 1 + 6 + 2 * 40 + 4, 60, 28);
    PostMouse(toolbarWrapper, WM_MOUSEMOVE, 50, 6 + 2 * 40 + 18);
    PostMouse(iconsWrapper, WM_MOUSEMOVE, 1 + 74 + 37, 4 + 40);
    Pump(50);
    const PixelImage hovered = Capture(panel);
    SavePng(hovered, "engine_description_hover.png");
    EXPECT_GT(ColourDistance(Average(hovered, 1 + 10, 1 + 6 + 2 * 40 + 4, 60, 28), before), 6);

    // Clicks on the stored icon list (74 x 80 cells, 4 columns from the left edge).
    gEvents.clear();
    Click(iconsWrapper, 1 + 37, 4 + 40);
    Click(iconsWrapper, 1 + 3 * 74 + 37, 4 + 80 + 40);
    std::vector<int32_t> activated;
    for (const RecordedEvent& e : gEvents)
        if (e.code == EngineCode::kItemActivated) activated.push_back(e.a1);
    EXPECT_EQ((std::vector<int32_t>{0, 7}), activated);

    for (int32_t image : {folder, tiles[0], tiles[1], tiles[2], blank})
        Engine().destroyImage(image);
    DestroyWindow(stage);
}

// Window loading as the runtime does it: every stored control's flag is clear,
// so each is hidden first; the engine then shows the ones whose visible value
// is 1 when told the window is built. The sample list and the skin roots'
// own small windows stay hidden.
TEST(EngineDescription, StoredVisibilityOnceTheWindowIsBuilt) {
    HWND panel = MakeHost(nullptr, 40, 40, 400, 248);
    HWND dock = MakeHost(nullptr, 460, 40, 48, 40);
    struct Stored {
        uint32_t id;
        CreateControlFn create;
        HWND host;
        int x, y, width, height;
        int32_t eventBase;
        bool shown;
        HWND wrapper;
    };
    Stored stored[] = {
        {kDockButtonFace, Engine().createPictureBox, dock, 6, 4, 36, 32, 0, true, nullptr},
        {kDockSkinRoot, Engine().createWindowEx, dock, 4, 4, 24, 24, 11, false, nullptr},
        {kSampleList, Engine().createListbox, panel, 8, 8, 384, 90, 10, false, nullptr},
        {kIconList, Engine().createIcoListbox, panel, 101, 1, 299, 247, 10, true, nullptr},
        {kSeparator, Engine().createPictureBox, panel, 1, 0, 398, 1, 0, true, nullptr},
        {kToolbar, Engine().createToolbar, panel, 1, 1, 100, 247, 10, true, nullptr},
        {kPanelSkinRoot, Engine().createWindowEx, panel, 4, 4, 24, 24, 11, false, nullptr},
    };
    for (Stored& s : stored)
        ASSERT_NE(0, CreateOn(s.create, s.host, s.x, s.y, s.width, s.height, BlockOf(s.id),
                              s.eventBase, &s.wrapper));
    for (Stored& s : stored) ShowWindow(s.wrapper, SW_HIDE);
    for (auto it = std::rbegin(stored); it != std::rend(stored); ++it)
        SendMessageA(it->wrapper, kMsgWindowBuilt, 0, 0);
    for (const Stored& s : stored)
        EXPECT_EQ(s.shown, IsWindowVisible(s.wrapper) != FALSE) << std::hex << s.id;
    DestroyWindow(dock);
    DestroyWindow(panel);
}
