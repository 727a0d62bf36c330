// The window-definition reader on synthetic segments (including corrupt
// ones) and on the program's real segment.
#include <gtest/gtest.h>
#include <cstring>
#include "runtime/process/Runtime.h"
#include "runtime/windows/UiDescription.h"
#include "tests/windows/SegmentWriter.h"
#include "ui/description/HandlerSlots.h"
#include "ui/description/UiIds.h"
#include "ui/description/UiSegment.h"

namespace {

segment::Window SampleWindow(uint32_t id, uint32_t optionsVersion = 6) {
    segment::Window w;
    w.id = id;
    w.options.version = optionsVersion;
    w.options.border = 0;
    w.options.alwaysOnTop = true;
    w.options.taskbarButton = false;
    w.options.startPosition = 1;
    segment::Element self;
    self.id = 0x06000000u | (id & 0xFFFF);
    self.type = 0x00010001;
    self.name = "窗口";
    self.left = 50;
    self.top = 60;
    self.width = 400;
    self.height = 800;
    self.events = {{0, 0}, {1, 8}, {3, -1}};
    w.elements.push_back(self);
    segment::Element control;
    control.id = 0x16000001;
    control.type = 0x00020014;
    control.name = "图标列表框";
    control.left = -5;
    control.top = 800;
    control.width = 299;
    control.height = 247;
    control.flags = 2;
    control.tag = "标记";
    control.events = {{0, 4}, {15, 12}};
    control.attributeBlock = {12, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3};
    w.elements.push_back(control);
    segment::Element menu;
    menu.id = 0x26000002;
    menu.type = 0x00010003;
    menu.menu = true;
    menu.level = 0;
    menu.menuFlags = 1;
    menu.text = "菜单";
    w.elements.push_back(menu);
    segment::Element item = menu;
    item.id = 0x26000003;
    item.level = 1;
    item.menuFlags = 4;
    item.text = "打开根目录";
    item.clickOffset = 16;
    w.elements.push_back(item);
    return w;
}

std::vector<uint8_t> SampleSegment() {
    return segment::Segment({SampleWindow(0x52000001), SampleWindow(0x52000002)});
}

HandlerResult Routine0(const int32_t*, int32_t) {
    return NoResult();
}
HandlerResult Routine1(const int32_t*, int32_t) {
    return NoResult();
}
HandlerResult Routine2(const int32_t*, int32_t) {
    return NoResult();
}
HandlerResult Routine3(const int32_t*, int32_t) {
    return NoResult();
}
HandlerResult Routine4(const int32_t*, int32_t) {
    return NoResult();
}

}  // namespace

TEST(UiReader, ReadsWindowsElementsMenusAndOptions) {
    std::vector<uint8_t> data = SampleSegment();
    UiDescription d;
    ASSERT_TRUE(ReadUiDescription(data.data(), static_cast<uint32_t>(data.size()), &d));
    ASSERT_EQ(d.windows.size(), 2u);
    WindowDefinition* w = FindWindowDefinition(&d, 0x52000002);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->loadable);
    EXPECT_EQ(w->options.version, 6u);
    EXPECT_EQ(w->options.border, 0);
    EXPECT_TRUE(w->options.alwaysOnTop);
    EXPECT_FALSE(w->options.taskbarButton);
    EXPECT_EQ(w->options.startPosition, 1);
    EXPECT_EQ(w->options.backgroundColour, kBackgroundSystemDefault);
    ASSERT_EQ(w->elements.size(), 4u);

    const ElementDefinition* self = FindElement(w, 0);
    ASSERT_NE(self, nullptr);
    EXPECT_EQ(self->componentId, 0x06000002u);
    EXPECT_EQ(self->name, "窗口");
    EXPECT_EQ(self->width, 400);

    const ElementDefinition* control = FindElement(w, 0x16000001);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->typeId, 0x00020014u);
    EXPECT_EQ(control->left, -5);
    EXPECT_EQ(control->tag, "标记");
    EXPECT_TRUE(control->Disabled());
    EXPECT_FALSE(control->Shown());
    ASSERT_EQ(control->AttributeBlockSize(), 11u);
    EXPECT_EQ(control->AttributeBlock()[0], 12);
    EXPECT_EQ(control->AttributeBlock()[10], 3);

    const ElementDefinition* item = FindElement(w, 0x26000003);
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isMenuEntry);
    EXPECT_EQ(item->menu.level, 1);
    EXPECT_EQ(item->menu.text, "打开根目录");
    EXPECT_EQ(item->menu.flags, kMenuChecked);
    EXPECT_EQ(FindElement(w, 0x16009999), nullptr);
}

TEST(UiReader, BindsOffsetsAsHandlerSlots) {
    std::vector<uint8_t> data = SampleSegment();
    UiDescription d;
    ASSERT_TRUE(ReadUiDescription(data.data(), static_cast<uint32_t>(data.size()), &d));
    const BoundHandler table[] = {Routine0, Routine1, Routine2, Routine3, Routine4};
    BindUiHandlers(&d, table, 5);
    WindowDefinition* w = &d.windows[0];
    const ElementDefinition* self = FindElement(w, 0);
    EXPECT_EQ(self->HandlerFor(0), &Routine0);  // offset 0: the routine at the code base
    EXPECT_EQ(self->HandlerFor(1), &Routine2);
    EXPECT_EQ(self->HandlerFor(3), nullptr);  // offset -1
    EXPECT_EQ(self->HandlerFor(2), nullptr);  // not bound at all
    const ElementDefinition* control = FindElement(w, 0x16000001);
    EXPECT_EQ(control->HandlerFor(0), &Routine1);
    EXPECT_EQ(control->HandlerFor(15), &Routine3);
    // Offset 16 names slot 4; with a table of four routines it stays unbound.
    EXPECT_EQ(FindElement(w, 0x26000003)->HandlerFor(0), &Routine4);
    BindUiHandlers(&d, table, 4);
    EXPECT_EQ(FindElement(w, 0x26000003)->HandlerFor(0), nullptr);
}

TEST(UiReader, RefusesEveryTruncation) {
    std::vector<uint8_t> data = SampleSegment();
    for (uint32_t size = 0; size < data.size(); ++size) {
        // A copy of exactly `size` bytes, so reading past it would be caught
        // by the heap checks of the allocation rather than read silently.
        std::vector<uint8_t> cut(data.begin(), data.begin() + size);
        UiDescription d;
        EXPECT_FALSE(ReadUiDescription(cut.data(), size, &d)) << "size " << size;
        EXPECT_TRUE(d.windows.empty());
    }
}

TEST(UiReader, RefusesLengthsAndCountsPastTheEnd) {
    std::vector<uint8_t> data = SampleSegment();
    UiDescription d;
    auto patched = [&](size_t at, uint32_t value) {
        std::vector<uint8_t> copy = data;
        std::memcpy(&copy[at], &value, 4);
        return ReadUiDescription(copy.data(), static_cast<uint32_t>(copy.size()), &d);
    };
    EXPECT_FALSE(patched(0, 0xFFFFFFF8u));  // window table size
    EXPECT_FALSE(patched(0, 12));           // not a multiple of 8
    // First window block at 4 + 16: reserved, module, name length.
    const size_t block = 4 + 16;
    EXPECT_FALSE(patched(block + 8, 0x7FFFFFFF));  // name length
    for (size_t at = block; at + 4 <= data.size() && at < block + 200; at += 4) {
        // Huge values anywhere in the first window's header and tables must
        // be refused or read within bounds, never crash.
        patched(at, 0xFFFFFFF0u);
        patched(at, 0x40000000u);
    }
    // Every byte flipped: refused or read, never out of bounds.
    for (size_t at = 0; at < data.size(); ++at) {
        std::vector<uint8_t> copy = data;
        copy[at] ^= 0xFF;
        ReadUiDescription(copy.data(), static_cast<uint32_t>(copy.size()), &d);
    }
}

TEST(UiReader, OptionsVersionAboveSixMakesOnlyThatWindowUnloadable) {
    std::vector<uint8_t> data =
        segment::Segment({SampleWindow(0x52000001, 7), SampleWindow(0x52000002)});
    UiDescription d;
    ASSERT_TRUE(ReadUiDescription(data.data(), static_cast<uint32_t>(data.size()), &d));
    EXPECT_FALSE(FindWindowDefinition(&d, 0x52000001)->loadable);
    EXPECT_TRUE(FindWindowDefinition(&d, 0x52000002)->loadable);
}

TEST(UiReader, OlderOptionsVersionsStopEarly) {
    std::vector<uint8_t> data = segment::Segment({SampleWindow(0x52000001, 1)});
    UiDescription d;
    ASSERT_TRUE(ReadUiDescription(data.data(), static_cast<uint32_t>(data.size()), &d));
    EXPECT_TRUE(d.windows[0].options.taskbarButton);  // absent before version 2: default
    EXPECT_FALSE(d.windows[0].options.alwaysOnTop);
}

TEST(UiReader, ReadsTheProgramsSegment) {
    UiDescription d;
    ASSERT_TRUE(ReadUiDescription(kUiSegment, kUiSegmentSize, &d));
    ASSERT_EQ(d.windows.size(), 3u);
    WindowDefinition* dock = FindWindowDefinition(&d, kDockWindow);
    WindowDefinition* panel = FindWindowDefinition(&d, kDockPanelWindow);
    ASSERT_TRUE(dock && panel);
    EXPECT_EQ(dock->elements.size(), 3u);
    EXPECT_EQ(panel->elements.size(), 8u);
    EXPECT_TRUE(dock->loadable && panel->loadable);
    EXPECT_EQ(dock->options.border, 0);
    EXPECT_EQ(panel->options.border, 2);
    EXPECT_TRUE(dock->options.taskbarButton);
    EXPECT_FALSE(panel->options.taskbarButton);
    const ElementDefinition* menu = FindElement(panel, kPanelMenu);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isMenuEntry && (menu->menu.flags & kMenuHidden));
    const ElementDefinition* item = FindElement(panel, kPanelMenuOpenRoot);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->menu.text, "打开根目录");
    ASSERT_EQ(item->events.size(), 1u);
    EXPECT_EQ(item->events[0].offset, kSlotOpenRootFolder * 4);
    // Truncating the real segment anywhere is refused too.
    std::vector<uint8_t> data(kUiSegment, kUiSegment + kUiSegmentSize);
    for (uint32_t size = 0; size < kUiSegmentSize; size += 7) {
        std::vector<uint8_t> cut(data.begin(), data.begin() + size);
        EXPECT_FALSE(ReadUiDescription(cut.data(), size, &d)) << size;
    }
}
