// The taskbar search and the dock's placement against the taskbar stand-in,
// a Shell_TrayWnd of another process that is found before Wine's own.
#include <windows.h>
#include <gtest/gtest.h>

#include "app/common/DeclaredFunctions.h"
#include "app/dock/EmbedDock.h"
#include "runtime/external/ExternalFunctions.h"
#include "runtime/process/Runtime.h"
#include "tests/support/DeclaredTable.h"
#include "tests/support/TaskbarStandInClient.h"

namespace {

class TaskbarEmbedding : public ::testing::Test {
  protected:
    void SetUp() override { InstallDeclaredFunctions(); }
    void TearDown() override {
        if (dock_) DestroyWindow(dock_);
        standIn_.Stop();
    }
    void Start(const std::string& options) { ASSERT_TRUE(standIn_.Start(options)) << options; }

    // A window of this process in the role of DockWindow, moved into the
    // taskbar the way EmbedDock does it.
    HWND EmbedProbe() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "QdDockProbe";
        RegisterClassA(&wc);
        dock_ = CreateWindowExA(0, "QdDockProbe", "", WS_POPUP, 0, 0, 48, 40, nullptr, nullptr,
                                nullptr, nullptr);
        SetParent(dock_, FindTaskbarWindow());
        return dock_;
    }

    TaskbarStandIn standIn_;
    HWND dock_ = nullptr;
};

// Hiding goes through ShowWindowAsync into another process.
bool BecomesHidden(HWND window) {
    for (int i = 0; i < 200 && IsWindowVisible(window); ++i) Sleep(25);
    return !IsWindowVisible(window);
}

TEST_F(TaskbarEmbedding, TheStandInIsTheTaskbarFound) {
    Start("");
    EXPECT_EQ(standIn_.Taskbar(), FindTaskbarWindow());
    EXPECT_EQ(standIn_.Find("TrayNotifyWnd"), FindTrayNotifyWindow());
}

TEST_F(TaskbarEmbedding, ANestedButtonUnderAnEarlierSiblingIsFoundFirst) {
    Start(
        "--tree TrayNotifyWnd:700:500(Pager:0:200(Clock:0:40,TrayButton:50:40),"
        "TrayButton:300:40)");
    HWND nested = standIn_.Find("TrayButton", 0);
    ASSERT_EQ(standIn_.Find("Pager"), GetParent(nested));
    EXPECT_EQ(nested, FindDescendantByClass(FindTrayNotifyWindow(), "TrayButton"));
}

TEST_F(TaskbarEmbedding, AClassDifferingOnlyInLetterCaseDoesNotMatch) {
    // Class names are registered without regard to case, so the stand-in's
    // process holds only the lower-case spelling.
    Start("--tree TrayNotifyWnd:700:500(traybutton:0:40)");
    EXPECT_EQ(nullptr, FindDescendantByClass(FindTrayNotifyWindow(), "TrayButton"));
    EXPECT_EQ(standIn_.Find("traybutton"),
              FindDescendantByClass(FindTrayNotifyWindow(), "traybutton"));
}

TEST_F(TaskbarEmbedding, WithoutANotificationAreaTheTopLevelWindowsAreSearched) {
    Start("--tree Other:700:500(TrayButton:20:40)");
    EXPECT_EQ(nullptr, FindTrayNotifyWindow());
    EXPECT_EQ(standIn_.Find("TrayButton"), FindDescendantByClass(nullptr, "TrayButton"));
}

TEST_F(TaskbarEmbedding, WithoutAButtonTheDockGoesToTheTaskbarsOriginAndNothingIsHidden) {
    Start("--tree TrayNotifyWnd:700:500(Clock:0:60)");
    EXPECT_EQ(0, TakeTrayButtonPlace());
    EXPECT_TRUE(IsWindowVisible(standIn_.Find("Clock")));
    EXPECT_TRUE(IsWindowVisible(standIn_.Find("TrayNotifyWnd")));
}

TEST_F(TaskbarEmbedding, TheDockTakesTheButtonsPlaceOnATaskbarAwayFromTheScreensEdge) {
    // The taskbar starts at screen x 200: the button's screen x is 910, its
    // x in the taskbar 710.
    Start("--rect 200,760,1080,40 --tree TrayNotifyWnd:700:300(TrayButton:10:40)");
    HWND button = standIn_.Find("TrayButton");
    const RECT buttonBox = standIn_.Entry(button)->box;
    ASSERT_EQ(910, buttonBox.left);

    HWND dock = EmbedProbe();
    ASSERT_EQ(standIn_.Taskbar(), GetAncestor(dock, GA_PARENT));
    const int32_t left = TakeTrayButtonPlace();
    EXPECT_EQ(710, left);
    MoveWindow(dock, left, 0, 48, 40, FALSE);
    RECT dockBox;
    GetWindowRect(dock, &dockBox);
    EXPECT_EQ(buttonBox.left, dockBox.left);
    EXPECT_EQ(buttonBox.top, dockBox.top);
    EXPECT_TRUE(BecomesHidden(button));

    // A second copy of the program finds the hidden button and the same place.
    EXPECT_EQ(710, TakeTrayButtonPlace());
}

}  // namespace
