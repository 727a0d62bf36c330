// The skinned controls inside real windows: the runtime loads both windows
// of the stored UI description, SkinUi creates their skinned controls over
// the recording engine (beside this test program), and engine events reach
// the program's handlers, whose property writes and commands reach the
// engine again.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/dock/DockButton.h"
#include "app/launch/SampleList.h"
#include "runtime/library/Commands.h"
#include "runtime/library/core/CoreCommandList.h"
#include "runtime/windows/Properties.h"
#include "ui/skin/SkinUiLibrary.h"
#include "runtime/process/Runtime.h"
#include "runtime/process/RuntimeError.h"
#include "runtime/windows/WindowRuntime.h"
#include "tests/skin/SkinTestSupport.h"
#include "ui/description/HandlerSlots.h"
#include "ui/description/UiIds.h"
#include "ui/description/UiSegment.h"
#include "ui/skin/SkinCommands.h"

using namespace skin_test;

namespace {

int gStubCalls[kHandlerSlotCount] = {};
template <int Slot>
HandlerResult Stub(const int32_t*, int32_t) {
    ++gStubCalls[Slot];
    return NoResult();
}

// The program's own handlers for the skin's events; the rest only count.
const EventHandler kHandlers[kHandlerSlotCount] = {
    Stub<kSlotEmbedDock>,
    Stub<kSlotTogglePanel>,
    OnDockFirstActivation,
    OnDockHover,
    Stub<kSlotPanelCreated>,
    Stub<kSlotPanelMayClose>,
    Stub<kSlotPanelDestroying>,
    OnSampleListEvent,
    Stub<kSlotLaunchEntry>,
    Stub<kSlotIconListContextMenu>,
    Stub<kSlotToolbarButtonClicked>,
    Stub<kSlotToolbarEvent8>,
    Stub<kSlotOpenRootFolder>,
    Stub<kSlotPanelFocused>,
    Stub<kSlotIconListKey>,
};

void ReportAndFail(const char* text, int32_t code) {
    std::fprintf(stderr, "runtime error %d: %s\n", code, text);
}

ProgramImageHeader gHeader{};
const SupportLibrary* gLibraries[2] = {};

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

EngineControl ControlOfComponent(uint32_t windowId, uint32_t componentId) {
    return reinterpret_cast<EngineControl>(
        GetPropA(LiveHandleOf(windowId, componentId), kEngineControlProperty));
}

class SkinnedWindows : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        gLibraries[0] = &CoreLibrary();
        gLibraries[1] = &SkinUiLibrary();
        gHeader.buildMode = 3;
        gHeader.codeBase = kHandlers;
        gHeader.uiSegment = kUiSegment;
        gHeader.uiSegmentSize = kUiSegmentSize;
        gHeader.supportLibraryCount = 2;
        gHeader.supportLibraries = gLibraries;
        SetProgramHeader(&gHeader);
        SetRuntimeErrorHook(ReportAndFail);
        InitializeRuntime();
    }
    void SetUp() override {
        engine_ = RecordingEngine(ProgramFolder());
        ASSERT_TRUE(engine_.Present()) << "the recording engine beside the program was not loaded";
    }
    RecordingEngine engine_{""};
};

TEST_F(SkinnedWindows, LoadingCreatesEachSkinnedControlThroughTheEngine) {
    engine_.Clear();
    ASSERT_TRUE(LoadRuntimeWindow(kDockWindow, 0, false));
    ASSERT_TRUE(LoadRuntimeWindow(kDockPanelWindow, kDockWindow, false));
    auto lines = engine_.Lines();
    std::vector<std::string> created;
    for (const std::string& line : lines) {
        if (line.compare(0, 14, "CreateControl_") == 0)
            created.push_back(line.substr(0, line.find(" wrapper")));
    }
    std::vector<std::string> expected = {
        "CreateControl_PictureBoxEx reserved=0 6,4,36,32 ctx=16012C81/52010001/0",
        "CreateControl_WindowEx reserved=0 4,4,24,24 ctx=16012C7F/52010001/11",
        "CreateControl_ListboxEx reserved=0 8,8,384,90 ctx=16012E42/52012C96/10",
        "CreateControl_IcoListboxEx reserved=0 101,800,299,247 ctx=16012DC1/52012C96/10",
        "CreateControl_PictureBoxEx reserved=0 1,800,398,1 ctx=16012D4D/52012C96/0",
        "CreateControl_ToolbarEx reserved=0 1,800,100,247 ctx=16012D4A/52012C96/10",
        "CreateControl_WindowEx reserved=0 4,4,24,24 ctx=16012C9A/52012C96/11",
    };
    EXPECT_EQ(created, expected);
    for (const std::string& line : lines) {
        if (line.compare(0, 14, "CreateControl_") != 0) continue;
        EXPECT_NE(line.find("wrapper-in-parent=1"), std::string::npos) << line;
        EXPECT_NE(line.find("zeros=1"), std::string::npos) << line;
    }
    HWND dock = LiveHandleOf(kDockWindow, 0);
    HWND skinRoot = LiveHandleOf(kDockWindow, kDockSkinRoot);
    ASSERT_TRUE(skinRoot);
    EXPECT_EQ(GetParent(skinRoot), dock);
    char className[32] = {};
    GetClassNameA(skinRoot, className, sizeof className);
    EXPECT_STREQ(className, "\"WindowEx\"");
    EXPECT_NE(ControlOfComponent(kDockPanelWindow, kPanelToolbar), 0);
}

TEST_F(SkinnedWindows, HoverEventsDriveTheSkinRootsOpacity) {
    EngineControl root = ControlOfComponent(kDockWindow, kDockSkinRoot);
    ASSERT_NE(root, 0);
    engine_.Clear();
    engine_.Fire(root, 669, 1);
    engine_.Fire(root, 669, 0);
    EXPECT_EQ(engine_.Lines(), (std::vector<std::string>{
                                   "ControlSendMessage 16012C7F set index=2 value=30 zeros=1",
                                   "ControlSendMessage 16012C7F set index=2 value=1 zeros=1"}));
    EXPECT_EQ(ReadIntProperty(kDockWindow, kDockSkinRoot, 10), 1);
}

TEST_F(SkinnedWindows, SampleListEventClearsItsSelection) {
    EngineControl list = ControlOfComponent(kDockPanelWindow, kPanelSampleList);
    ASSERT_NE(list, 0);
    engine_.Clear();
    engine_.Fire(list, 656);
    EXPECT_EQ(engine_.Lines(),
              std::vector<std::string>{"ControlSendMessage 16012E42 set index=8 value=-1 zeros=1"});
}

TEST_F(SkinnedWindows, BoundEventsReachTheirHandlersOnly) {
    engine_.Clear();
    int before = gStubCalls[kSlotToolbarButtonClicked];
    engine_.Fire(ControlOfComponent(kDockPanelWindow, kPanelToolbar), 650, 2);
    EXPECT_EQ(gStubCalls[kSlotToolbarButtonClicked], before + 1);
    engine_.Fire(ControlOfComponent(kDockPanelWindow, kPanelIconList), 665);
    EXPECT_EQ(gStubCalls[kSlotIconListContextMenu], 1);
    // Nothing is bound to the dock face: the event goes nowhere.
    engine_.Fire(ControlOfComponent(kDockWindow, kDockButtonFace), 660);
    EXPECT_TRUE(engine_.Lines().empty());

    EventRecord firstActivation{};
    firstActivation.windowId = kDockWindow;
    firstActivation.componentId = kDockWindowSelf;
    firstActivation.event = 8;
    DeliverEvent(&firstActivation);
    EXPECT_EQ(engine_.Lines(), std::vector<std::string>{"ControlUpdateCache"});
}

TEST_F(SkinnedWindows, CommandsFindControlsThroughTheRuntime) {
    engine_.Clear();
    CallLibrary(kSkinLibrary, SkinCommand::InsertButton_ToolbarEx,
                ArgComponent(TypeId::kToolbarEx, kDockPanelWindow, kPanelToolbar), ArgInt(1),
                ArgInt(0), ArgOmitted(), ArgText("工具"), ArgOmitted(), ArgInt(32), ArgInt(0),
                ArgInt(1), ArgOmitted(), ArgBool(false));
    ResultRecord count =
        CallLibrary(kSkinLibrary, SkinCommand::GetButtonCount_ToolbarEx,
                    ArgComponent(TypeId::kToolbarEx, kDockPanelWindow, kPanelToolbar));
    EXPECT_EQ(count.AsInt(), 1);
    auto lines = engine_.Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "CreateBinEx title=工具 marker=-4 values=0,32,0,1,0,0");
    EXPECT_EQ(lines[1].substr(0, 50), "InsertButton_ToolbarEx 16012D4A position=1 values=");
}

TEST_F(SkinnedWindows, DestroyingThePanelDestroysEachEngineControlOnce) {
    engine_.Clear();
    DestroyWindow(LiveHandleOf(kDockPanelWindow, 0));
    auto lines = engine_.Lines();
    for (const char* id : {"16012E42", "16012DC1", "16012D4D", "16012D4A", "16012C9A"}) {
        EXPECT_EQ(std::count(lines.begin(), lines.end(),
                             std::string("ControlDestroy ") + id + " tab-destroy=1"),
                  1)
            << id;
    }
    EXPECT_EQ(LiveHandleOf(kDockPanelWindow, kPanelToolbar), nullptr);
    EXPECT_FALSE(Contains(lines, "ControlDestroy 16012C7F tab-destroy=1"));
    DestroyWindow(LiveHandleOf(kDockWindow, 0));
}

}  // namespace
