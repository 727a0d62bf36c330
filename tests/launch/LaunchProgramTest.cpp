// QuickDock.exe in a run folder of its own, against the taskbar stand-in:
// categories from the quick-launch folder, an item opened through the shell
// (the marker program records that it ran), the panel sliding away after a
// launch, the toolbar switching categories, the one-item context menu, and
// the panel refusing to close.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/launch/LaunchTestSupport.h"
#include "tests/support/ProcessWatch.h"
#include "tests/support/TaskbarStandInClient.h"

namespace {

HWND ChildOfClass(HWND parent, const char* className) {
    return FindWindowExA(parent, nullptr, className, nullptr);
}

// The popup menu window ("#32768") of a process, if one is open.
HWND OpenMenuOf(DWORD process) {
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr); w;
         w = FindWindowExA(nullptr, w, "#32768", nullptr)) {
        if (OwnerProcess(w) == process && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

// Closes a window the shell opened, and ends its process if it stays.
void CloseShellWindow(HWND window) {
    DWORD id = OwnerProcess(window);
    HANDLE shell = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (!shell) return;
    if (WaitForSingleObject(shell, 5000) != WAIT_OBJECT_0) TerminateProcess(shell, 0);
    CloseHandle(shell);
}

class LaunchProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(CopyFileA((TaskbarDirectory() + "\\QuickDock.exe").c_str(),
                              (run / "QuickDock.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileA((TaskbarDirectory() + "\\SkinEngine.dll").c_str(),
                              (run / "SkinEngine.dll").c_str(), FALSE));
        marker = run / "标记 程序.exe";
        ASSERT_TRUE(CopyFileA((TaskbarDirectory() + "\\test_support_marker.exe").c_str(),
                              marker.c_str(), FALSE));
        log = marker + ".runs.txt";
        ASSERT_TRUE(MakeFolder(run / "临时数据"));
        std::string root = run / "快速启动目录";
        ASSERT_TRUE(MakeFolder(root));
        ASSERT_TRUE(MakeFolder(root + "\\01甲"));
        ASSERT_TRUE(MakeFolder(root + "\\02乙"));
        ShortcutSpec first;
        first.target = marker;
        first.arguments = "甲";
        ASSERT_TRUE(MakeShortcut(root + "\\01甲\\标记.lnk", first));
        ShortcutSpec second = first;
        second.arguments = "乙";
        ASSERT_TRUE(MakeShortcut(root + "\\02乙\\标记.lnk", second));
        ASSERT_TRUE(standIn.Start("--tree TrayNotifyWnd:900:300(TrayButton:10:40)"));
    }
    void TearDown() override {
        if (process.hProcess) {
            TerminateProcess(process.hProcess, 9);
            WaitForSingleObject(process.hProcess, 5000);
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
        standIn.Stop();
    }
    static std::string TaskbarDirectory() { return ::TestProgramDirectory(); }

    bool Start() {
        std::string exe = run / "QuickDock.exe";
        std::string command = "\"" + exe + "\"";
        std::vector<char> line(command.begin(), command.end());
        line.push_back('\0');
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        return CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              run.Path().c_str(), &si, &process) != 0;
    }
    HWND Panel() {
        for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
            RECT r = Box(w);
            if (OwnerProcess(w) == process.dwProcessId && r.right - r.left == 400 &&
                r.bottom - r.top == 248)
                return w;
        }
        return nullptr;
    }
    HWND Dock() {
        for (HWND w = GetWindow(standIn.Taskbar(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
            if (OwnerProcess(w) == process.dwProcessId) return w;
        }
        return nullptr;
    }
    void ClickDock() {
        PostMessageA(dock, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        PostMessageA(dock, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    }
    bool Shown() { return Box(panel).left == GetSystemMetrics(SM_CXSCREEN) - 400; }
    bool Hidden() { return Box(panel).left == GetSystemMetrics(SM_CXSCREEN); }
    void ActivateFirstItem() {
        PostMessageA(iconList, WM_KEYDOWN, VK_HOME, 0);
        PostMessageA(iconList, WM_KEYDOWN, VK_RETURN, 0);
    }

    TempFolder run{"program"};
    std::string marker, log;
    TaskbarStandIn standIn;
    PROCESS_INFORMATION process = {};
    HWND dock = nullptr, panel = nullptr, iconList = nullptr, toolbar = nullptr;
};

TEST_F(LaunchProgram, ItemsOpenThroughTheShellAndThePanelStaysOpen) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Eventually([&] { return (dock = Dock()) != nullptr; }));
    ASSERT_TRUE(Eventually([&] { return (panel = Panel()) != nullptr; }));
    ASSERT_TRUE(
        Eventually([&] { return (iconList = ChildOfClass(panel, "IcoListboxEx")) != nullptr; }));
    ASSERT_TRUE(
        Eventually([&] { return (toolbar = ChildOfClass(panel, "ToolbarEx")) != nullptr; }));
    EXPECT_EQ(0, CountEntries(run / "临时数据")) << "scratch icon files are deleted at once";
    const int threadsBefore = ThreadsOf(process.dwProcessId);

    // Category 0 is shown: its item opens the first shortcut, and the panel slides away.
    ClickDock();
    ASSERT_TRUE(Eventually([&] { return Shown(); }));
    ActivateFirstItem();
    std::vector<std::string> lines = WaitForMarkerRecords(log, 1);
    ASSERT_GE(lines.size(), 2u) << "the item did not open";
    EXPECT_EQ("甲", lines[0]);
    EXPECT_TRUE(Eventually([&] { return Hidden(); })) << "the panel slides out after a launch";

    // The second toolbar button shows the second category.
    ClickDock();
    ASSERT_TRUE(Eventually([&] { return Shown(); }));
    RECT bar;
    GetClientRect(toolbar, &bar);
    const LPARAM secondButton = MAKELPARAM((bar.right - bar.left) / 2, 6 + 40 + 18);
    PostMessageA(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, secondButton);
    PostMessageA(toolbar, WM_LBUTTONUP, 0, secondButton);
    ActivateFirstItem();
    lines = WaitForMarkerRecords(log, 2);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ("乙", lines[2]);
    EXPECT_TRUE(Eventually([&] { return Hidden(); }));

    // Two quick activations start both.
    ActivateFirstItem();
    ActivateFirstItem();
    lines = WaitForMarkerRecords(log, 4);
    EXPECT_EQ(8u, lines.size());
    EXPECT_TRUE(Eventually([&] { return ThreadsOf(process.dwProcessId) <= threadsBefore; }))
        << "launch workers end by themselves";

    // A close request (Alt+F4) leaves the panel in place.
    PostMessageA(panel, WM_SYSCOMMAND, SC_CLOSE, 0);
    Sleep(300);
    EXPECT_TRUE(IsWindow(panel));
    EXPECT_TRUE(Eventually([&] { return Panel() == panel; }));
}

TEST_F(LaunchProgram, ContextMenuOffersOnlyTheRootFolder) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Eventually([&] { return (dock = Dock()) != nullptr; }));
    ASSERT_TRUE(Eventually([&] { return (panel = Panel()) != nullptr; }));
    ASSERT_TRUE(
        Eventually([&] { return (iconList = ChildOfClass(panel, "IcoListboxEx")) != nullptr; }));
    ClickDock();
    ASSERT_TRUE(Eventually([&] { return Shown(); }));

    // The menu opens at the pointer; keep it away from the screen's edges so
    // the system has no reason to move the menu to fit.
    SetCursorPos(400, 300);
    PostMessageA(iconList, WM_RBUTTONUP, 0, MAKELPARAM(200, 40));
    HWND menuWindow = nullptr;
    ASSERT_TRUE(
        Eventually([&] { return (menuWindow = OpenMenuOf(process.dwProcessId)) != nullptr; }));
    // Menu handles do not cross processes here, so the single item shows in the window's height.
    RECT menuBox = Box(menuWindow);
    EXPECT_LT(menuBox.bottom - menuBox.top, 2 * GetSystemMetrics(SM_CYMENU)) << "a single item";
    POINT cursor;
    GetCursorPos(&cursor);
    RECT where = Box(menuWindow);
    EXPECT_EQ(cursor.x + 3, where.left) << "shown at the pointer moved 3 right";
    EXPECT_EQ(cursor.y + 3, where.top) << "and 3 down";

    // Choosing it opens the run folder; the program carries on.
    PostMessageA(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(Eventually([&] { return OpenMenuOf(process.dwProcessId) == nullptr; }));
    EXPECT_TRUE(IsWindow(panel));
    // The shell shows the run folder in a window named after it.
    const std::string folderName = run.Path().substr(run.Path().find_last_of('\\') + 1);
    HWND folderWindow = nullptr;
    EXPECT_TRUE(Eventually([&] {
        return (folderWindow = FindWindowA("ExplorerWClass", folderName.c_str())) != nullptr;
    })) << "the run folder was not opened";
    if (folderWindow) CloseShellWindow(folderWindow);
}

}  // namespace
