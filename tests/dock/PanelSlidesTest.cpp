// The program started inside this test process (the runtime, the stored
// windows and the real handlers, against the taskbar stand-in), so that the
// panel's every move can be watched: the slides' exact steps, the guard
// against a second slide, and the shell's activation notice.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/ProgramImage.h"
#include "app/common/DeclaredFunctions.h"
#include "app/common/Globals.h"
#include "app/common/ProgramWindows.h"
#include "app/dock/PanelSlides.h"
#include "app/dock/PanelWindowProc.h"
#include "app/dock/StartUp.h"
#include "app/launch/ShowCategory.h"
#include "runtime/library/Commands.h"
#include "runtime/windows/Properties.h"
#include "runtime/process/Runtime.h"
#include "runtime/process/RuntimeError.h"
#include "tests/support/TaskbarStandInClient.h"

namespace {

TaskbarStandIn gStandIn;
HWND gPanel = nullptr;
HWND gDock = nullptr;
WNDPROC gPanelProcedure = nullptr;
std::vector<int> gMoves;  // the panel's left edge after every move

// What the program's start left behind, read before any case runs.
struct StartState {
    int32_t savedScreenWidth = 0;
    int32_t panelLeft = 0;
    int32_t panelHeight = 0;
    LONG panelState = -1;
    LONG_PTR previousProcedure = 0;
    HWND dockParent = nullptr;
    int32_t categories = -1;
    int32_t currentCategory = -1;
};
StartState gStart;

// A runtime error would otherwise wait on a message box.
void FailOnRuntimeError(const char* text, int32_t code) {
    std::fprintf(stderr, "runtime error %d: %s\n", code, text);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
}

// Sits in front of the panel's procedure and notes where each move put it.
LRESULT CALLBACK RecordMoves(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_WINDOWPOSCHANGED) {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(lp);
        if (!(pos->flags & SWP_NOMOVE)) gMoves.push_back(pos->x);
    }
    return CallWindowProcA(gPanelProcedure, w, m, wp, lp);
}

// Handles this thread's messages until `done` holds, so that a slide on a
// worker thread can move the panel; false after about 20 seconds.
template <typename Condition>
bool PumpUntil(Condition done) {
    for (int i = 0; i < 2000; ++i) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done()) return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return false;
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

class PanelSlides : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        SetRuntimeErrorHook(FailOnRuntimeError);
        ASSERT_TRUE(gStandIn.Start("--tree TrayNotifyWnd:900:300(TrayButton:10:40)"));
        SetProgramHeader(&kProgramHeader);
        InitializeRuntime();
        BringUpDock();
        gDock = WindowHandleOf(DockWindowRef());
        gPanel = WindowHandleOf(PanelWindowRef());
        gPanelProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(gPanel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordMoves)));
        gStart.savedScreenWidth = SavedScreenWidth;
        gStart.panelLeft = PanelLeft();
        gStart.panelHeight = ReadIntProperty(kDockPanelWindow, kPanelSelf, kPropHeight);
        gStart.panelState = PanelState;
        gStart.previousProcedure = PanelPreviousWndProc;
        gStart.dockParent = GetAncestor(gDock, GA_PARENT);
        gStart.categories = ArrayCount(CategoryList);
        gStart.currentCategory = CurrentCategory;
    }
    static void TearDownTestSuite() {
        HKEY key;
        if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                        &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "test_dock_panel.exe");
            RegCloseKey(key);
        }
        gStandIn.Stop();
    }
    // Every case starts with the panel hidden at rest and no slide running.
    void SetUp() override {
        Pump();
        ASSERT_TRUE(PumpUntil([] { return PanelState != kPanelSliding; }));
        if (PanelState == kPanelShown) TogglePanel(nullptr, 0);
        ASSERT_EQ(kPanelHidden, PanelState);
        ASSERT_EQ(W(), PanelLeft());
        Pump();
        gMoves.clear();
    }
    static void ShowPanel() {
        TogglePanel(nullptr, 0);
        ASSERT_EQ(kPanelShown, PanelState);
        Pump();
        gMoves.clear();
    }
    static int W() { return GetSystemMetrics(SM_CXSCREEN); }
    static int PanelLeft() { return ReadIntProperty(kDockPanelWindow, kPanelSelf, kPropLeft); }
};

TEST_F(PanelSlides, StartUpParksThePanelAndShowsNoCategory) {
    EXPECT_EQ(W(), gStart.savedScreenWidth);
    EXPECT_EQ(W(), gStart.panelLeft);
    EXPECT_EQ(248, gStart.panelHeight);
    EXPECT_EQ(kPanelHidden, gStart.panelState);
    EXPECT_NE(0, gStart.previousProcedure);
    // The dock sits in the taskbar; there is no quick-launch folder here, so
    // no category exists and the list stays empty.
    EXPECT_EQ(gStandIn.Taskbar(), gStart.dockParent);
    EXPECT_EQ(0, gStart.categories);
    EXPECT_EQ(0, gStart.currentCategory);
}

TEST_F(PanelSlides, StartUpRegistersTheProgramForAutomaticStart) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    char value[MAX_PATH] = {};
    DWORD size = sizeof(value) - 1;
    HKEY key;
    ASSERT_EQ(
        ERROR_SUCCESS,
        RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", &key));
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "test_dock_panel.exe", nullptr, nullptr,
                                              reinterpret_cast<BYTE*>(value), &size));
    RegCloseKey(key);
    // Quoted: the value is a command line.
    EXPECT_STRCASEEQ((std::string("\"") + self + "\"").c_str(), value);
}

TEST_F(PanelSlides, SlidingInAndOutTakesThreeStepsAndAFinalCorrection) {
    TogglePanel(nullptr, 0);
    EXPECT_EQ((std::vector<int>{W() - 133, W() - 266, W() - 399, W() - 400}), gMoves);
    EXPECT_EQ(kPanelShown, PanelState);

    gMoves.clear();
    TogglePanel(nullptr, 0);
    EXPECT_EQ((std::vector<int>{W() - 267, W() - 1, W() + 398, W()}), gMoves);
    EXPECT_EQ(kPanelHidden, PanelState);
}

// The monitors as the system lists them, for the cases that attach one.
std::vector<RECT> gMonitors;
BOOL WINAPI ListedMonitors(HDC, const RECT*, MONITORENUMPROC callback, LPARAM data) {
    for (RECT monitor : gMonitors) {
        if (!callback(nullptr, nullptr, &monitor, data)) break;
    }
    return TRUE;
}

// A monitor attached right of the primary while the panel is parked: the
// display change parks it beyond that monitor at once; the slides on the
// primary look as before; and a slide out parks it from the monitors there
// are then (the second one detached again: at the screen's width).
TEST_F(PanelSlides, AMonitorAttachedOnTheRightParksThePanelBeyondIt) {
    gMonitors = {{0, 0, W(), GetSystemMetrics(SM_CYSCREEN)}, {W(), 0, W() + 1280, 1024}};
    OverrideExternalFunction(kEnumDisplayMonitors,
                             reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&ListedMonitors)));
    SendMessageA(WindowHandleOf(ShellWatchWindowRef()), WM_DISPLAYCHANGE, 32, 0);
    EXPECT_TRUE(PumpUntil([] { return PanelLeft() == W() + 1280; }));
    EXPECT_EQ(W() + 1280, ParkedLeft());
    gMoves.clear();
    TogglePanel(nullptr, 0);
    EXPECT_EQ((std::vector<int>{W() - 133, W() - 266, W() - 399, W() - 400}), gMoves);
    gMonitors.pop_back();
    gMoves.clear();
    TogglePanel(nullptr, 0);
    EXPECT_EQ((std::vector<int>{W() - 267, W() - 1, W() + 398, W()}), gMoves);
    OverrideExternalFunction(kEnumDisplayMonitors, nullptr);
}

TEST_F(PanelSlides, AClickOrANoticeDuringASlideIsIgnored) {
    // Both arrive while the slide waits between its steps.
    PostMessageA(gDock, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(gDock, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PostMessageA(gPanel, ShellHookMessage(), kShellWindowActivated, 0);
    TogglePanel(nullptr, 0);
    Pump();
    EXPECT_EQ((std::vector<int>{W() - 133, W() - 266, W() - 399, W() - 400}), gMoves);
    EXPECT_EQ(kPanelShown, PanelState);
    EXPECT_EQ(W() - 400, PanelLeft());

    // The same click with no slide running is not ignored.
    PostMessageA(gDock, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(gDock, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    CallCore(CoreCommand::ProcessEvents);
    EXPECT_EQ(kPanelHidden, PanelState);
    TogglePanel(nullptr, 0);
    EXPECT_EQ(kPanelShown, PanelState);
}

TEST_F(PanelSlides, TheShellsActivationNoticeSlidesTheShownPanelOutOnAWorkerThread) {
    ShowPanel();
    // The shell hook's message number is the one registered at run time.
    ASSERT_EQ(RegisterWindowMessageA("SHELLHOOK"), ShellHookMessage());
    SendMessageA(gPanel, ShellHookMessage(), kShellWindowActivated, 0);
    // The send returned before the panel moved: the slide waits on its own
    // thread for this thread to handle the moves.
    EXPECT_TRUE(gMoves.empty());
    ASSERT_TRUE(PumpUntil([] { return PanelState == kPanelHidden; }));
    Pump();
    EXPECT_EQ((std::vector<int>{W() - 267, W() - 1, W() + 398, W()}), gMoves);
    EXPECT_EQ(W(), PanelLeft());
}

TEST_F(PanelSlides, TheNoticeIsIgnoredWhileHiddenAndOtherNoticesAlways) {
    SendMessageA(gPanel, ShellHookMessage(), kShellWindowActivated, 0);
    SendMessageA(gPanel, ShellHookMessage(), 4 /* activated, not full-screen */, 0);
    Sleep(100);
    Pump();
    EXPECT_TRUE(gMoves.empty());
    EXPECT_EQ(kPanelHidden, PanelState);

    ShowPanel();
    SendMessageA(gPanel, ShellHookMessage(), 4, 0);
    Sleep(100);
    Pump();
    EXPECT_TRUE(gMoves.empty());
    EXPECT_EQ(kPanelShown, PanelState);
    TogglePanel(nullptr, 0);
    EXPECT_EQ(kPanelHidden, PanelState);
}

TEST_F(PanelSlides, ACategoryIndexBeyondTheListLeavesItEmpty) {
    ShowCategory(3);
    EXPECT_EQ(3, CurrentCategory);
    ShowCategory(-1);
    EXPECT_EQ(-1, CurrentCategory);
    EXPECT_EQ(0, SelectCategory(0));
    EXPECT_EQ(0, CurrentCategory);
}

}  // namespace
