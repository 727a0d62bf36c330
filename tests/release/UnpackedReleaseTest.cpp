// The release as a user gets it: QuickDock.exe started from the folder that
// the release archive unpacked to (given on the command line, as the
// package check runs it), against the taskbar stand-in. It embeds its button,
// and its panel shows the archive's three empty sample categories.
//   test_release_unpacked.exe FOLDER [PICTURE.bmp]
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/DesktopSupport.h"
#include "tests/support/ProcessWatch.h"
#include "tests/support/TaskbarStandInClient.h"

namespace {

constexpr int kPanelWidth = 400, kPanelHeight = 248;
constexpr int kButtonPitch = 40, kButtonHeight = 36, kToolbarPadding = 6;
constexpr int kCellWidth = 74, kIconSize = 48, kColumns = 4;

std::string gFolder, gPicture;

class UnpackedProgram : public ::testing::Test {
  protected:
    void TearDown() override {
        if (!process_.hProcess) return;
        TerminateProcess(process_.hProcess, 9);
        WaitForSingleObject(process_.hProcess, 5000);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
        ForgetAutoStart();
    }
    // The program registered the unpacked copy to start with Windows; the
    // folder goes away after the check, so the value goes too.
    static void ForgetAutoStart() {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                          0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) != ERROR_SUCCESS)
            return;
        char value[1024] = {};
        DWORD size = sizeof(value) - 1;
        if (RegQueryValueExA(key, "QuickDock.exe", nullptr, nullptr, reinterpret_cast<BYTE*>(value),
                             &size) == ERROR_SUCCESS &&
            std::string(value).find(gFolder) != std::string::npos)
            RegDeleteValueA(key, "QuickDock.exe");
        RegCloseKey(key);
    }
    bool Start() { return StartProgramIn(gFolder, "QuickDock.exe", &process_); }
    HWND Dock(HWND taskbar) const { return FindChildOf(taskbar, process_.dwProcessId); }
    HWND Panel() const {
        return FindTopWindowSized(process_.dwProcessId, kPanelWidth, kPanelHeight);
    }
    PROCESS_INFORMATION process_ = {};
};

TEST_F(UnpackedProgram, StartsEmbedsAndShowsTheThreeEmptyCategories) {
    TaskbarStandIn standIn;
    char tree[96];
    std::snprintf(tree, sizeof(tree), "--tree TrayNotifyWnd:%d:300(TrayButton:10:40)",
                  GetSystemMetrics(SM_CXSCREEN) - 780);
    ASSERT_TRUE(standIn.Start(tree));
    HWND trayButton = standIn.Find("TrayButton");
    const RECT buttonBox = standIn.Entry(trayButton)->box;

    ASSERT_TRUE(Start());
    HWND dock = nullptr, panel = nullptr;
    ASSERT_TRUE(Eventually([&] { return (dock = Dock(standIn.Taskbar())) != nullptr; }));
    EXPECT_TRUE(Eventually([&] { return Box(dock).left == buttonBox.left; }));
    EXPECT_TRUE(Eventually([&] { return !IsWindowVisible(trayButton); }));
    ASSERT_TRUE(Eventually([&] { return (panel = Panel()) != nullptr; }));
    HWND toolbar = FindWindowExA(panel, nullptr, "ToolbarEx", nullptr);
    HWND list = FindWindowExA(panel, nullptr, "IcoListboxEx", nullptr);
    ASSERT_NE(toolbar, nullptr);
    ASSERT_NE(list, nullptr);

    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const POINT dockCentre = {(Box(dock).left + Box(dock).right) / 2,
                              (Box(dock).top + Box(dock).bottom) / 2};
    ClickAt(dockCentre.x, dockCentre.y);
    ASSERT_TRUE(Eventually([&] { return Box(panel).left == screenWidth - kPanelWidth; }))
        << "the panel did not slide in";
    MoveMouse(screenWidth - kPanelWidth - 60, Box(panel).top + 60);
    Settle(500);

    const RECT box = Box(panel);
    ScreenPicture picture(box);
    if (!gPicture.empty()) picture.SaveBmp(gPicture);
    auto local = [&](const RECT& r) {
        return RECT{r.left - box.left, r.top - box.top, r.right - box.left, r.bottom - box.top};
    };
    // A button's title: drawn for the three categories, nothing below them.
    const RECT bar = Box(toolbar);
    auto title = [&](int index) {
        const int top = bar.top + kToolbarPadding + index * kButtonPitch;
        return local(RECT{bar.left + kToolbarPadding + 12, top, bar.right - kToolbarPadding,
                          top + kButtonHeight});
    };
    for (int i = 0; i < 3; ++i) EXPECT_GT(picture.CountColours(title(i)), 6) << "button " << i;
    EXPECT_LT(picture.CountColours(title(3)), 4) << "a fourth category button";
    // The first category is shown, and it is empty: no item in the list.
    const RECT listBox = local(Box(list));
    const COLORREF background = picture.At(listBox.right - 30, listBox.bottom - 12);
    for (int i = 0; i < kColumns; ++i) {
        const int left = listBox.left + 1 + i * kCellWidth + (kCellWidth - kIconSize) / 2;
        const RECT icon = {left, listBox.top + 12, left + kIconSize, listBox.top + 12 + kIconSize};
        EXPECT_LT(picture.CountDifferent(icon, background), 20) << "an item at place " << i;
    }
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: test_release_unpacked.exe FOLDER [PICTURE.bmp]\n");
        return 2;
    }
    gFolder = argv[1];
    if (argc > 2) gPicture = argv[2];
    return RUN_ALL_TESTS();
}
