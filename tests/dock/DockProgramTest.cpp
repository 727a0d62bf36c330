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

// Wine's display scaling as Windows stores it: 144 DPI (150 %), with the
// scaling version set so that programs which declare no DPI awareness run
// unaware, as on Windows. Only programs started while it is in force see it;
// the previous values come back when the guard ends (and scripts/wine-env
// drops a left-over value before each run).
class ScaledDisplay {
  public:
    ScaledDisplay() {
        if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0,
                            KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_,
                            nullptr) != ERROR_SUCCESS)
            return;
        ok_ = Set("LogPixels", 144, &logPixels_) && Set("DpiScalingVer", 0x1018, &scalingVersion_);
    }
    ScaledDisplay(const ScaledDisplay&) = delete;
    ScaledDisplay& operator=(const ScaledDisplay&) = delete;
    ~ScaledDisplay() {
        if (!key_) return;
        Restore("LogPixels", logPixels_);
        Restore("DpiScalingVer", scalingVersion_);
        RegCloseKey(key_);
    }
    bool Ok() const { return ok_; }

  private:
    struct Saved {
        bool present = false;
        DWORD value = 0;
    };
    bool Set(const char* name, DWORD value, Saved* saved) {
        DWORD size = sizeof(saved->value), type = 0;
        saved->present =
            RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&saved->value),
                             &size) == ERROR_SUCCESS &&
            type == REG_DWORD;
        return RegSetValueExA(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                              sizeof(value)) == ERROR_SUCCESS;
    }
    void Restore(const char* name, const Saved& saved) {
        if (saved.present) {
            RegSetValueExA(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&saved.value),
                           sizeof(saved.value));
        } else {
            RegDeleteValueA(key_, name);
        }
    }
    HKEY key_ = nullptr;
    Saved logPixels_, scalingVersion_;
    bool ok_ = false;
};

bool CallUser32In(HANDLE process, const char* function, DWORD* result) {
    return CallIn(process, "user32.dll", function, result);
}

// At 150 % the program must measure the screen, the taskbar and its own
// windows in one space, physical pixels, or the taskbar's thickness comes out
// 0 and the panel covers the taskbar: it declares itself DPI-aware, so the
// system gives it the display's real 144 DPI, not the 96 of an unaware
// program. (Wine gives even unaware programs physical screen and taskbar
// sizes, so the misplaced panel itself cannot be shown here.)
TEST(DockProgram, OnAScaledDisplayMeasuresInPhysicalPixels) {
    ScaledDisplay scaled;
    ASSERT_TRUE(scaled.Ok());
    TaskbarStandIn standIn;
    ASSERT_TRUE(standIn.Start("--tree TrayNotifyWnd:900:300(TrayButton:10:40)"));
    DockProgram program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(Eventually([&] { return program.DockIn(standIn.Taskbar()) != nullptr; }));
    DWORD dpi = 0, aware = 0;
    ASSERT_TRUE(CallUser32In(program.Process(), "GetDpiForSystem", &dpi));
    ASSERT_TRUE(CallUser32In(program.Process(), "IsProcessDPIAware", &aware));
    EXPECT_EQ(144u, dpi);
    EXPECT_TRUE(aware);
}

// The panel refuses to close, but it never blocks log-off, restart or
// shutdown: the system's question is answered yes, and the session's end
// ends the program normally (exit code 0). Sent from this process, as the
// system sends them; Wine cannot end a real session here.
TEST(DockProgram, TheSessionMayEndThoughThePanelRefusesToClose) {
    TaskbarStandIn standIn;
    ASSERT_TRUE(standIn.Start("--tree TrayNotifyWnd:900:300(TrayButton:10:40)"));
    DockProgram program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(Eventually([&] { return program.DockIn(standIn.Taskbar()) != nullptr; }));
    HWND panel = nullptr;
    ASSERT_TRUE(Eventually([&] { return (panel = program.Panel()) != nullptr; }));

    // Alt+F4 arrives as SC_CLOSE, then WM_CLOSE: both are refused.
    SendMessageA(panel, WM_SYSCOMMAND, SC_CLOSE, 0);
    SendMessageA(panel, WM_CLOSE, 0, 0);
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(program.Process(), 300));
    EXPECT_TRUE(IsWindow(panel));

    EXPECT_EQ(TRUE, SendMessageA(panel, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    EXPECT_EQ(TRUE, SendMessageA(panel, WM_QUERYENDSESSION, 0, 0));
    // Another program refused: the session goes on, and so does the dock.
    SendMessageA(panel, WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(program.Process(), 300));
    EXPECT_TRUE(IsWindow(panel));

    SendMessageTimeoutA(panel, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000, nullptr);
    ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(program.Process(), 10000));
    DWORD code = 99;
    GetExitCodeProcess(program.Process(), &code);
    EXPECT_EQ(0u, code);
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
