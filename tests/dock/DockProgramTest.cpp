// QuickDock.exe itself against the taskbar stand-in: the button goes into the
// taskbar in the place of the hidden TrayButton, the panel waits beyond the
// right edge of the screen, slides in and out on clicks and slides out when
// the shell reports that another window was activated.
#include <windows.h>
#include <gtest/gtest.h>

#include "tests/support/DockProgram.h"
#include "tests/support/ProcessWatch.h"
#include "tests/support/TaskbarStandInClient.h"
#include "ui/description/WindowGeometry.h"

namespace {

constexpr WPARAM kWindowActivated = 0x8004;

void Click(HWND w) {
    PostMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PostMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
}

TEST(DockProgram, EmbedsItsButtonAndSlidesThePanel) {
    TaskbarStandIn standIn;
    ASSERT_TRUE(standIn.Start("--tree TrayNotifyWnd:900:300(TrayButton:10:40)"));
    HWND taskbar = standIn.Taskbar();
    HWND button = standIn.Find("TrayButton");
    const RECT buttonBox = standIn.Entry(button)->box;

    DockProgram program;
    ASSERT_TRUE(program.Start());
    HWND dock = nullptr;
    ASSERT_TRUE(Eventually([&] { return (dock = program.DockIn(taskbar)) != nullptr; }));
    HWND panel = nullptr;
    ASSERT_TRUE(Eventually([&] { return (panel = program.Panel()) != nullptr; }));

    // The button's place, inside the taskbar; the button itself is hidden.
    EXPECT_TRUE(Eventually([&] { return Box(dock).left == buttonBox.left; }));
    EXPECT_EQ(buttonBox.top, Box(dock).top);
    EXPECT_TRUE(Eventually([&] { return !IsWindowVisible(button); }));

    // Parked beyond the right edge, resting on the taskbar the shell reports.
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    ASSERT_TRUE(Eventually([&] { return Box(panel).bottom == ReportedTaskbarBox().top; }));
    EXPECT_EQ(screenWidth, Box(panel).left);

    // A click slides it in, the next one out again.
    Click(dock);
    EXPECT_TRUE(Eventually([&] { return Box(panel).left == screenWidth - kPanelWidth; }));
    Click(dock);
    EXPECT_TRUE(Eventually([&] { return Box(panel).left == screenWidth; }));

    // Shown, it slides out when the shell reports another window's activation.
    Click(dock);
    ASSERT_TRUE(Eventually([&] { return Box(panel).left == screenWidth - kPanelWidth; }));
    const UINT shellHook = RegisterWindowMessageA("SHELLHOOK");
    SendMessageA(panel, shellHook, kWindowActivated, 0);
    EXPECT_TRUE(Eventually([&] { return Box(panel).left == screenWidth; }));
    // Hidden, the notice changes nothing.
    SendMessageA(panel, shellHook, kWindowActivated, 0);
    Sleep(200);
    EXPECT_EQ(screenWidth, Box(panel).left);
}

TEST(DockProgram, ASecondCopyTakesTheSamePlace) {
    TaskbarStandIn standIn;
    ASSERT_TRUE(
        standIn.Start("--rect 100,760,1180,40 --tree TrayNotifyWnd:800:300(TrayButton:10:40)"));
    HWND taskbar = standIn.Taskbar();
    const RECT buttonBox = standIn.Entry(standIn.Find("TrayButton"))->box;
    DockProgram first, second;
    ASSERT_TRUE(first.Start());
    HWND firstDock = nullptr;
    ASSERT_TRUE(Eventually([&] { return (firstDock = first.DockIn(taskbar)) != nullptr; }));
    ASSERT_TRUE(Eventually([&] { return first.Panel() != nullptr; }));
    ASSERT_TRUE(second.Start());
    HWND secondDock = nullptr;
    ASSERT_TRUE(Eventually([&] { return (secondDock = second.DockIn(taskbar)) != nullptr; }));
    ASSERT_TRUE(Eventually([&] { return second.Panel() != nullptr; }));
    EXPECT_TRUE(Eventually([&] { return Box(firstDock).left == buttonBox.left; }));
    EXPECT_TRUE(Eventually([&] { return Box(secondDock).left == buttonBox.left; }));
}

}  // namespace
