// SkinEngine.dll on the virtual display: every control type drawn and
// clicked, hover, attributes, hostile data and handle hygiene.
#include <windows.h>
#include <psapi.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>

#include "engine/Canvas.h"
#include "tests/engine/EngineHarness.h"
#include "tests/support/AccessibleReader.h"
#include "tests/support/GuardedBuffer.h"

namespace {
constexpr uint32_t kTileColours[] = {0xFF3C8CE7, 0xFFE8863C, 0xFF4CAF6A,
                                     0xFFD9534F, 0xFF9B6BD6, 0xFF2BB3B3};
constexpr int kIconItems = 14;
const char* const kCategories[] = {"常用工具", "办公文档", "网络应用", "影音娱乐", "系统设置"};

// One test window holding a panel (skin root, separator, toolbar, icon
// list), two dock buttons (not hovered, hovered) and a list box.
struct Scene {
    HWND window = nullptr, panel = nullptr, dockIdle = nullptr, dockHot = nullptr,
         listHost = nullptr;
    EngineControl panelFace = 0, separator = 0, toolbar = 0, icons = 0, dockFaceIdle = 0,
                  dockFaceHot = 0, dockPicture = 0, list = 0;
    HWND toolbarWrapper = nullptr, iconsWrapper = nullptr, separatorWrapper = nullptr,
         dockPictureWrapper = nullptr, listWrapper = nullptr;
    std::vector<int32_t> images;
};

Bytes DockFrameSkin() {
    // A soft white rounded frame: the window skin's highlight.
    PixelImage frame = SolidImage(24, 24, 0);
    Surface s = SurfaceOf(frame);
    FillRoundRect(s, 0, 0, 24, 24, 6, 0xFFFFFFFF, 255);
    SkinRecipe recipe;
    recipe.kind = 1000;
    recipe.values = {0xFF1B1E22, 0xFF3A3F47, 0xFFE6E8EB, 0xFF30363E, 0xFF28405E,
                     0xFFFFFFFF, 0xFF3C8CE7, 13,         6};
    recipe.parts = {{1, 0, 0, 0, 0, 24, 24, 8, 8}};
    recipe.images = {EncodePng(frame)};
    return BuildSkinDescriptor(recipe);
}

void AddDockButton(Scene& scene, HWND host, int32_t opacity, EngineControl& face,
                   EngineControl* picture) {
    const Bytes faceBlock = WindowExBlock(opacity, DockFrameSkin());
    HWND wrapper;
    const Bytes pictureBlock =
        PictureBoxBlock(ColourSkin(1400), EncodePng(TileImage(32, 0xFF3C8CE7)));
    const EngineControl pic =
        CreateOn(Engine().createPictureBox, host, 6, 4, 36, 32, pictureBlock.data(), 0, &wrapper);
    if (picture) {
        *picture = pic;
        scene.dockPictureWrapper = wrapper;
    }
    face = CreateOn(Engine().createWindowEx, host, 4, 4, 24, 24, faceBlock.data(), 11);
}

Scene& TheScene() {
    static Scene scene;
    if (scene.window) return scene;
    SetCursorPos(1270, 790);
    scene.window = MakeHost(nullptr, 20, 20, 780, 410);
    scene.panel = MakeHost(scene.window, 10, 20, 400, 248);
    scene.dockIdle = MakeHost(scene.window, 430, 20, 48, 40);
    scene.dockHot = MakeHost(scene.window, 490, 20, 48, 40);
    scene.listHost = MakeHost(scene.window, 430, 70, 340, 198);

    const Bytes panelFace = WindowExBlock(255, ColourSkin(1000));
    scene.panelFace =
        CreateOn(Engine().createWindowEx, scene.panel, 4, 4, 24, 24, panelFace.data(), 11);
    const Bytes separator = PictureBoxBlock(ColourSkin(1400), {});
    scene.separator = CreateOn(Engine().createPictureBox, scene.panel, 1, 0, 398, 1,
                               separator.data(), 0, &scene.separatorWrapper);
    const Bytes toolbar = ToolbarBlock(ColourSkin(2700));
    scene.toolbar = CreateOn(Engine().createToolbar, scene.panel, 1, 1, 100, 247, toolbar.data(),
                             10, &scene.toolbarWrapper);
    const Bytes icons = IcoListboxBlock(ColourSkin(2900), 48, 72, 84);
    scene.icons = CreateOn(Engine().createIcoListbox, scene.panel, 101, 1, 299, 247, icons.data(),
                           10, &scene.iconsWrapper);

    for (int i = 0; i < 5; ++i) {
        void* bin = Engine().createBin(kCategories[i], kBinTextMarker, 0, 32, 0, 1, 0, 0);
        Engine().insertButton(scene.toolbar, i + 1, 0, 0, bin);
    }
    Engine().setButtonSelected(scene.toolbar, 1, 1);

    const char* titles[kIconItems] = {
        "记事本", "计算器", "画图", "浏览器", "文档", "一个非常长的程序名称需要省略",
        "音乐",   "视频",   "终端", "设置",   "相册", "邮件",
        "日历",   "地图"};
    for (int i = 0; i < kIconItems; ++i) {
        // Every fourth item has no picture and shows the placeholder.
        int32_t image = 0;
        if (i % 4 != 3) {
            image = Engine().loadImage(
                ByteSetBlock(EncodePng(TileImage(64, kTileColours[i % 6]))).data(), 0, 0, 0, 0, 0,
                0, 0);
            scene.images.push_back(image);
        }
        InsertIcon(scene.icons, image, titles[i]);
    }

    AddDockButton(scene, scene.dockIdle, 1, scene.dockFaceIdle, &scene.dockPicture);
    AddDockButton(scene, scene.dockHot, 30, scene.dockFaceHot, nullptr);

    std::vector<ListItemSpec> items;
    const char16_t* texts[] = {u"定时关机", u"我的图片", u"我的收藏", u"我的日记"};
    for (int i = 0; i < 4; ++i)
        items.push_back({EncodePng(TileImage(64, kTileColours[i])), texts[i], 30, 0xFF000000});
    for (int i = 0; i < 7; ++i) items.push_back({{}, u"列表", 30, 0xFF000000});
    const Bytes list = ListboxBlock(ColourSkin(2800), BuildStoredListItems(items), 1);
    scene.list = CreateOn(Engine().createListbox, scene.listHost, 0, 0, 340, 198, list.data(), 10,
                          &scene.listWrapper);

    SetForegroundWindow(scene.window);
    Pump(200);
    return scene;
}

// Centre of icon-list item i with 72 x 84 cells, 4 columns, 4 pixels top padding.
POINT ItemCentre(int index, int scrolled) {
    return POINT{(index % 4) * 72 + 36 + 0, 4 + (index / 4) * 84 + 42 - scrolled};
}

int ToolbarCentreY(int index) {
    return 6 + index * 40 + 18;
}

// The events raised so far, without the windows' hover reports (moving
// over a control hovers its window too).
std::vector<RecordedEvent> Take() {
    std::vector<RecordedEvent> taken;
    for (const RecordedEvent& event : gEvents)
        if (event.code != EngineCode::kHover) taken.push_back(event);
    gEvents.clear();
    return taken;
}

std::vector<RecordedEvent> TakeHover() {
    std::vector<RecordedEvent> taken;
    for (const RecordedEvent& event : gEvents)
        if (event.code == EngineCode::kHover) taken.push_back(event);
    gEvents.clear();
    return taken;
}
}  // namespace

TEST(EngineExports, AllResolveByName) {
    const EngineApi& e = Engine();
    ASSERT_NE(nullptr, e.module);
    for (const void* entry :
         {(const void*)e.createWindowEx, (const void*)e.createPictureBox,
          (const void*)e.createToolbar, (const void*)e.createListbox,
          (const void*)e.createIcoListbox, (const void*)e.send, (const void*)e.synchronise,
          (const void*)e.destroy, (const void*)e.updateCache, (const void*)e.loadImage,
          (const void*)e.destroyImage, (const void*)e.createBin, (const void*)e.insertButton,
          (const void*)e.buttonCount, (const void*)e.setButtonSelected, (const void*)e.insertItem,
          (const void*)e.deleteItem, (const void*)e.deleteButton})
        EXPECT_NE(nullptr, entry);
}

TEST(EngineLook, ControlsDrawTheirContent) {
    Scene& scene = TheScene();
    ASSERT_NE(0, scene.toolbar);
    ASSERT_NE(0, scene.icons);
    const PixelImage shot = Capture(scene.window);
    EXPECT_TRUE(SavePng(shot, "engine_controls.png"));
    const int px = 10 + 1, py = 20 + 1;  // toolbar origin in the shot (window has no frame)

    // Button titles are drawn: light text pixels inside each button.
    for (int i = 0; i < 5; ++i)
        EXPECT_GT(CountMatching(shot, px + 20, py + ToolbarCentreY(i) - 8, 70, 16,
                                [](uint32_t p) { return Luma(p) > 150; }),
                  12)
            << "button " << i;
    // The selected button stands apart from the others.
    const uint32_t selected = Average(shot, px + 10, py + ToolbarCentreY(1) - 12, 8, 24);
    const uint32_t plain = Average(shot, px + 10, py + ToolbarCentreY(3) - 12, 8, 24);
    EXPECT_GT(ColourDistance(selected, plain), 30);

    // Icons at their places, the placeholder where there is no picture.
    const int ix = 10 + 101, iy = 20 + 1;
    for (int i : {0, 1, 2}) {
        const POINT c = ItemCentre(i, 0);
        const uint32_t expected = kTileColours[i % 6];
        EXPECT_LT(ColourDistance(shot.At(ix + c.x - 14, iy + c.y - 14), expected), 40)
            << "item " << i;
    }
    const POINT hole = ItemCentre(3, 0);
    const uint32_t background = shot.At(ix + hole.x, iy + hole.y + 40);
    EXPECT_GT(CountMatching(shot, ix + hole.x - 20, iy + hole.y - 34, 40, 40,
                            [&](uint32_t p) { return ColourDistance(p, background) > 40; }),
              30);
    // Item titles below the icons.
    const POINT first = ItemCentre(0, 0);
    EXPECT_GT(CountMatching(shot, ix + first.x - 30, iy + first.y + 20, 60, 18,
                            [](uint32_t p) { return Luma(p) > 150; }),
              10);
    // The separator is one accent-coloured line.
    EXPECT_LT(ColourDistance(shot.At(10 + 200, 20), 0xFF3C8CE7), 30);
    EXPECT_GT(ColourDistance(shot.At(10 + 200, 21), 0xFF3C8CE7), 100);
    // The dock button's picture is centred on it.
    EXPECT_LT(ColourDistance(shot.At(430 + 6 + 18 - 8, 20 + 4 + 16 - 8), 0xFF3C8CE7), 40);
    // List rows: icons and text.
    EXPECT_LT(ColourDistance(shot.At(430 + 4 + 10 + 10, 70 + 4 + 15 - 6), kTileColours[0]), 60);
    EXPECT_GT(
        CountMatching(shot, 430 + 40, 70 + 4, 100, 30, [](uint32_t p) { return Luma(p) > 150; }),
        12);
}

TEST(EngineLook, TextStaysSolidOnTranslucentFaces) {
    // Where the window's alpha is used (blur behind), GDI text must not punch
    // transparent holes into a translucent face.
    HDC screen = GetDC(nullptr);
    Canvas canvas(screen, 80, 30);
    ASSERT_TRUE(canvas.Ok());
    FillRect(canvas.Pixels(), 0, 0, 80, 30, 0xF0202428);
    canvas.Text(L"文字", RECT{0, 0, 80, 30}, 0xFFFFFFFF, 16, false, DT_SINGLELINE | DT_VCENTER);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 80, -30, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP target = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, target);
    canvas.PresentTo(memory, 0, 0);
    GdiFlush();
    const uint32_t* pixels = static_cast<const uint32_t*>(bits);
    int solid = 0, holes = 0;
    for (int i = 0; i < 80 * 30; ++i) {
        if ((pixels[i] >> 24) == 0) ++holes;
        if ((pixels[i] >> 24) == 0xFF && Luma(pixels[i]) > 150) ++solid;
    }
    EXPECT_EQ(0, holes);
    EXPECT_GT(solid, 10);
    EXPECT_EQ(0xF0u, pixels[0] >> 24);  // the face keeps its own alpha
    SelectObject(memory, old);
    DeleteObject(target);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

TEST(EngineLook, WindowFaceFollowsTheOpacity) {
    Scene& scene = TheScene();
    PixelImage shot = Capture(scene.window);
    // Beside the picture, inside the frame: brighter on the hovered button.
    const int idle = Luma(Average(shot, 430 + 3, 20 + 10, 3, 20));
    const int hot = Luma(Average(shot, 490 + 3, 20 + 10, 3, 20));
    EXPECT_GT(hot, idle + 10);
    ASSERT_TRUE(WriteAttribute(scene.dockFaceIdle, 2, 30));
    EXPECT_EQ(30, ReadAttribute(scene.dockFaceIdle, 2));
    shot = Capture(scene.window);
    EXPECT_NEAR(hot, Luma(Average(shot, 430 + 3, 20 + 10, 3, 20)), 3);
    // The picture redraws over the new face too (no stale background beside it).
    EXPECT_NEAR(Luma(Average(shot, 490 + 6 + 1, 20 + 4 + 1, 1, 3)),
                Luma(Average(shot, 430 + 6 + 1, 20 + 4 + 1, 1, 3)), 3);
    WriteAttribute(scene.dockFaceIdle, 2, 1);
}

TEST(EngineLook, SkinImagesAreDrawn) {
    Scene& scene = TheScene();
    // A toolbar skin whose selected face is solid red.
    SkinRecipe recipe;
    recipe.kind = 2700;
    recipe.values = PanelValues();
    recipe.parts = {{6, 3, 0, 0, 0, 16, 16, 4, 4}};
    recipe.images = {EncodePng(SolidImage(16, 16, 0xFFD02020))};
    const Bytes block = ToolbarBlock(BuildSkinDescriptor(recipe));
    HWND host = MakeHost(scene.window, 10, 290, 100, 44);
    const EngineControl toolbar =
        CreateOn(Engine().createToolbar, host, 0, 0, 100, 44, block.data());
    Engine().insertButton(toolbar, 1, 0, 0,
                          Engine().createBin("红", kBinTextMarker, 0, 0, 0, 0, 0, 0));
    Engine().setButtonSelected(toolbar, 0, 1);
    const PixelImage shot = Capture(host);
    EXPECT_LT(ColourDistance(shot.At(8, 22), 0xFFD02020), 30);
    DestroyWindow(host);
}

TEST(EngineLook, IconFramesChosenForTheDrawingSize) {
    Scene& scene = TheScene();
    // 16 x 16 classic frame red, 48 x 48 PNG frame blue.
    const Bytes icon = BuildIcon(
        {{SolidImage(16, 16, 0xFFE02020), false}, {SolidImage(48, 48, 0xFF2040E0), true}});
    // A picture keeps the frames for the sizes of the icon lists there are
    // when it is loaded: the lists come first.
    HWND host = MakeHost(scene.window, 10, 290, 300, 100);
    const Bytes large = IcoListboxBlock(ColourSkin(2900), 48, 72, 84);
    const Bytes small = IcoListboxBlock(ColourSkin(2900), 16, 72, 84);
    const EngineControl bigList =
        CreateOn(Engine().createIcoListbox, host, 0, 0, 100, 100, large.data());
    const EngineControl smallList =
        CreateOn(Engine().createIcoListbox, host, 100, 0, 100, 100, small.data());
    const int32_t image = Engine().loadImage(ByteSetBlock(icon).data(), 0, 0, 0, 0, 0, 0, 0);
    ASSERT_NE(0, image);
    InsertIcon(bigList, image, "大");
    InsertIcon(smallList, image, "小");
    // A list made later, at a size no list had, draws from the frames kept.
    const Bytes middle = IcoListboxBlock(ColourSkin(2900), 32, 72, 84);
    const EngineControl laterList =
        CreateOn(Engine().createIcoListbox, host, 200, 0, 100, 100, middle.data());
    InsertIcon(laterList, image, "中");
    Engine().destroyImage(image);  // the items keep their picture
    const PixelImage shot = Capture(host);
    // Cells are centred: one 72-pixel column at 14.
    EXPECT_LT(ColourDistance(shot.At(14 + 36, 4 + 8 + 24), 0xFF2040E0), 30);
    EXPECT_LT(ColourDistance(shot.At(100 + 14 + 36, 4 + 8 + 8), 0xFFE02020), 30);
    EXPECT_LT(ColourDistance(shot.At(200 + 14 + 36, 4 + 8 + 16), 0xFF2040E0), 30);
    DestroyWindow(host);
}

TEST(EngineEvents, ToolbarClicksReportTheButtonIndex) {
    Scene& scene = TheScene();
    EXPECT_EQ(5, Engine().buttonCount(scene.toolbar));
    Take();
    for (int i : {0, 2, 4}) Click(scene.toolbarWrapper, 50, ToolbarCentreY(i));
    Click(scene.toolbarWrapper, 50, 240);  // below the last button
    const auto events = Take();
    ASSERT_EQ(3u, events.size());
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(scene.toolbar, events[k].control);
        EXPECT_EQ(EngineCode::kItemActivated, events[k].code);
        EXPECT_EQ(k * 2, events[k].a1);
    }
    // Pressing on one button and releasing on another is no click.
    PostMouse(scene.toolbarWrapper, WM_LBUTTONDOWN, 50, ToolbarCentreY(0), MK_LBUTTON);
    PostMouse(scene.toolbarWrapper, WM_LBUTTONUP, 50, ToolbarCentreY(1));
    Pump(30);
    EXPECT_TRUE(Take().empty());
}

TEST(EngineEvents, ToolbarInsertsAtTheGivenPlace) {
    HWND host = MakeHost(TheScene().window, 10, 290, 100, 120);
    const Bytes block = ToolbarBlock(ColourSkin(2700));
    HWND wrapper;
    const EngineControl toolbar =
        CreateOn(Engine().createToolbar, host, 0, 0, 100, 120, block.data(), 10, &wrapper);
    Engine().insertButton(toolbar, 1, 0, 0,
                          Engine().createBin("乙", kBinTextMarker, 0, 0, 0, 0, 0, 0));
    Engine().insertButton(toolbar, 1, 0, 0,
                          Engine().createBin("甲", kBinTextMarker, 0, 0, 0, 0, 0, 0));
    Engine().insertButton(toolbar, 99, 0, 0,
                          Engine().createBin("丙", kBinTextMarker, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(3, Engine().buttonCount(toolbar));
    // Selecting the first place marks the button inserted there last.
    Engine().setButtonSelected(toolbar, 0, 1);
    Engine().setButtonSelected(toolbar, 7, 1);  // out of range: ignored
    const PixelImage shot = Capture(host);
    const uint32_t first = Average(shot, 10, ToolbarCentreY(0) - 10, 6, 20);
    const uint32_t second = Average(shot, 10, ToolbarCentreY(1) - 10, 6, 20);
    EXPECT_GT(ColourDistance(first, second), 30);
    // Buttons go one by one or all at once; an index out of range takes none.
    Engine().deleteButton(toolbar, 1);
    Engine().deleteButton(toolbar, 5);
    EXPECT_EQ(2, Engine().buttonCount(toolbar));
    Engine().deleteButton(toolbar, -1);
    EXPECT_EQ(0, Engine().buttonCount(toolbar));
    DestroyWindow(host);
}

TEST(EngineEvents, IconListActivationContextMenuAndKeys) {
    Scene& scene = TheScene();
    Take();
    for (int i : {0, 5}) {
        const POINT c = ItemCentre(i, 0);
        Click(scene.iconsWrapper, c.x, c.y);
    }
    auto events = Take();
    ASSERT_EQ(2u, events.size());
    EXPECT_EQ(EngineCode::kItemActivated, events[0].code);
    EXPECT_EQ(0, events[0].a1);
    EXPECT_EQ(5, events[1].a1);
    EXPECT_EQ(5, ReadAttribute(scene.icons, 8));

    // Scrolled to the end with the wheel, the last item is reachable.
    PostMessageW(scene.iconsWrapper, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-120 * 10)),
                 MAKELPARAM(150, 100));
    Pump(30);
    const int scrolled = (2 * 4 + 4 * 84) - 247;
    const POINT last = ItemCentre(kIconItems - 1, scrolled);
    Click(scene.iconsWrapper, last.x, last.y);
    events = Take();
    ASSERT_EQ(1u, events.size());
    EXPECT_EQ(kIconItems - 1, events[0].a1);
    PixelImage shot = Capture(scene.window);
    SavePng(shot, "engine_controls_scrolled.png");

    // Right click asks for the menu; Enter activates the current item.
    PostMouse(scene.iconsWrapper, WM_RBUTTONDOWN, last.x, last.y, MK_RBUTTON);
    PostMouse(scene.iconsWrapper, WM_RBUTTONUP, last.x, last.y);
    PostMessageW(scene.iconsWrapper, WM_KEYDOWN, VK_LEFT, 0);
    PostMessageW(scene.iconsWrapper, WM_KEYDOWN, VK_RETURN, 0);
    Pump(30);
    events = Take();
    ASSERT_EQ(2u, events.size());
    EXPECT_EQ(EngineCode::kContextMenu, events[0].code);
    EXPECT_EQ(kIconItems - 1, events[0].a1);
    EXPECT_EQ(EngineCode::kItemActivated, events[1].code);
    EXPECT_EQ(kIconItems - 2, events[1].a1);

    // A double click opens an item once.
    PostMouse(scene.iconsWrapper, WM_LBUTTONDOWN, last.x, last.y, MK_LBUTTON);
    PostMouse(scene.iconsWrapper, WM_LBUTTONUP, last.x, last.y);
    PostMouse(scene.iconsWrapper, WM_LBUTTONDBLCLK, last.x, last.y, MK_LBUTTON);
    PostMouse(scene.iconsWrapper, WM_LBUTTONUP, last.x, last.y);
    Pump(30);
    EXPECT_EQ(1u, Take().size());

    // The program clears the current item; that raises nothing.
    EXPECT_TRUE(WriteAttribute(scene.icons, 8, -1));
    EXPECT_EQ(-1, ReadAttribute(scene.icons, 8));
    PostMessageW(scene.iconsWrapper, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(120 * 10)),
                 MAKELPARAM(150, 100));
    Pump(30);
    EXPECT_TRUE(Take().empty());
}

TEST(EngineEvents, WheelScrollsTheListUnderThePointer) {
    Scene& scene = TheScene();
    RECT icons;
    GetWindowRect(scene.iconsWrapper, &icons);
    // The toolbar (or the panel) has the wheel; the pointer is over the icon list.
    const LPARAM at = MAKELPARAM(icons.left + 150, icons.top + 100);
    SendMessageW(scene.toolbarWrapper, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-120 * 5)), at);
    SendMessageW(scene.panel, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-120 * 5)), at);
    Take();
    const POINT last = ItemCentre(kIconItems - 1, (2 * 4 + 4 * 84) - 247);
    Click(scene.iconsWrapper, last.x, last.y);
    auto events = Take();
    ASSERT_EQ(1u, events.size());
    EXPECT_EQ(kIconItems - 1, events[0].a1);
    SendMessageW(scene.iconsWrapper, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(120 * 10)), at);
    WriteAttribute(scene.icons, 8, -1);
}

TEST(EngineEvents, IconListEmptiedAndRefilled) {
    HWND host = MakeHost(TheScene().window, 10, 290, 200, 100);
    const Bytes block = IcoListboxBlock(ColourSkin(2900), 48, 0, 0);
    HWND wrapper;
    const EngineControl list =
        CreateOn(Engine().createIcoListbox, host, 0, 0, 200, 100, block.data(), 10, &wrapper);
    for (int i = 0; i < 3; ++i) InsertIcon(list, 0, "项");
    void* bin = Engine().createBin("首", kBinTextMarker, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(0, Engine().insertItem(list, 0, 1, 0, 0, bin));
    Engine().deleteItem(list, 10, 0);  // out of range: nothing
    Engine().deleteItem(list, -1, 0);
    Take();
    Click(wrapper, 40, 40);
    EXPECT_TRUE(Take().empty());
    bin = Engine().createBin("新", kBinTextMarker, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(0, Engine().insertItem(list, -1, 1, 0, 0, bin));
    DestroyWindow(host);
}

// Screen readers reach the items: the titles drawn are their names, with the
// roles and states of page tabs and list items; the point under the pointer
// and the default action reach the item; a dock button is a push button
// named by its window.
TEST(EngineAccessibility, ItemsAreNamedForScreenReaders) {
    Scene& scene = TheScene();
    CoInitialize(nullptr);
    {
        AccessibleReader toolbar(scene.toolbarWrapper);
        ASSERT_NE(nullptr, toolbar.Object());
        EXPECT_EQ(ROLE_SYSTEM_PAGETABLIST, toolbar.Role(CHILDID_SELF));
        ASSERT_EQ(5, toolbar.Count());
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(WideText(kCategories[i]), toolbar.Name(i + 1));
            EXPECT_EQ(ROLE_SYSTEM_PAGETAB, toolbar.Role(i + 1));
            EXPECT_EQ(i == 1, (toolbar.State(i + 1) & STATE_SYSTEM_SELECTED) != 0) << i;
        }

        AccessibleReader icons(scene.iconsWrapper);
        ASSERT_NE(nullptr, icons.Object());
        EXPECT_EQ(ROLE_SYSTEM_LIST, icons.Role(CHILDID_SELF));
        EXPECT_EQ(kIconItems, icons.Count());
        EXPECT_EQ(L"画图", icons.Name(3));
        EXPECT_EQ(ROLE_SYSTEM_LISTITEM, icons.Role(3));
        POINT at = ItemCentre(5, 0);
        ClientToScreen(scene.iconsWrapper, &at);
        VARIANT hit;
        VariantInit(&hit);
        EXPECT_EQ(S_OK, icons.Object()->accHitTest(at.x, at.y, &hit));
        EXPECT_EQ(6, hit.vt == VT_I4 ? hit.lVal : -1);
        Take();
        EXPECT_EQ(S_OK, icons.Object()->accDoDefaultAction(AccessibleReader::Child(3)));
        Pump(30);
        const auto events = Take();
        ASSERT_EQ(1u, events.size());
        EXPECT_EQ(EngineCode::kItemActivated, events[0].code);
        EXPECT_EQ(2, events[0].a1);

        SetWindowTextA(scene.dockIdle, "快速启动");
        AccessibleReader dock(scene.dockIdle);
        ASSERT_NE(nullptr, dock.Object());
        EXPECT_EQ(ROLE_SYSTEM_PUSHBUTTON, dock.Role(CHILDID_SELF));
        EXPECT_EQ(WideText("快速启动"), dock.Name(CHILDID_SELF));
        EXPECT_EQ(0, dock.Count());
    }
    CoUninitialize();
}

TEST(EngineEvents, ListSelectionAndVisibility) {
    Scene& scene = TheScene();
    Take();
    Click(scene.listWrapper, 100, 4 + 2 * 30 + 15);
    Click(scene.listWrapper, 100, 4 + 2 * 30 + 15);  // same row again: no change
    auto events = Take();
    ASSERT_EQ(1u, events.size());
    EXPECT_EQ(EngineCode::kSelectionChanged, events[0].code);
    EXPECT_EQ(2, events[0].a1);
    EXPECT_EQ(2, ReadAttribute(scene.list, 8));
    EXPECT_TRUE(WriteAttribute(scene.list, 8, -1));
    EXPECT_EQ(-1, ReadAttribute(scene.list, 8));
    EXPECT_TRUE(Take().empty());
}

// Window loading shows or hides every component by the runtime's own flag and
// then tells it the window is built (0x8076): from there on a skinned
// control's window follows its visible attribute, whatever the flag said.
TEST(EngineVisibility, VisibleAttributeGovernsTheWrapper) {
    Scene& scene = TheScene();
    HWND host = MakeHost(scene.window, 430, 280, 340, 120);
    struct Case {
        const char* name;
        CreateControlFn create;
        Bytes block;
        bool visible;
    };
    const Bytes noItems = BuildStoredListItems({});
    const Case cases[] = {
        {"picture box", Engine().createPictureBox, PictureBoxBlock(ColourSkin(1400), {}), true},
        {"toolbar", Engine().createToolbar, ToolbarBlock(ColourSkin(2700)), true},
        {"icon list", Engine().createIcoListbox, IcoListboxBlock(ColourSkin(2900), 48, 72, 84),
         true},
        {"list box", Engine().createListbox, ListboxBlock(ColourSkin(2800), noItems, 1), true},
        {"hidden list box", Engine().createListbox, ListboxBlock(ColourSkin(2800), noItems, 0),
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND wrapper;
        const EngineControl control =
            CreateOn(c.create, host, 0, 0, 100, 100, c.block.data(), 10, &wrapper);
        ASSERT_NE(0, control);
        EXPECT_EQ(c.visible, IsWindowVisible(wrapper) != FALSE);
        for (int runtimeShows : {SW_HIDE, SW_SHOWNA}) {
            ShowWindow(wrapper, runtimeShows);
            SendMessageA(wrapper, kMsgWindowBuilt, 0, 0);
            EXPECT_EQ(c.visible, IsWindowVisible(wrapper) != FALSE) << runtimeShows;
        }
        EXPECT_TRUE(WriteAttribute(control, 0, c.visible ? 0 : 1));
        EXPECT_EQ(!c.visible, IsWindowVisible(wrapper) != FALSE);
        EXPECT_EQ(c.visible ? 0 : 1, ReadAttribute(control, 0));
        EXPECT_TRUE(WriteAttribute(control, 0, c.visible ? 1 : 0));
        EXPECT_EQ(c.visible, IsWindowVisible(wrapper) != FALSE);
        DestroyWindow(wrapper);
    }

    // A skin root paints the host itself: its own small window stays hidden
    // even when the runtime showed it, and the host keeps its face.
    HWND rootWrapper;
    const Bytes rootBlock = WindowExBlock(255, ColourSkin(1000));
    const EngineControl root =
        CreateOn(Engine().createWindowEx, host, 4, 4, 24, 24, rootBlock.data(), 11, &rootWrapper);
    ASSERT_NE(0, root);
    ShowWindow(rootWrapper, SW_SHOWNA);
    SendMessageA(rootWrapper, kMsgWindowBuilt, 0, 0);
    EXPECT_FALSE(IsWindowVisible(rootWrapper));
    const uint32_t skinned = Average(Capture(host), 40, 40, 200, 60);
    EXPECT_LT(ColourDistance(skinned, PanelValues()[0]), 30);
    DestroyWindow(rootWrapper);
    DestroyWindow(host);
}

TEST(EngineEvents, HoverEntersAndLeaves) {
    Scene& scene = TheScene();
    SetCursorPos(1270, 790);
    Pump(150);
    TakeHover();
    PostMouse(scene.dockIdle, WM_MOUSEMOVE, 20, 20);
    PostMouse(scene.dockIdle, WM_MOUSEMOVE, 21, 20);
    Pump(30);
    auto events = TakeHover();
    ASSERT_GE(events.size(), 1u);
    EXPECT_EQ(scene.dockFaceIdle, events[0].control);
    EXPECT_EQ(EngineCode::kHover, events[0].code);
    EXPECT_EQ(1, events[0].a1);
    // The pointer is far away: leaving is noticed without any message.
    Pump(400);
    events = TakeHover();
    ASSERT_EQ(1u, events.size());
    EXPECT_EQ(0, events[0].a1);

    // Moving over one of its controls hovers the window as well.
    PostMouse(scene.toolbarWrapper, WM_MOUSEMOVE, 30, 30);
    Pump(30);
    events = TakeHover();
    ASSERT_GE(events.size(), 1u);
    EXPECT_EQ(scene.panelFace, events[0].control);
    EXPECT_EQ(1, events[0].a1);
    Pump(400);
    TakeHover();
}

TEST(EngineEvents, PictureLetsClicksThroughToItsWindow) {
    Scene& scene = TheScene();
    EXPECT_EQ(HTTRANSPARENT,
              SendMessageW(scene.dockPictureWrapper, WM_NCHITTEST, 0, MAKELPARAM(450, 40)));
    // A real click on the picture reaches the dock window beneath it.
    RECT r;
    GetWindowRect(scene.dockPictureWrapper, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Pump(50);
    const int before = gHostClicks;
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
    Pump(150);
    EXPECT_EQ(before + 1, gHostClicks);
    SetCursorPos(1270, 790);
    Pump(300);
    Take();
}

TEST(EngineAttributes, ReadWriteAndWholeBlock) {
    Scene& scene = TheScene();
    const Bytes block = IcoListboxBlock(ColourSkin(2900), 48, 72, 84);
    HWND host = MakeHost(scene.window, 10, 290, 200, 100);
    const EngineControl list =
        CreateOn(Engine().createIcoListbox, host, 0, 0, 200, 100, block.data());
    EXPECT_EQ(48, ReadAttribute(list, 2));
    EXPECT_EQ(72, ReadAttribute(list, 3));
    EXPECT_EQ(int32_t(ColourSkin(2900).size()),
              ReadAttribute(list, 1));          // a block reads as its length
    EXPECT_FALSE(WriteAttribute(list, 1, 5));   // blocks are not plain words
    EXPECT_FALSE(WriteAttribute(list, 22, 5));  // past the type's values
    EXPECT_FALSE(WriteAttribute(list, -1, 5));

    auto answer = reinterpret_cast<const EngineBlockAnswer*>(
        Engine().send(list, kEngineGetBlock, -1, nullptr, 0, 0));
    ASSERT_NE(nullptr, answer);
    const Bytes values = ValueArea(block);
    ASSERT_EQ(int32_t(values.size()), answer->length);
    EXPECT_EQ(values, Bytes(reinterpret_cast<const uint8_t*>(answer + 1),
                            reinterpret_cast<const uint8_t*>(answer + 1) + answer->length));
    WriteAttribute(list, 3, 90);
    answer = reinterpret_cast<const EngineBlockAnswer*>(
        Engine().send(list, kEngineGetBlock, -1, nullptr, 0, 0));
    int32_t stored;
    std::memcpy(&stored, reinterpret_cast<const uint8_t*>(answer + 1) + answer->length - 19 * 4, 4);
    EXPECT_EQ(90, stored);
    EXPECT_EQ(0, Engine().send(list, kEngineGetBlock, 0, nullptr, 0, 0));
    EXPECT_EQ(0, Engine().send(list, 0x1234, 0, nullptr, 0, 0));
    DestroyWindow(host);
}

TEST(EngineLifetime, DestroyedControlsAreForgotten) {
    Scene& scene = TheScene();
    HWND host = MakeHost(scene.window, 10, 290, 200, 100);
    const Bytes block = ToolbarBlock(ColourSkin(2700));
    HWND wrapper;
    const EngineControl toolbar =
        CreateOn(Engine().createToolbar, host, 0, 0, 100, 100, block.data(), 10, &wrapper);
    ASSERT_NE(0, toolbar);
    Engine().insertButton(toolbar, 1, 0, 0,
                          Engine().createBin("一", kBinTextMarker, 0, 0, 0, 0, 0, 0));
    // The handler of the click destroys the toolbar's window.
    gOnEvent = [&](const RecordedEvent&) { DestroyWindow(wrapper); };
    Click(wrapper, 50, ToolbarCentreY(0));
    gOnEvent = nullptr;
    EXPECT_FALSE(IsWindow(wrapper));
    EXPECT_EQ(1u, Take().size());
    EXPECT_EQ(0, Engine().buttonCount(toolbar));
    EXPECT_EQ(0, Engine().send(toolbar, kEngineGetBlock, -1, nullptr, 0, 0));
    Engine().destroy(toolbar);  // a second time: ignored
    DestroyWindow(host);
}

TEST(EngineHostile, UnknownHandlesAndDamagedData) {
    const EngineApi& e = Engine();
    for (EngineControl bogus :
         {EngineControl(0), EngineControl(1), EngineControl(-1), EngineControl(0x5C000000)}) {
        int64_t value = 0;
        EXPECT_EQ(0, e.send(bogus, kEngineGetAttribute, 0, &value, 0, 0));
        EXPECT_EQ(0, e.send(bogus, kEngineSetAttribute, 0, &value, 0, 0));
        EXPECT_EQ(0, e.send(bogus, kEngineGetBlock, -1, nullptr, 0, 0));
        EXPECT_EQ(0, e.buttonCount(bogus));
        EXPECT_EQ(-1, e.insertItem(bogus, -1, 0, 0, 0, nullptr));
        e.insertButton(bogus, 1, 0, 0, nullptr);
        e.setButtonSelected(bogus, 0, 1);
        e.deleteItem(bogus, -1, 0);
        e.destroy(bogus);
    }
    e.synchronise(nullptr, 1);
    e.synchronise(HWND(0x1234), 0);
    e.destroyImage(0);
    e.destroyImage(0x7777);
    // An insert with a data block the engine never made does not read it.
    Scene& scene = TheScene();
    static const char fake[64] = "not an engine block";
    HWND host = MakeHost(scene.window, 10, 290, 200, 100);
    const Bytes toolbarBlock = ToolbarBlock(ColourSkin(2700));
    const EngineControl toolbar =
        CreateOn(e.createToolbar, host, 0, 0, 100, 100, toolbarBlock.data());
    e.insertButton(toolbar, 1, 0, 0, const_cast<char*>(fake));
    EXPECT_EQ(1, e.buttonCount(toolbar));
    // The toolbar's data blocks are taken over by the insert: reuse is refused.
    void* bin = e.createBin("一", kBinTextMarker, 0, 0, 0, 0, 0, 0);
    e.insertButton(toolbar, 1, 0, 0, bin);
    e.insertButton(toolbar, 1, 0, 0, bin);
    EXPECT_EQ(3, e.buttonCount(toolbar));

    // Creation without a context or wrapper builds nothing.
    EXPECT_EQ(0, e.createToolbar(0, host, 0, 0, 1, 1, RecordEvent, nullptr, 0, 0, 0, 0, 0, 0, 0, 0,
                                 0, 0, 0, 0, 0, 0, 0, 0, 0));
    EngineCreationContext noWindow{HWND(0x4321), 0, 0, 10, nullptr};
    EXPECT_EQ(0, e.createToolbar(0, host, 0, 0, 1, 1, RecordEvent, &noWindow, 0, 0, 0, 0, 0, 0, 0,
                                 0, 0, 0, 0, 0, 0, 0, 0, 0, 0));

    // Truncated and random attribute blocks against an inaccessible page:
    // every control still comes up, with the default look.
    const Bytes good = IcoListboxBlock(ColourSkin(2900), 48, 72, 84);
    const CreateControlFn creators[] = {e.createWindowEx, e.createPictureBox, e.createToolbar,
                                        e.createListbox, e.createIcoListbox};
    std::mt19937 random(5);
    for (int round = 0; round < 60; ++round) {
        Bytes bytes(good.begin(), good.begin() + random() % good.size());
        if (round % 3 == 0)
            for (int k = 0; k < 6 && !bytes.empty(); ++k)
                bytes[random() % bytes.size()] = uint8_t(random());
        GuardedBuffer guarded(bytes);
        HWND wrapper;
        const EngineControl control =
            CreateOn(creators[round % 5], host, 0, 0, 120, 90, guarded.Data(), 10, &wrapper);
        EXPECT_NE(0, control);
        RedrawWindow(wrapper, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        DestroyWindow(wrapper);
    }
    // Damaged skins inside well-formed blocks.
    Bytes skin = ColourSkin(2700);
    for (int round = 0; round < 40; ++round) {
        Bytes damaged = skin;
        for (int k = 0; k < 3; ++k) damaged[random() % damaged.size()] = uint8_t(random());
        const Bytes block = ToolbarBlock(damaged);
        HWND wrapper;
        CreateOn(e.createToolbar, host, 0, 0, 100, 90, block.data(), 10, &wrapper);
        RedrawWindow(wrapper, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        DestroyWindow(wrapper);
    }
    DestroyWindow(host);
}

TEST(EngineHostile, ImagesFromDamagedBytes) {
    const EngineApi& e = Engine();
    const int32_t empty = e.loadImage(nullptr, 0, 0, 0, 0, 0, 0, 0);
    EXPECT_NE(0, empty);  // the empty byte set: a picture that draws nothing
    e.destroyImage(empty);
    e.destroyImage(empty);

    const Bytes png = EncodePng(TileImage(32, 0xFF3C8CE7));
    const int32_t good = e.loadImage(ByteSetBlock(png).data(), 0, 0, 0, 0, 0, 0, 0);
    EXPECT_NE(0, good);
    e.destroyImage(good);
    // A BMP file.
    Bytes bmp = {'B', 'M'};
    PutU32(bmp, 14 + 40 + 4);
    PutU32(bmp, 0);
    PutU32(bmp, 14 + 40);
    for (uint32_t v : {40u, 1u, 1u}) PutU32(bmp, v);
    PutU16(bmp, 1);
    PutU16(bmp, 32);
    for (int i = 0; i < 6; ++i) PutU32(bmp, 0);
    PutU32(bmp, 0x00FF0000);
    const int32_t bitmap = e.loadImage(ByteSetBlock(bmp).data(), 0, 0, 0, 0, 0, 0, 0);
    EXPECT_NE(0, bitmap);
    e.destroyImage(bitmap);

    // Corrupt pictures are refused, not reported as loaded.
    Bytes corrupt = png;
    corrupt.resize(corrupt.size() / 2);
    EXPECT_EQ(0, e.loadImage(ByteSetBlock(corrupt).data(), 0, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(0, e.loadImage(ByteSetBlock(Bytes{0, 0, 1, 0, 1, 0, 48, 48, 0, 0}).data(), 0, 0, 0, 0,
                             0, 0, 0));
    Bytes badHeader = ByteSetBlock(png);
    badHeader[0] = 2;
    EXPECT_EQ(0, e.loadImage(badHeader.data(), 0, 0, 0, 0, 0, 0, 0));
    // A byte set whose length runs past readable memory.
    Bytes longer = ByteSetBlock(png);
    longer[6] = 0x10;
    GuardedBuffer guarded(longer);
    EXPECT_EQ(0, e.loadImage(guarded.Data(), 0, 0, 0, 0, 0, 0, 0));
    std::mt19937 random(9);
    const Bytes icon = BuildIcon(
        {{SolidImage(16, 16, 0xFFE02020), false}, {SolidImage(48, 48, 0xFF2040E0), true}});
    for (int round = 0; round < 300; ++round) {
        Bytes bytes = round % 2 ? icon : png;
        for (int k = 0; k < 4; ++k) bytes[random() % bytes.size()] = uint8_t(random());
        const Bytes set = ByteSetBlock(bytes);
        e.destroyImage(e.loadImage(set.data(), 0, 0, 0, 0, 0, 0, 0));
    }
}

// Insert and delete cycles for the leak test: 5,000 unless QD_LEAK_CYCLES says
// otherwise (the emulated i686 lane runs 1,000, still enough for a leak of
// one object or of one picture per cycle to stand out).
static int LeakCycles() {
    const char* given = std::getenv("QD_LEAK_CYCLES");
    const int cycles = given ? std::atoi(given) : 0;
    return cycles > 0 ? cycles : 5000;
}

TEST(EngineLeaks, InsertDeleteCyclesKeepResourcesFlat) {
    Scene& scene = TheScene();
    const EngineApi& e = Engine();
    const Bytes picture = ByteSetBlock(EncodePng(TileImage(48, 0xFF4CAF6A)));
    HWND host = MakeHost(scene.window, 10, 290, 200, 100);
    const Bytes block = IcoListboxBlock(ColourSkin(2900), 48, 0, 0);
    HWND wrapper;
    const EngineControl list =
        CreateOn(e.createIcoListbox, host, 0, 0, 200, 100, block.data(), 10, &wrapper);
    auto cycle = [&](int i) {
        const int32_t image = e.loadImage(picture.data(), 0, 0, 0, 0, 0, 0, 0);
        InsertIcon(list, image, "循环");
        InsertIcon(list, 0, "占位");
        if (i % 100 == 0) {
            RedrawWindow(wrapper, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            e.updateCache();
        }
        e.deleteItem(list, i % 2 ? 0 : -1, 0);
        e.deleteItem(list, -1, 0);
        e.destroyImage(image);
    };
    for (int i = 0; i < 200; ++i) cycle(i);
    Pump(50);
    auto memory = [] {
        PROCESS_MEMORY_COUNTERS_EX counters{};
        GetProcessMemoryInfo(GetCurrentProcess(),
                             reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters);
        return counters.PrivateUsage;
    };
    {
        // The counts do see objects that are held.
        const long gdi = GdiObjectsInUse(), handles = KernelHandlesInUse();
        std::vector<HBRUSH> held;
        std::vector<HANDLE> events;
        for (int i = 0; i < 20; ++i) held.push_back(CreateSolidBrush(RGB(i, i, i)));
        for (int i = 0; i < 20; ++i) events.push_back(CreateEventA(nullptr, FALSE, FALSE, nullptr));
        EXPECT_GE(GdiObjectsInUse(), gdi + 20);
        EXPECT_GE(KernelHandlesInUse(), handles + 20);
        for (HBRUSH b : held) DeleteObject(b);
        for (HANDLE e : events) CloseHandle(e);
    }
    const long gdi0 = GdiObjectsInUse();
    const long handles0 = KernelHandlesInUse();
    const DWORD user0 = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    const SIZE_T memory0 = memory();
    for (int i = 0, cycles = LeakCycles(); i < cycles; ++i) cycle(i);
    // Whole controls made and destroyed as well.
    for (int i = 0; i < 200; ++i) {
        HWND w;
        const EngineControl c =
            CreateOn(e.createIcoListbox, host, 0, 0, 200, 100, block.data(), 10, &w);
        InsertIcon(c, 0, "项");
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        DestroyWindow(w);
    }
    Pump(50);
    EXPECT_LE(GdiObjectsInUse(), gdi0 + 2);
    EXPECT_LE(KernelHandlesInUse(), handles0 + 4);
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), user0 + 2);
    EXPECT_LT(memory(), memory0 + (SIZE_T(4) << 20));
    DestroyWindow(host);
}
