// QuickDock.exe over hostile quick-launch trees, against the taskbar
// stand-in: it must not crash, must not hang (the panel exists within a
// bound and still slides), and must leave the scratch folder as it was. Also
// a missing skin engine, a garbage engine path, and threads under stress:
// 200 launches in quick succession and activation notices during slides; the
// messages the program defines or answers, sent from this process with
// arbitrary arguments.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "tests/hostile/HostileTrees.h"
#include "tests/launch/LaunchTestSupport.h"
#include "tests/support/DockProgram.h"
#include "tests/support/ProcessWatch.h"
#include "tests/support/TaskbarStandInClient.h"
#include "ui/description/WindowGeometry.h"

namespace {

constexpr WPARAM kWindowActivated = 0x8004;

// Kernel handles in use by another process. The system reports none here, so
// the count is read from the process's handle table: handles duplicated into
// it take the lowest free slots, so the highest one less their number is how
// many slots were taken before.
long HandlesInUse(HANDLE process) {
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    std::vector<HANDLE> probes;
    long highest = 0;
    for (int i = 0; i < 1000; ++i) {
        HANDLE remote = nullptr;
        if (!DuplicateHandle(GetCurrentProcess(), event, process, &remote, 0, FALSE,
                             DUPLICATE_SAME_ACCESS))
            break;
        probes.push_back(remote);
        highest = std::max(highest, long(reinterpret_cast<uintptr_t>(remote) / 4));
    }
    for (HANDLE remote : probes) {
        HANDLE back = nullptr;
        if (DuplicateHandle(process, remote, GetCurrentProcess(), &back, 0, FALSE,
                            DUPLICATE_CLOSE_SOURCE | DUPLICATE_SAME_ACCESS))
            CloseHandle(back);
    }
    CloseHandle(event);
    return highest - long(probes.size());
}

// A top-level window of the process with this title, if one is shown.
HWND WindowTitled(DWORD process, const char* title) {
    for (HWND w = FindWindowExA(nullptr, nullptr, nullptr, title); w;
         w = FindWindowExA(nullptr, w, nullptr, title))
        if (OwnerProcess(w) == process && IsWindowVisible(w)) return w;
    return nullptr;
}

// Every window of a process: its top-level windows, its windows inside the
// taskbar, and all their descendants. The callbacks are named functions: a
// lambda has the default calling convention, which is not CALLBACK on i686.
struct WindowSearch {
    DWORD process;
    std::set<HWND> found;
};

BOOL CALLBACK CollectDescendant(HWND w, LPARAM p) {
    reinterpret_cast<WindowSearch*>(p)->found.insert(w);
    return TRUE;
}

BOOL CALLBACK CollectOwned(HWND w, LPARAM p) {
    auto* s = reinterpret_cast<WindowSearch*>(p);
    if (OwnerProcess(w) == s->process) s->found.insert(w);
    return TRUE;
}

BOOL CALLBACK CollectTopLevel(HWND w, LPARAM p) {
    auto* s = reinterpret_cast<WindowSearch*>(p);
    if (OwnerProcess(w) != s->process) return TRUE;
    s->found.insert(w);
    EnumChildWindows(w, CollectDescendant, p);
    return TRUE;
}

std::set<HWND> WindowsOf(DWORD process, HWND taskbar) {
    WindowSearch search{process, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    EnumChildWindows(taskbar, CollectOwned, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// An argument as another process might send it: the edges, small numbers
// (coordinates, keys, identifiers), and any 32-bit or pointer-sized value.
WPARAM AnyArgument(std::mt19937_64& random) {
    switch (random() % 8) {
        case 0:
            return 0;
        case 1:
            return 1;
        case 2:
            return WPARAM(-1);
        case 3:
            return WPARAM(random() % 0x10000);
        case 4:
            return WPARAM(0x80000000u);
        case 5:
            return WPARAM(0x7FFFFFFF);
        case 6:
            return WPARAM(uint32_t(random()));
        default:
            return WPARAM(random());
    }
}

class HostileProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(CopyFileA((Programs() + "\\QuickDock.exe").c_str(),
                              (run / "QuickDock.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileA((Programs() + "\\SkinEngine.dll").c_str(),
                              (run / "SkinEngine.dll").c_str(), FALSE));
        ASSERT_TRUE(MakeFolder(Root()));
        ASSERT_TRUE(MakeFolder(Scratch()));
        ASSERT_TRUE(standIn.Start("--tree TrayNotifyWnd:900:300(TrayButton:10:40)"));
    }
    void TearDown() override {
        program.Stop();
        standIn.Stop();
        RemoveTreeWide(run.Path());
        // The shared places some cases use go back to how they were, also
        // when a case failed half-way.
        DeleteFileA("C:\\SkinEngine.ini");
        if (!runFolder.empty()) {
            RemoveTreeWide(runFolder + "\\" + kQuickLaunchRoot);
            for (const char* file : {"QuickDock.exe", "SkinEngine.dll"})
                DeleteFileA((runFolder + "\\" + file).c_str());
        }
    }
    static std::string Programs() { return TestProgramDirectory(); }
    std::string Root() const { return run / kQuickLaunchRoot; }
    std::string Scratch() const { return run / kScratchFolder; }

    bool Start() {
        if (!wideRunFolder.empty()) return program.Start(wideRunFolder);
        return program.Start(runFolder.empty() ? run.Path() : runFolder);
    }
    bool Running() const { return program.Running(); }
    HWND FindPanel() const { return program.Panel(); }
    HWND FindDock() const { return program.DockIn(standIn.Taskbar()); }
    void ClickDock() {
        PostMessageA(dock, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        PostMessageA(dock, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    }
    int Left() const { return Box(panel).left; }
    bool Shown() const { return Left() == GetSystemMetrics(SM_CXSCREEN) - kPanelWidth; }
    bool Hidden() const { return Left() == GetSystemMetrics(SM_CXSCREEN); }
    // True once the panel has stayed at one end for a whole second while the
    // program kept answering. A dock click posted earlier and still queued can
    // start a slide after the panel first looks settled, and under Wine the
    // move that takes the panel wholly off the screen can stall for seconds.
    bool ComesToRest(int seconds = 30) {
        int last = Left();
        int still = 0;
        for (int i = 0; i < seconds * 20 && still < 20; ++i) {
            Sleep(50);
            DWORD_PTR answer = 0;
            const bool answers =
                SendMessageTimeoutA(panel, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &answer) != 0;
            const int now = Left();
            still = answers && now == last && (Shown() || Hidden()) ? still + 1 : 0;
            last = now;
        }
        return still >= 20;
    }

    // Starts the program and checks that it comes up within `seconds`, slides
    // in and out, and neither crashed nor reported a runtime error.
    void StartsAndSlides(int seconds = 20) {
        ASSERT_TRUE(Start());
        ASSERT_TRUE(Eventually([&] { return (dock = FindDock()) != nullptr; }, seconds));
        ASSERT_TRUE(Eventually([&] { return (panel = FindPanel()) != nullptr; }, seconds));
        ASSERT_TRUE(Eventually([&] { return Hidden(); }, seconds)) << "the panel is parked";
        ClickDock();
        EXPECT_TRUE(Eventually([&] { return Shown(); }, seconds)) << "the panel opens";
        ClickDock();
        EXPECT_TRUE(Eventually([&] { return Hidden(); }, seconds));
        EXPECT_TRUE(Running());
        EXPECT_EQ(nullptr, WindowTitled(program.Id(), "运行时出错!"));
    }

    // Answers every "Warning" box the program shows; true when the program
    // has ended, or has stayed up for two seconds without a new one.
    bool DismissWarnings(int* shown) {
        int quiet = 0;
        for (int i = 0; i < 30 * 40; ++i) {
            if (HWND box = WindowTitled(program.Id(), "Warning")) {
                ++*shown;
                quiet = 0;
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                Sleep(100);
            } else if (!Running() || (*shown > 0 && ++quiet >= 80)) {
                return true;
            }
            Sleep(25);
        }
        return false;
    }
    // Category 01标记 with one item: a shortcut to a copy of the marker
    // program, which records each run; its path.
    std::string AddMarkerItem() {
        const std::string marker = run / "标记.exe";
        EXPECT_TRUE(
            CopyFileA((Programs() + "\\test_support_marker.exe").c_str(), marker.c_str(), FALSE));
        MakeFolder(Root() + "\\01标记");
        EXPECT_TRUE(MakeShortcut(Root() + "\\01标记\\标记.lnk", marker));
        return marker;
    }
    void ExpectNoCrash() {
        EXPECT_EQ(nullptr, WindowTitled(program.Id(), "运行时出错!"));
        if (!Running()) {
            DWORD code = 0;
            GetExitCodeProcess(program.Process(), &code);
            EXPECT_LT(code, 0xC0000000u) << "ended by an exception";
        }
    }

    TempFolder run{"hostile"};
    std::string runFolder;       // where the program runs, when not in `run`
    std::wstring wideRunFolder;  // the same, named outside the code page
    TaskbarStandIn standIn;
    DockProgram program;
    HWND dock = nullptr, panel = nullptr;
};

TEST_F(HostileProgram, DamagedShortcutsProgramsAndNames) {
    BuildBrokenShortcuts(Root() + "\\01坏");
    BuildDamagedIcons(Root() + "\\02图标", Programs());
    BuildHostileNames(Root());
    const std::vector<std::string> before = Snapshot(Scratch());
    StartsAndSlides();
    EXPECT_EQ(before, Snapshot(Scratch())) << "the scratch folder is left as it was";
}

TEST_F(HostileProgram, FiveThousandItemsAndTwoHundredCategories) {
    BuildManyItems(Root(), 5000, 200);
    const auto started = std::chrono::steady_clock::now();
    StartsAndSlides(60);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - started);
    std::printf("5,000 items and 200 categories: up and slid in and out after %lld ms\n",
                static_cast<long long>(took.count()));
}

// The taskbar goes while the program reads a large folder (the scan answers
// messages between items), and a new one is announced: no runtime error, and
// the dock is back in the new taskbar with a panel that slides.
TEST_F(HostileProgram, TheTaskbarGoesWhileTheFolderIsRead) {
    BuildManyItems(Root(), 1000, 1);
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Eventually([&] { return program.PanelBeingBuilt() != nullptr; }, 60));
    standIn.Stop();
    ASSERT_TRUE(standIn.Start("--announce 1 --tree TrayNotifyWnd:900:300(TrayButton:10:40)"));
    ASSERT_TRUE(Eventually([&] { return (dock = FindDock()) != nullptr; }, 60));
    // Shown once the folder is read again and the panel laid out.
    ASSERT_TRUE(Eventually([&] { return IsWindowVisible(dock) != FALSE; }, 60));
    ASSERT_TRUE(Eventually([&] { return (panel = FindPanel()) != nullptr; }, 60));
    ExpectNoCrash();
    ASSERT_TRUE(Running());
    ClickDock();
    EXPECT_TRUE(Eventually([&] { return Shown(); }, 60));
}

TEST_F(HostileProgram, ScratchNamesAllTaken) {
    // The prepared run folder: every scratch name the program can draw is taken.
    const std::string taken = TakenScratchRunFolder();
    const std::string root = taken + "\\" + kQuickLaunchRoot;
    const std::string scratch = taken + "\\" + kScratchFolder;
    for (const char* file : {"QuickDock.exe", "SkinEngine.dll"})
        ASSERT_TRUE(
            CopyFileA((Programs() + "\\" + file).c_str(), (taken + "\\" + file).c_str(), FALSE));
    RemoveTreeWide(root);
    MakeFolder(root);
    MakeFolder(root + "\\01记事本");
    MakeShortcut(root + "\\01记事本\\note.lnk", SystemNotepad());
    const std::vector<std::string> before = Snapshot(scratch);
    runFolder = taken;
    StartsAndSlides();
    EXPECT_EQ(before, Snapshot(scratch)) << "no file of the user's is overwritten or deleted";
}

TEST_F(HostileProgram, ScratchMissingStaysMissing) {
    MakeFolder(Root() + "\\01记事本");
    MakeShortcut(Root() + "\\01记事本\\note.lnk", SystemNotepad());
    RemoveDirectoryA(Scratch().c_str());
    StartsAndSlides();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(Scratch().c_str()));
}

TEST_F(HostileProgram, ScratchReadOnlyIsLeftAsItWas) {
    MakeFolder(Root() + "\\01记事本");
    MakeShortcut(Root() + "\\01记事本\\note.lnk", SystemNotepad());
    WriteBytes(Scratch() + "\\user.txt", {'u'});
    ASSERT_TRUE(SetFileAttributesA(Scratch().c_str(), FILE_ATTRIBUTE_READONLY));
    const std::vector<std::string> before = Snapshot(Scratch());
    StartsAndSlides();
    EXPECT_EQ(before, Snapshot(Scratch()));
    SetFileAttributesA(Scratch().c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Run from a folder whose name code page 936 cannot hold (Korean): the
// program still finds its quick-launch folder, and its items open.
TEST_F(HostileProgram, RunFromAFolderNamedOutsideTheCodePage) {
    const std::string marker = AddMarkerItem();
    wideRunFolder = WideOf(run.Path()) + L"\\\uD55C\uAD6D";
    ASSERT_TRUE(MakeFolderW(wideRunFolder));
    for (const std::string name : {"QuickDock.exe", "SkinEngine.dll", kQuickLaunchRoot})
        ASSERT_TRUE(
            MoveFileW(WideOf(run / name).c_str(), (wideRunFolder + L"\\" + WideOf(name)).c_str()));
    StartsAndSlides();
    ClickDock();
    ASSERT_TRUE(Eventually([&] { return Shown(); }));
    HWND iconList = FindWindowExA(panel, nullptr, "IcoListboxEx", nullptr);
    PostMessageA(iconList, WM_KEYDOWN, VK_HOME, 0);
    PostMessageA(iconList, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(2u, WaitForMarkerRecords(marker + ".runs.txt", 1).size()) << "the item opened";
}

// The system's error boxes are kept away from the threads that make the
// pictures, not from the process: programs opened from the panel inherit the
// process's error mode, which stays what it was at start, and a shortcut to
// a drive that is not there still brings no box. Wine hands no error mode to
// a child process, so the program starts with none of the bits and the mode
// is read inside it.
TEST_F(HostileProgram, TheErrorModeOfTheProcessIsLeftAsItWas) {
    std::string missing = "Q:\\工具\\程序.exe";
    for (char d = 'Z'; d >= 'D'; --d) {
        if (!(GetLogicalDrives() & (1u << (d - 'A')))) missing[0] = d;
    }
    MakeFolder(Root() + "\\01盘");
    ASSERT_TRUE(MakeShortcut(Root() + "\\01盘\\removable.lnk", missing));
    StartsAndSlides();
    DWORD mode = 0;
    ASSERT_TRUE(CallIn(program.Process(), "kernel32.dll", "GetErrorMode", &mode));
    const UINT quiet = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX;
    EXPECT_EQ(0u, mode & quiet);
    for (HWND box = FindWindowExA(nullptr, nullptr, "#32770", nullptr); box;
         box = FindWindowExA(nullptr, box, "#32770", nullptr))
        EXPECT_FALSE(OwnerProcess(box) == program.Id() && IsWindowVisible(box));
}

TEST_F(HostileProgram, EngineMissingOrAtAGarbagePath) {
    ASSERT_TRUE(DeleteFileA((run / "SkinEngine.dll").c_str()));
    MakeFolder(Root() + "\\01记事本");
    MakeShortcut(Root() + "\\01记事本\\note.lnk", SystemNotepad());
    int shown = 0;
    ASSERT_TRUE(Start());
    EXPECT_TRUE(DismissWarnings(&shown)) << "the program hangs or keeps warning";
    EXPECT_GT(shown, 0) << "the missing engine is reported";
    ExpectNoCrash();
    program.Stop();

    // A settings file holding garbage instead of an engine path.
    std::vector<uint8_t> garbage(300);
    std::mt19937 random(3);
    for (uint8_t& b : garbage) b = uint8_t(random() % 255 + 1);
    WriteBytes("C:\\SkinEngine.ini", garbage);
    shown = 0;
    ASSERT_TRUE(Start());
    EXPECT_TRUE(DismissWarnings(&shown));
    EXPECT_GT(shown, 0);
    ExpectNoCrash();
}

TEST_F(HostileProgram, LaunchesAndNoticesUnderStress) {
    const std::string marker = AddMarkerItem();
    StartsAndSlides();
    HWND iconList = FindWindowExA(panel, nullptr, "IcoListboxEx", nullptr);
    ASSERT_NE(nullptr, iconList);
    const UINT shellHook = RegisterWindowMessageA("SHELLHOOK");

    // One launch first, so that what the shell keeps after its first use
    // counts as the starting point.
    ClickDock();
    ASSERT_TRUE(Eventually([&] { return Shown(); }));
    PostMessageA(iconList, WM_KEYDOWN, VK_HOME, 0);
    PostMessageA(iconList, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_EQ(2u, WaitForMarkerRecords(marker + ".runs.txt", 1).size());
    ASSERT_TRUE(Eventually([&] { return Hidden(); }));
    Sleep(500);
    const int threadsBefore = ThreadsOf(program.Id());
    const long handlesBefore = HandlesInUse(program.Process());
    long handlesAfter = 0;

    // 200 launches in quick succession, with clicks and activation notices
    // arriving while the panel slides.
    ClickDock();
    ASSERT_TRUE(Eventually([&] { return Shown(); }));
    for (int i = 0; i < 200; ++i) {
        PostMessageA(iconList, WM_KEYDOWN, VK_RETURN, 0);
        if (i % 4 == 0) ClickDock();
        if (i % 3 == 0) PostMessageA(panel, shellHook, kWindowActivated, 0);
    }
    const std::vector<std::string> lines = WaitForMarkerRecords(marker + ".runs.txt", 201);
    EXPECT_EQ(402u, lines.size()) << "every launch ran once";
    EXPECT_TRUE(Running());

    // Every worker ends; the panel rests at one end, never half-way.
    EXPECT_TRUE(Eventually([&] { return ThreadsOf(program.Id()) <= threadsBefore; }, 60))
        << ThreadsOf(program.Id()) << " threads, " << threadsBefore << " before";
    // Each launch opens a thread handle at least; a leak grows by hundreds.
    EXPECT_TRUE(Eventually([&] {
        handlesAfter = HandlesInUse(program.Process());
        return handlesAfter <= handlesBefore + 20;
    })) << handlesAfter
        << " handles, " << handlesBefore << " before";
    EXPECT_TRUE(Eventually([&] { return Shown() || Hidden(); })) << "stopped at " << Left();

    std::printf("200 launches: %ld handles before, %ld after; %d threads before\n", handlesBefore,
                handlesAfter, threadsBefore);

    // Notices during slides, without launches.
    for (int round = 0; round < 30; ++round) {
        ClickDock();
        Sleep(round % 7);
        PostMessageA(panel, shellHook, kWindowActivated, 0);
    }
    EXPECT_TRUE(ComesToRest()) << "stopped at " << Left();
    // Not stuck sliding: one more click still moves the panel to the other end.
    const bool wasShown = Shown();
    ClickDock();
    EXPECT_TRUE(Eventually([&] { return wasShown ? Hidden() : Shown(); }));
    EXPECT_TRUE(Running());
}

// The messages the program defines or answers, arriving from another process
// with arbitrary arguments, sent or posted, to every window of the program:
// the runtime's own messages (components prepared, window prepared, built,
// notification-area icon, exit request), the shell's "SHELLHOOK" notice, its
// "TaskbarCreated" and display changes, a second start's request and the
// shell watch's own requests (WM_APP + 0x51 to 0x53), what
// the runtime turns into window events, what the skinned controls and their
// wrappers answer (painting into a given device context, timers, the pointer,
// keys, the wheel), and the dock's own clicks. Seeded: QD_MESSAGE_SEED
// replays a run. Not sent: the system's requests and notices of a window's
// or the session's end (WM_CLOSE, WM_QUERYENDSESSION, WM_ENDSESSION,
// WM_DESTROY, WM_NCDESTROY, WM_QUIT), which mean what the system says they
// mean; a right button's release and WM_CONTEXTMENU, which open the item
// menu that waits for the user; and WM_COMMAND as a menu choice (no control,
// code 0 or 1), which opens the root folder as the menu item does. The
// program must stay up and answering, keep its windows, rest its panel at
// one end, and still slide and launch afterwards.
TEST_F(HostileProgram, ForeignMessagesWithArbitraryArguments) {
    const std::string marker = AddMarkerItem();
    MakeFolder(Root() + "\\02空");
    StartsAndSlides();
    HWND iconList = FindWindowExA(panel, nullptr, "IcoListboxEx", nullptr);
    ASSERT_NE(nullptr, iconList);
    const std::set<HWND> windows = WindowsOf(program.Id(), standIn.Taskbar());
    ASSERT_GE(windows.size(), 10u);
    ASSERT_EQ(standIn.Taskbar(), GetAncestor(dock, GA_PARENT));

    const UINT messages[] = {0x806F,
                             0x8004,
                             0x8076,
                             0x8064,
                             0x83E7,
                             RegisterWindowMessageA("SHELLHOOK"),
                             RegisterWindowMessageA("TaskbarCreated"),
                             RegisterWindowMessageA("QuickDock.SlidePanelIn"),
                             WM_DISPLAYCHANGE,
                             WM_APP + 0x51,
                             WM_APP + 0x52,
                             WM_APP + 0x53,
                             WM_ACTIVATE,
                             WM_SHOWWINDOW,
                             WM_SETFOCUS,
                             WM_KILLFOCUS,
                             WM_MOVE,
                             WM_SIZE,
                             WM_COMMAND,
                             WM_ERASEBKGND,
                             WM_PAINT,
                             WM_PRINTCLIENT,
                             WM_TIMER,
                             WM_MOUSEMOVE,
                             WM_MOUSELEAVE,
                             WM_MOUSEWHEEL,
                             WM_LBUTTONDOWN,
                             WM_LBUTTONUP,
                             WM_LBUTTONDBLCLK,
                             WM_RBUTTONDOWN,
                             WM_CAPTURECHANGED,
                             WM_GETDLGCODE,
                             WM_KEYDOWN,
                             WM_KEYUP,
                             WM_CHAR};
    const char* given = std::getenv("QD_MESSAGE_SEED");
    const uint64_t seed = given ? std::strtoull(given, nullptr, 10) : 18;
    std::mt19937_64 random(seed);
    std::printf("foreign messages: seed %llu (QD_MESSAGE_SEED replays it)\n",
                static_cast<unsigned long long>(seed));
    const std::vector<HWND> targets(windows.begin(), windows.end());
    int delivered = 0;
    for (int round = 0; round < 40 && !HasFatalFailure(); ++round) {
        for (int k = 0; k < 60; ++k) {
            const HWND target = targets[random() % targets.size()];
            const UINT message = messages[random() % std::size(messages)];
            const WPARAM wParam = AnyArgument(random);
            const LPARAM lParam = LPARAM(AnyArgument(random));
            if (message == WM_COMMAND && lParam == 0 && HIWORD(wParam) <= 1) continue;
            if (random() % 2) {
                DWORD_PTR answer = 0;
                SendMessageTimeoutA(target, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000,
                                    &answer);
            } else {
                PostMessageA(target, message, wParam, lParam);
            }
            ++delivered;
        }
        ASSERT_TRUE(Running()) << "ended after round " << round << " (seed " << seed << ")";
        DWORD_PTR answer = 0;
        ASSERT_NE(0, SendMessageTimeoutA(panel, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer))
            << "not answering after round " << round << " (seed " << seed << ")";
    }
    std::printf("foreign messages: %d delivered to %zu windows\n", delivered, targets.size());

    ExpectNoCrash();
    ASSERT_TRUE(Running());
    EXPECT_TRUE(ComesToRest()) << "stopped at " << Left();
    EXPECT_EQ(windows, WindowsOf(program.Id(), standIn.Taskbar())) << "windows came or went";
    const RECT box = Box(panel);
    EXPECT_EQ(kPanelWidth, box.right - box.left);
    EXPECT_EQ(kPanelHeight, box.bottom - box.top);
    EXPECT_EQ(standIn.Taskbar(), GetAncestor(dock, GA_PARENT)) << "the button left the taskbar";

    // Still sliding both ways, and launching what the first category holds.
    if (Shown()) {
        ClickDock();
        ASSERT_TRUE(Eventually([&] { return Hidden(); }));
    }
    ClickDock();
    ASSERT_TRUE(Eventually([&] { return Shown(); }));
    const size_t runs = WaitForMarkerRecords(marker + ".runs.txt", 0).size();
    PostMessageA(panel, WM_NULL, 0, 0);
    HWND toolbar = FindWindowExA(panel, nullptr, "ToolbarEx", nullptr);
    ASSERT_NE(nullptr, toolbar);
    PostMessageA(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 20));
    PostMessageA(toolbar, WM_LBUTTONUP, 0, MAKELPARAM(50, 20));
    PostMessageA(iconList, WM_KEYDOWN, VK_HOME, 0);
    PostMessageA(iconList, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(runs + 2, WaitForMarkerRecords(marker + ".runs.txt", runs / 2 + 1).size());
    EXPECT_TRUE(Eventually([&] { return Hidden(); }));
    EXPECT_TRUE(Running());
}

}  // namespace
