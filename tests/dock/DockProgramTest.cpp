// QuickDock.exe itself against the taskbar stand-in: the button goes into the
// taskbar in the place of the hidden TrayButton, the panel waits beyond the
// right edge of the screen, slides in and out on clicks and slides out when
// the shell reports that another window was activated.
#include <windows.h>
#include <sddl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

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

    // Parked beyond the right edge, resting on the taskbar that holds the
    // dock (Wine's shell reports a bar of its own).
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    ASSERT_TRUE(Eventually([&] { return Box(panel).bottom == Box(taskbar).top; }));
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

// A registry key that everyone may read and nobody may change while the
// guard lives; its own security comes back at the end.
class ReadOnlyKey {
  public:
    ReadOnlyKey(HKEY root, const char* path) {
        if (RegOpenKeyExA(root, path, 0, READ_CONTROL | WRITE_DAC, &key_) != ERROR_SUCCESS) return;
        DWORD size = 0;
        RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, nullptr, &size);
        saved_.resize(size);
        PSECURITY_DESCRIPTOR readOnly = nullptr;
        ok_ = size > 0 &&
              RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, saved_.data(), &size) ==
                  ERROR_SUCCESS &&
              ConvertStringSecurityDescriptorToSecurityDescriptorA(
                  "D:P(A;;KR;;;WD)", SDDL_REVISION_1, &readOnly, nullptr) &&
              RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, readOnly) == ERROR_SUCCESS;
        if (readOnly) LocalFree(readOnly);
    }
    ReadOnlyKey(const ReadOnlyKey&) = delete;
    ReadOnlyKey& operator=(const ReadOnlyKey&) = delete;
    ~ReadOnlyKey() {
        if (!key_) return;
        if (ok_) RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, saved_.data());
        RegCloseKey(key_);
    }
    bool Ok() const { return ok_; }

  private:
    HKEY key_ = nullptr;
    std::vector<BYTE> saved_;
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

// A second start (the automatic start and a double click) adds no dock and
// leaves no process: it slides the running dock's panel in and ends.
TEST(DockProgram, ASecondStartShowsThePanelOfTheFirst) {
    TaskbarStandIn standIn;
    ASSERT_TRUE(standIn.Start("--tree TrayNotifyWnd:900:300(TrayButton:10:40)"));
    DockProgram first, second;
    ASSERT_TRUE(first.Start());
    ASSERT_TRUE(Eventually([&] { return first.DockIn(standIn.Taskbar()) != nullptr; }));
    HWND panel = nullptr;
    ASSERT_TRUE(Eventually([&] { return (panel = first.Panel()) != nullptr; }));
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    ASSERT_TRUE(Eventually([&] { return Box(panel).left == screenWidth; }));

    ASSERT_TRUE(second.Start());
    ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(second.Process(), 20000));
    DWORD code = 99;
    GetExitCodeProcess(second.Process(), &code);
    EXPECT_EQ(0u, code);
    EXPECT_EQ(nullptr, second.DockIn(standIn.Taskbar()));
    EXPECT_TRUE(Eventually([&] { return Box(panel).left == screenWidth - kPanelWidth; }));
    EXPECT_TRUE(first.Running());
}

// A Windows 11 taskbar: no TrayButton windows, the notification area at the
// right of a 48-pixel bar, and right after logon without a size yet. The dock
// stays out of sight until the area has one, then sits immediately left of
// it, centred in the bar, hiding nothing; and it follows the area when that
// changes width.
TEST(DockProgram, WithoutTrayButtonsTheDockSitsLeftOfTheNotificationArea) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    char options[160];
    std::snprintf(options, sizeof(options),
                  "--rect 0,%d,%d,48 --tree Start:0:48,TrayNotifyWnd:%d:0", screenHeight - 48,
                  screenWidth, screenWidth);
    TaskbarStandIn standIn;
    ASSERT_TRUE(standIn.Start(options));
    DockProgram program;
    ASSERT_TRUE(program.Start());
    HWND dock = nullptr, panel = nullptr;
    ASSERT_TRUE(Eventually([&] { return (dock = program.DockIn(standIn.Taskbar())) != nullptr; }));
    ASSERT_TRUE(Eventually([&] { return (panel = program.Panel()) != nullptr; }));
    EXPECT_FALSE(IsWindowVisible(dock)) << "placed before the notification area has a size";

    ASSERT_TRUE(standIn.Move("TrayNotifyWnd", screenWidth - 280, 280));
    EXPECT_TRUE(Eventually([&] { return IsWindowVisible(dock) != FALSE; }));
    EXPECT_TRUE(Eventually([&] { return Box(dock).right == screenWidth - 280; }));
    EXPECT_EQ(screenHeight - 48 + 4, Box(dock).top) << "centred in the bar";
    EXPECT_TRUE(IsWindowVisible(standIn.Find("Start")));

    ASSERT_TRUE(standIn.Move("TrayNotifyWnd", screenWidth - 380, 380));
    EXPECT_TRUE(Eventually([&] { return Box(dock).right == screenWidth - 380; }));
    EXPECT_EQ(screenHeight - 48, Box(panel).bottom) << "resting on the bar, not over the dock";
}

// A standard user may not write the machine's Run key (UAC): the program then
// starts with the user's own; and once the machine's key may be written,
// that one is used and the user's value goes, so it never starts twice.
TEST(DockProgram, AutoStartFallsBackToTheUsersRunKey) {
    const char* const kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const std::string expected = "\"" + TestProgramDirectory() + "\\QuickDock.exe\"";
    auto valueIn = [&](HKEY root) {
        char value[MAX_PATH * 2] = {};
        DWORD size = sizeof(value) - 1;
        HKEY key;
        if (RegOpenKeyExA(root, kRun, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            return std::string();
        const LONG read = RegQueryValueExA(key, "QuickDock.exe", nullptr, nullptr,
                                           reinterpret_cast<BYTE*>(value), &size);
        RegCloseKey(key);
        return read == ERROR_SUCCESS ? std::string(value) : std::string("<none>");
    };
    auto removeFrom = [&](HKEY root) {
        HKEY key;
        if (RegOpenKeyExA(root, kRun, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
        RegDeleteValueA(key, "QuickDock.exe");
        RegCloseKey(key);
    };
    removeFrom(HKEY_LOCAL_MACHINE);
    removeFrom(HKEY_CURRENT_USER);
    TaskbarStandIn standIn;
    ASSERT_TRUE(standIn.Start("--tree TrayNotifyWnd:900:300(TrayButton:10:40)"));
    {
        // Everyone may read the machine's key, nobody write it, while this lives.
        ReadOnlyKey locked(HKEY_LOCAL_MACHINE, kRun);
        ASSERT_TRUE(locked.Ok());
        DockProgram program;
        ASSERT_TRUE(program.Start());
        EXPECT_TRUE(Eventually([&] { return valueIn(HKEY_CURRENT_USER) == expected; }));
        EXPECT_EQ("<none>", valueIn(HKEY_LOCAL_MACHINE));
    }
    DockProgram program;
    ASSERT_TRUE(program.Start());
    EXPECT_TRUE(Eventually([&] { return valueIn(HKEY_LOCAL_MACHINE) == expected; }));
    EXPECT_TRUE(Eventually([&] { return valueIn(HKEY_CURRENT_USER) == "<none>"; }));
    program.Stop();
    removeFrom(HKEY_LOCAL_MACHINE);
    removeFrom(HKEY_CURRENT_USER);
}

}  // namespace
