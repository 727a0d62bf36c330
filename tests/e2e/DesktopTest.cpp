// QuickDock on a desktop as a user meets it: the real program in a run folder
// of its own, the taskbar stand-in along the bottom of the screen, real mouse
// and keyboard input, and pictures of what the screen shows: categories,
// items opened through the shell (a marker program records each start), the
// one-entry menu, the panel's refusal to close and its return with a new
// taskbar after the shell restarted.
// Under Wine the button inside the stand-in (another process's window) is not
// drawn, so it is found by enumeration and clicked, never looked at.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/DesktopSupport.h"
#include "tests/launch/LaunchTestSupport.h"
#include "tests/support/AccessibleReader.h"
#include "tests/support/DockProgram.h"
#include "tests/support/TaskbarStandInClient.h"
#include "ui/description/WindowGeometry.h"

namespace {

// The stored icon list: 48-pixel icons in cells of 74 x 80, four to a row,
// one pixel from the left and four from the top; the toolbar's buttons are 36
// high, 4 apart, 6 from the top and sides.
constexpr int kCellWidth = 74, kCellHeight = 80, kIconSize = 48, kColumns = 4;
constexpr int kButtonPitch = 40, kButtonHeight = 36, kToolbarPadding = 6;
constexpr WPARAM kWindowActivated = 0x8004;
constexpr char kDocumentType[] = ".qdedoc";
constexpr char kDocumentClass[] = "QuickDockTestDocument";

POINT Centre(const RECT& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::string ReadAutoStartValue(const char* name) {
    HKEY key;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                    &key) != ERROR_SUCCESS)
        return "";
    char value[MAX_PATH * 2] = {};
    DWORD size = sizeof(value) - 1;
    DWORD type = 0;
    RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return type == REG_SZ ? value : "";
}

// Associates the test document type with a program, as an installer would.
void AssociateDocuments(const std::string& program) {
    RegSetValueA(HKEY_CLASSES_ROOT, kDocumentType, REG_SZ, kDocumentClass, 0);
    const std::string command = "\"" + program + "\" \"%1\"";
    RegSetValueA(HKEY_CLASSES_ROOT,
                 (std::string(kDocumentClass) + "\\shell\\open\\command").c_str(), REG_SZ,
                 command.c_str(), 0);
}

void ForgetDocumentType() {
    RegDeleteKeyA(HKEY_CLASSES_ROOT,
                  (std::string(kDocumentClass) + "\\shell\\open\\command").c_str());
    RegDeleteKeyA(HKEY_CLASSES_ROOT, (std::string(kDocumentClass) + "\\shell\\open").c_str());
    RegDeleteKeyA(HKEY_CLASSES_ROOT, (std::string(kDocumentClass) + "\\shell").c_str());
    RegDeleteKeyA(HKEY_CLASSES_ROOT, kDocumentClass);
    RegDeleteKeyA(HKEY_CLASSES_ROOT, kDocumentType);
}

// A plain window of the test, for "the user switches to another program".
LRESULT CALLBACK OtherProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    return DefWindowProcA(w, m, wp, lp);
}
HWND MakeOtherWindow() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = OtherProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "QDDesktopOther";
    RegisterClassA(&wc);
    return CreateWindowExA(0, "QDDesktopOther", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                           300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// The shell's window for a folder, and closing it again.
HWND FolderWindow(const std::string& folderName) {
    return FindWindowA("ExplorerWClass", folderName.c_str());
}
void CloseShellWindow(HWND window) {
    HANDLE shell = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, OwnerProcess(window));
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (!shell) return;
    if (WaitForSingleObject(shell, 5000) != WAIT_OBJECT_0) TerminateProcess(shell, 0);
    CloseHandle(shell);
}

HWND OpenMenuOf(DWORD process) {
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr); w;
         w = FindWindowExA(nullptr, w, "#32768", nullptr)) {
        if (OwnerProcess(w) == process && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

class Desktop : public ::testing::Test {
  protected:
    void SetUp() override {
        // Screen readers' questions reach the program through COM.
        CoInitialize(nullptr);
        const std::string bin = TestProgramDirectory();
        ASSERT_TRUE(
            CopyFileA((bin + "\\QuickDock.exe").c_str(), (run / "QuickDock.exe").c_str(), FALSE));
        ASSERT_TRUE(
            CopyFileA((bin + "\\SkinEngine.dll").c_str(), (run / "SkinEngine.dll").c_str(), FALSE));
        marker = run / "标记.exe";
        ASSERT_TRUE(CopyFileA((bin + "\\test_support_marker.exe").c_str(), marker.c_str(), FALSE));
        log = marker + ".runs.txt";
        notes = run / "taskbar-notes.txt";
    }
    void TearDown() override {
        if (HasFailure()) SavePicture();
        StopProgram();
        standIn.Stop();
        ForgetDocumentType();
        HKEY key;
        if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                        &key) == ERROR_SUCCESS) {
            if (ReadAutoStartValue("QuickDock.exe") == "\"" + run / "QuickDock.exe" + "\"")
                RegDeleteValueA(key, "QuickDock.exe");
            RegCloseKey(key);
        }
        CoUninitialize();
    }

    // Three categories: programs with icons, the marker reached through a
    // shortcut with arguments and a working folder, a document, a folder.
    void LayOutFullFolder() {
        ASSERT_TRUE(MakeFolder(run / "临时数据"));
        ASSERT_TRUE(MakeFolder(run / "工作"));
        const std::string root = run / "快速启动目录";
        ASSERT_TRUE(MakeFolder(root));
        for (const char* category : {"01甲", "02乙", "03丙"})
            ASSERT_TRUE(MakeFolder(root + "\\" + category));
        ASSERT_TRUE(MakeShortcut(root + "\\01甲\\1记事本.lnk", SystemNotepad()));
        ShortcutSpec toMarker;
        toMarker.target = marker;
        toMarker.arguments = "甲 \"一 二\"";
        toMarker.workingDirectory = run / "工作";
        ASSERT_TRUE(MakeShortcut(root + "\\01甲\\2标记.lnk", toMarker));
        document = root + "\\01甲\\3文档" + kDocumentType;
        WriteBytes(document, {'d', 'o', 'c'});
        ASSERT_TRUE(MakeShortcut(root + "\\02乙\\1记事本.lnk", SystemNotepad()));
        ASSERT_TRUE(MakeShortcut(root + "\\02乙\\2目录.lnk", run / "工作"));
        ASSERT_TRUE(MakeShortcut(root + "\\03丙\\1记事本.lnk", SystemNotepad()));
    }

    // The stand-in's button sits well left of where the panel opens. Started
    // again (`announce`), it tells the windows "TaskbarCreated" as the shell
    // does after a restart.
    bool StartTaskbar(bool announce = false) {
        char tree[96];
        std::snprintf(tree, sizeof(tree), "TrayNotifyWnd:%d:300(TrayButton:10:40)",
                      GetSystemMetrics(SM_CXSCREEN) - 780);
        return standIn.Start(std::string("--tree ") + tree + " --notes \"" + notes + "\"" +
                             (announce ? " --announce 1" : ""));
    }

    // Starts the program and waits until its button is in the taskbar and its
    // panel has been laid out.
    void StartProgram() {
        ASSERT_TRUE(program.Start(run.Path()));
        ASSERT_TRUE(
            Eventually([&] { return (dock = program.DockIn(standIn.Taskbar())) != nullptr; }));
        ASSERT_TRUE(Eventually([&] { return (panel = program.Panel()) != nullptr; }));
        FindPanelParts();
    }
    // The panel rests on the taskbar that holds the dock (Wine's shell reports
    // a bar of its own).
    void FindPanelParts() {
        ASSERT_TRUE(Eventually([&] {
            return (iconList = FindWindowExA(panel, nullptr, "IcoListboxEx", nullptr)) != nullptr;
        }));
        toolbar = FindWindowExA(panel, nullptr, "ToolbarEx", nullptr);
        ASSERT_NE(toolbar, nullptr);
        ASSERT_TRUE(Eventually([&] { return Box(panel).bottom == Box(standIn.Taskbar()).top; }));
        // The program watches its folder from before it lists it.
        wineSubtree.HoldSubfolders(run / "快速启动目录");
    }
    void StopProgram() { program.Stop(); }

    static int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
    bool Shown() const { return Box(panel).left == ScreenWidth() - kPanelWidth; }
    bool Hidden() const { return Box(panel).left == ScreenWidth(); }
    void ClickDock() {
        const POINT c = Centre(Box(dock));
        ClickAt(c.x, c.y);
    }
    void OpenPanel() {
        ClickDock();
        ASSERT_TRUE(Eventually([&] { return Shown(); })) << "the panel did not slide in";
        // The pointer leaves the panel so that no hover look is in the pictures.
        MoveMouse(ScreenWidth() - kPanelWidth - 60, Box(panel).top + 60);
        Settle(400);
    }

    // Screen places of the panel's parts.
    RECT CellIcon(int index) const {
        const RECT list = Box(iconList);
        const int left = list.left + 1 + (index % kColumns) * kCellWidth;
        const int top = list.top + 4 + (index / kColumns) * kCellHeight;
        const int iconLeft = left + (kCellWidth - kIconSize) / 2;
        return {iconLeft, top + 8, iconLeft + kIconSize, top + 8 + kIconSize};
    }
    POINT CellCentre(int index) const {
        const RECT icon = CellIcon(index);
        return Centre(icon);
    }
    // The button's left strip, where its selected mark is drawn (the titles,
    // which differ, start further right).
    RECT ButtonMark(int index) const {
        const RECT bar = Box(toolbar);
        const int top = bar.top + kToolbarPadding + index * kButtonPitch;
        return {bar.left + kToolbarPadding, top, bar.left + kToolbarPadding + 12,
                top + kButtonHeight};
    }
    POINT ButtonCentre(int index) const {
        const RECT bar = Box(toolbar);
        return {(bar.left + bar.right) / 2,
                bar.top + kToolbarPadding + index * kButtonPitch + kButtonHeight / 2};
    }

    // What the user sees of the panel right now.
    struct PanelView {
        std::unique_ptr<ScreenPicture> picture;
        RECT panel;
        COLORREF listBackground;
        RECT Local(const RECT& r) const {
            return {r.left - panel.left, r.top - panel.top, r.right - panel.left,
                    r.bottom - panel.top};
        }
    };
    PanelView Look() const {
        PanelView view;
        view.panel = Box(panel);
        view.picture = std::make_unique<ScreenPicture>(view.panel);
        const RECT list = view.Local(Box(iconList));
        // The list's bottom right corner holds no item in these tests.
        view.listBackground = view.picture->At(list.right - 30, list.bottom - 12);
        return view;
    }
    bool IconAt(const PanelView& view, int index) const {
        return view.picture->CountDifferent(view.Local(CellIcon(index)), view.listBackground) > 200;
    }
    // Two places show the same picture (items without a picture of their own
    // all get the list's plain item mark).
    bool SamePicture(const PanelView& view, int a, int b) const {
        return view.picture->Difference(view.Local(CellIcon(a)), view.Local(CellIcon(b))) < 3;
    }
    bool NothingAt(const PanelView& view, int index) const {
        return view.picture->CountDifferent(view.Local(CellIcon(index)), view.listBackground) < 20;
    }
    // Exactly one button has the selected look, and it is `selected`.
    ::testing::AssertionResult OnlySelected(const PanelView& view, int selected, int count) const {
        const int other = selected == 0 ? 1 : 0;
        const RECT plain = view.Local(ButtonMark(other));
        for (int i = 0; i < count; ++i) {
            const double d = view.picture->Difference(view.Local(ButtonMark(i)), plain);
            if (i == selected && d < 8)
                return ::testing::AssertionFailure() << "button " << i << " does not look selected";
            if (i != selected && d > 2)
                return ::testing::AssertionFailure() << "button " << i << " looks selected too";
        }
        return ::testing::AssertionSuccess();
    }
    void SavePicture() const {
        if (!panel || !IsWindow(panel)) return;
        ScreenPicture(Box(panel))
            .SaveBmp(TestProgramDirectory() + "\\e2e_" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".bmp");
    }

    // The titles the toolbar's buttons or the list's items show, as a screen
    // reader hears them.
    static std::vector<std::wstring> Titles(HWND window) {
        return AccessibleReader(window).ItemNames();
    }
    static std::vector<std::wstring> Wide(std::initializer_list<const char*> texts) {
        std::vector<std::wstring> wide;
        for (const char* text : texts) wide.push_back(WideText(text));
        return wide;
    }
    bool ButtonSelected(int index) const {
        return (AccessibleReader(toolbar).State(index + 1) & STATE_SYSTEM_SELECTED) != 0;
    }
    // A window of another program that has the keyboard.
    HWND OtherProgramActive() {
        HWND other = MakeOtherWindow();
        const POINT inOther = Centre(Box(other));
        // A click that reaches the display before the new window does (the
        // emulated guest) activates nothing: the user clicks again.
        bool active = false;
        for (int click = 0; click < 10 && !active; ++click) {
            ClickAt(inOther.x, inOther.y);
            active = Eventually([&] { return GetForegroundWindow() == other; }, 3);
        }
        EXPECT_TRUE(active);
        return other;
    }
    HWND FocusOfPanelThread() const {
        GUITHREADINFO info = {};
        info.cbSize = sizeof(info);
        GetGUIThreadInfo(GetWindowThreadProcessId(panel, nullptr), &info);
        return info.hwndFocus;
    }
    void HidePanel() {
        ClickDock();
        ASSERT_TRUE(Eventually([&] { return Hidden(); }));
    }

    TempFolder run{"desktop"};
    SubtreeWatchStandIn wineSubtree;
    std::string marker, log, notes, document;
    TaskbarStandIn standIn;
    DockProgram program;
    HWND dock = nullptr, panel = nullptr, iconList = nullptr, toolbar = nullptr;
};

TEST_F(Desktop, StartsInTheTaskbarAndTheDockOpensAndClosesThePanel) {
    LayOutFullFolder();
    ASSERT_TRUE(StartTaskbar());
    HWND button = standIn.Find("TrayButton");
    const RECT buttonBox = standIn.Entry(button)->box;
    StartProgram();
    EXPECT_EQ(0, CountEntries(run / "临时数据")) << "scratch icon files are deleted at once";

    // In the TrayButton's place, which is hidden; the panel waits beyond the
    // right edge; the program registered itself to start with the system.
    EXPECT_TRUE(Eventually([&] { return Box(dock).left == buttonBox.left; }));
    EXPECT_EQ(buttonBox.top, Box(dock).top);
    EXPECT_TRUE(Eventually([&] { return IsWindowVisible(dock) != FALSE; }));
    EXPECT_TRUE(Eventually([&] { return !IsWindowVisible(button); }));
    EXPECT_TRUE(Hidden());
    EXPECT_EQ("\"" + run / "QuickDock.exe" + "\"", ReadAutoStartValue("QuickDock.exe"));

    // A click slides it in, resting on the taskbar, drawn with its items.
    OpenPanel();
    EXPECT_EQ(Box(standIn.Taskbar()).top, Box(panel).bottom);
    PanelView view = Look();
    EXPECT_GT(view.picture->CountColours({0, 0, kPanelWidth, kPanelHeight}), 32)
        << "the panel is not drawn";
    EXPECT_TRUE(IconAt(view, 0)) << "a shortcut to a program shows its icon";
    EXPECT_TRUE(SamePicture(view, 1, 2))
        << "a program without icons and a document have no picture of their own";
    EXPECT_FALSE(SamePicture(view, 0, 1));
    EXPECT_TRUE(NothingAt(view, 3)) << "the first category has three items";
    EXPECT_TRUE(OnlySelected(view, 0, 3));

    // The next click slides it out.
    ClickDock();
    EXPECT_TRUE(Eventually([&] { return Hidden(); }));

    // A double click leaves it at one end, and the next click goes to the other.
    const POINT c = Centre(Box(dock));
    DoubleClickAt(c.x, c.y);
    Settle(1500);
    // A slow machine (the emulated i686 guest) may still be sliding.
    Eventually([&] { return Shown() || Hidden(); });
    const bool shownAfterDoubleClick = Shown();
    EXPECT_TRUE(shownAfterDoubleClick || Hidden()) << "left edge " << Box(panel).left;
    ClickDock();
    EXPECT_TRUE(Eventually([&] { return shownAfterDoubleClick ? Hidden() : Shown(); }));
}

TEST_F(Desktop, CategoriesShowTheirItemsAndItemsOpen) {
    LayOutFullFolder();
    AssociateDocuments(marker);
    ASSERT_TRUE(StartTaskbar());
    StartProgram();
    const int threadsBefore = ThreadsOf(program.Id());
    OpenPanel();

    // The second button shows exactly the second category: a program and a folder.
    POINT second = ButtonCentre(1);
    ClickAt(second.x, second.y);
    MoveMouse(ScreenWidth() - kPanelWidth - 60, Box(panel).top + 60);
    Settle(500);
    // The emulated guest may still be repainting the toolbar after the click.
    PanelView view;
    EXPECT_TRUE(Eventually([&] {
        view = Look();
        return static_cast<bool>(OnlySelected(view, 1, 3));
    })) << OnlySelected(view, 1, 3).message();
    EXPECT_TRUE(IconAt(view, 0));
    EXPECT_TRUE(IconAt(view, 1)) << "a shortcut to a folder shows the folder picture";
    EXPECT_FALSE(SamePicture(view, 0, 1));
    EXPECT_TRUE(NothingAt(view, 2));
    EXPECT_TRUE(Shown()) << "switching categories keeps the panel open";

    // Back to the first; its second item is the marker behind a shortcut with
    // arguments and a working folder; the panel slides away after the launch.
    const POINT first = ButtonCentre(0);
    ClickAt(first.x, first.y);
    Settle(300);
    POINT item = CellCentre(1);
    ClickAt(item.x, item.y);
    std::vector<std::string> lines = WaitForMarkerRecords(log, 1);
    ASSERT_EQ(2u, lines.size()) << "the item did not open";
    EXPECT_EQ("甲 \"一 二\"", lines[0]);
    EXPECT_EQ(run / "工作", lines[1]);
    EXPECT_TRUE(Eventually([&] { return Hidden(); })) << "the panel slides out after a launch";

    // A document opens with the program associated with its type.
    OpenPanel();
    item = CellCentre(2);
    ClickAt(item.x, item.y);
    lines = WaitForMarkerRecords(log, 2);
    ASSERT_EQ(4u, lines.size()) << "the document did not open";
    EXPECT_NE(std::string::npos, lines[2].find("3文档.qdedoc")) << lines[2];
    EXPECT_TRUE(Eventually([&] { return Hidden(); }));

    // Two quick activations from the keyboard (the list keeps the document
    // as its current item) open it twice; the launch workers end by themselves.
    PostMessageA(iconList, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(iconList, WM_KEYDOWN, VK_RETURN, 0);
    lines = WaitForMarkerRecords(log, 4);
    EXPECT_EQ(8u, lines.size()) << "both activations open the item";
    EXPECT_TRUE(Eventually([&] { return ThreadsOf(program.Id()) <= threadsBefore; }))
        << "launch workers end by themselves";
}

// The shell's message box of the program's process, once one is shown.
HWND ShellBoxOf(DWORD process) {
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w;
         w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
        if (OwnerProcess(w) == process && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

// An item that cannot be opened (its program deleted) is not passed over in
// silence: the shell shows its own message over the panel, as it does for
// the desktop's own shortcuts; the panel slides away as after any launch.
// (The program hands the shell the panel as the message's owner; Wine shows
// its message without an owner, so that part is not checked here.)
TEST_F(Desktop, AnItemThatCannotBeOpenedIsReportedByTheShell) {
    ASSERT_TRUE(MakeFolder(run / "临时数据"));
    const std::string root = run / "快速启动目录";
    ASSERT_TRUE(MakeFolder(root));
    ASSERT_TRUE(MakeFolder(root + "\\01甲"));
    const std::string gone = run / "已卸载.exe";
    ASSERT_TRUE(CopyFileA(marker.c_str(), gone.c_str(), FALSE));
    ASSERT_TRUE(MakeShortcut(root + "\\01甲\\1已卸载.lnk", gone));
    ASSERT_TRUE(DeleteFileA(gone.c_str()));
    ASSERT_TRUE(StartTaskbar());
    StartProgram();
    OpenPanel();

    const POINT item = CellCentre(0);
    ClickAt(item.x, item.y);
    HWND box = nullptr;
    ASSERT_TRUE(Eventually([&] { return (box = ShellBoxOf(program.Id())) != nullptr; }))
        << "the failure was not reported";
    EXPECT_TRUE(Eventually([&] { return Hidden(); })) << "the panel slides out as after a launch";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(Eventually([&] { return ShellBoxOf(program.Id()) == nullptr; }));
    // The dock goes on as before.
    OpenPanel();
}

TEST_F(Desktop, ThePanelStaysForAltF4AndGoesWhenAnotherWindowIsActivated) {
    LayOutFullFolder();
    ASSERT_TRUE(StartTaskbar());
    StartProgram();
    OpenPanel();

    // Alt+F4 closes an ordinary window here, so the panel's refusal below is
    // its own; the panel stays, and stays in.
    HWND ordinary = MakeOtherWindow();
    ASSERT_NE(ordinary, nullptr);
    const POINT inOrdinary = Centre(Box(ordinary));
    ClickAt(inOrdinary.x, inOrdinary.y);
    PressKeys({VK_MENU, VK_F4});
    EXPECT_TRUE(Eventually([&] { return !IsWindow(ordinary); }));
    const RECT list = Box(iconList);
    ClickAt(list.right - 40, list.bottom - 20);  // an empty place of the list
    EXPECT_TRUE(Eventually([&] { return GetForegroundWindow() == panel; }));
    PressKeys({VK_MENU, VK_F4});
    Settle(500);
    EXPECT_TRUE(IsWindow(panel));
    EXPECT_TRUE(Shown());

    // The list's menu holds one entry, shown 3 pixels right of and below the
    // pointer (at an empty place of the second row, where it fits the screen),
    // and the entry opens the program's folder.
    const POINT menuAt = {list.left + 30, list.top + 120};
    ClickAt(menuAt.x, menuAt.y, true);
    HWND menu = nullptr;
    ASSERT_TRUE(Eventually([&] { return (menu = OpenMenuOf(program.Id())) != nullptr; }));
    const RECT menuBox = Box(menu);
    EXPECT_LT(menuBox.bottom - menuBox.top, 2 * GetSystemMetrics(SM_CYMENU)) << "a single entry";
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x + 3, menuBox.left);
    EXPECT_EQ(cursor.y + 3, menuBox.top);
    PressKeys({VK_DOWN});
    PressKeys({VK_RETURN});
    EXPECT_TRUE(Eventually([&] { return OpenMenuOf(program.Id()) == nullptr; }));
    const std::string folderName = run.Path().substr(run.Path().find_last_of('\\') + 1);
    HWND folder = nullptr;
    EXPECT_TRUE(Eventually([&] { return (folder = FolderWindow(folderName)) != nullptr; }))
        << "the program's folder was not opened";
    if (folder) CloseShellWindow(folder);
    EXPECT_TRUE(IsWindow(panel));

    // The user activates another program's window while the panel is in. The
    // shell tells the panel; this desktop's shell sends no such notice, so the
    // test delivers it as the shell would.
    if (!Shown()) OpenPanel();
    HWND other = MakeOtherWindow();
    ASSERT_NE(other, nullptr);
    const POINT inOther = Centre(Box(other));
    ClickAt(inOther.x, inOther.y);
    EXPECT_TRUE(Eventually([&] { return GetForegroundWindow() == other; }));
    SendMessageA(panel, RegisterWindowMessageA("SHELLHOOK"), kWindowActivated,
                 reinterpret_cast<LPARAM>(other));
    EXPECT_TRUE(Eventually([&] { return Hidden(); }));
    DestroyWindow(other);
}

TEST_F(Desktop, EmptyOrMissingFoldersStillGiveAPanel) {
    ASSERT_TRUE(StartTaskbar());
    ASSERT_TRUE(MakeFolder(run / "临时数据"));
    // No quick-launch folder at all, then an empty one: an empty panel.
    for (bool folderExists : {false, true}) {
        SCOPED_TRACE(folderExists ? "empty folder" : "no folder");
        if (folderExists) {
            ASSERT_TRUE(MakeFolder(run / "快速启动目录"));
        }
        StartProgram();
        OpenPanel();
        PanelView view = Look();
        for (int i = 0; i < kColumns; ++i) EXPECT_TRUE(NothingAt(view, i)) << "place " << i;
        const RECT buttons = view.Local(ButtonMark(0));
        EXPECT_LT(view.picture->CountColours(buttons), 4) << "no category buttons";
        StopProgram();
    }

    // Without the scratch folder, programs show no icon; folders keep theirs.
    RemoveTree(run / "临时数据");
    ASSERT_TRUE(MakeFolder(run / "快速启动目录\\01甲"));
    ASSERT_TRUE(MakeShortcut(run / "快速启动目录\\01甲\\1记事本.lnk", SystemNotepad()));
    ASSERT_TRUE(MakeShortcut(run / "快速启动目录\\01甲\\2目录.lnk", run.Path()));
    WriteBytes(run / "快速启动目录\\01甲\\3说明.txt", {'t'});
    StartProgram();
    OpenPanel();
    PanelView view = Look();
    EXPECT_TRUE(SamePicture(view, 0, 2)) << "no program icon without 临时数据";
    EXPECT_TRUE(IconAt(view, 1));
    EXPECT_FALSE(SamePicture(view, 1, 2)) << "the folder picture does not need it";
}

// While the program runs the folder changes: items and categories added,
// removed and renamed. They are read while the panel is hidden (taking no
// focus), making pictures only for what is new, and show at the next slide-in
// with the category shown kept. While the panel is shown nothing changes;
// a category deleted meanwhile gives way to the first one at the next slide-in.
TEST_F(Desktop, ThePanelShowsTheFolderAsItIsNow) {
    LayOutFullFolder();
    ASSERT_TRUE(StartTaskbar());
    StartProgram();
    OpenPanel();
    const POINT second = ButtonCentre(1);
    ClickAt(second.x, second.y);
    ASSERT_TRUE(Eventually([&] { return ButtonSelected(1); }));
    HidePanel();
    HWND other = OtherProgramActive();

    const std::string root = run / "快速启动目录";
    FileCreations scratch(run / "临时数据");
    ASSERT_TRUE(MakeShortcut(root + "\\02乙\\3新.lnk", SystemNotepad()));
    ASSERT_TRUE(MoveFileA((root + "\\01甲").c_str(), (root + "\\05甲").c_str()));
    wineSubtree.Release(root + "\\03丙");
    RemoveTree(root + "\\03丙");
    ASSERT_TRUE(MakeFolder(root + "\\04丁"));
    WriteBytes(root + "\\04丁\\说明.txt", {'t'});
    EXPECT_TRUE(Eventually([&] {
        return Titles(toolbar) == Wide({"乙", "丁", "甲"});
    })) << "the folder was not read while the panel was hidden";
    Settle(1500);
    EXPECT_EQ(1, scratch.Count()) << "a picture is made for the new shortcut only";
    EXPECT_EQ(other, GetForegroundWindow()) << "reading the folder takes no focus";

    OpenPanel();
    EXPECT_EQ(Wide({"1记事本", "2目录", "3新"}), Titles(iconList));
    PanelView view = Look();
    EXPECT_TRUE(IconAt(view, 2)) << "the new shortcut shows its program's icon";
    EXPECT_TRUE(SamePicture(view, 0, 2));
    EXPECT_TRUE(OnlySelected(view, 0, 3)) << "乙, shown before, is still shown";

    wineSubtree.Release(root + "\\02乙");
    RemoveTree(root + "\\02乙");
    Settle(1500);
    EXPECT_EQ(3u, Titles(toolbar).size()) << "nothing changes while the panel is shown";
    EXPECT_EQ(3u, Titles(iconList).size());
    HidePanel();
    OpenPanel();
    EXPECT_EQ(Wide({"丁", "甲"}), Titles(toolbar));
    EXPECT_EQ(Wide({"说明"}), Titles(iconList));
    EXPECT_TRUE(ButtonSelected(0));
}

// The quick-launch folder renamed away empties the panel, renamed back fills
// it again; a burst of a thousand changes is read once.
TEST_F(Desktop, TheRootRenamedAwayAndBackAndABurstOfChanges) {
    LayOutFullFolder();
    ASSERT_TRUE(StartTaskbar());
    StartProgram();
    const std::string root = run / "快速启动目录", away = run / "别处";
    ASSERT_TRUE(MoveFileA(root.c_str(), away.c_str()));
    EXPECT_TRUE(Eventually([&] { return Titles(toolbar).empty(); }));
    ASSERT_TRUE(MoveFileA(away.c_str(), root.c_str()));
    EXPECT_TRUE(Eventually([&] { return Titles(toolbar) == Wide({"甲", "乙", "丙"}); }));
    wineSubtree.HoldSubfolders(root);

    // A shortcut made at the start of the burst and written again at its end:
    // every reading of the folder meanwhile would make its picture once more.
    FileCreations scratch(run / "临时数据");
    const std::string flash = root + "\\03丙\\0闪.lnk";
    ASSERT_TRUE(MakeShortcut(flash, SystemNotepad()));
    for (int i = 0; i < 1000; ++i)
        WriteBytes(root + "\\03丙\\f" + std::to_string(1000 + i) + ".txt", {'x'});
    ASSERT_TRUE(MakeShortcut(flash, SystemNotepad()));
    EXPECT_TRUE(Eventually([&] { return scratch.Count() >= 1; }));
    Settle(2000);
    EXPECT_EQ(1, scratch.Count()) << "the burst was read more than once";

    OpenPanel();
    const POINT third = ButtonCentre(2);
    ClickAt(third.x, third.y);
    EXPECT_TRUE(Eventually([&] { return AccessibleReader(iconList).Count() == 1002; }));
}

// The panel from the keyboard: no focus without a click; a click gives the
// icon list the keyboard; arrows move a visible selection, Tab, Shift+Tab
// and Ctrl+Tab go between categories, Enter opens the selected item as a
// click does, Esc slides the panel out and gives the keyboard back. A screen
// reader finds the dock button, the categories and the items by name.
TEST_F(Desktop, KeysWorkThePanelAndScreenReadersNameIt) {
    LayOutFullFolder();
    ASSERT_TRUE(StartTaskbar());
    StartProgram();
    HWND other = OtherProgramActive();
    Settle(500);
    EXPECT_EQ(other, GetForegroundWindow()) << "no focus is taken without a click";

    AccessibleReader button(dock);
    EXPECT_EQ(ROLE_SYSTEM_PUSHBUTTON, button.Role(CHILDID_SELF));
    EXPECT_EQ(WideText("快速启动 (QuickDock)"), button.Name(CHILDID_SELF));
    EXPECT_EQ(Wide({"甲", "乙", "丙"}), Titles(toolbar));
    EXPECT_EQ(ROLE_SYSTEM_PAGETAB, AccessibleReader(toolbar).Role(2));
    EXPECT_EQ(Wide({"1记事本", "2标记", "3文档"}), Titles(iconList));
    EXPECT_EQ(ROLE_SYSTEM_LISTITEM, AccessibleReader(iconList).Role(2));

    OpenPanel();
    EXPECT_TRUE(Eventually([&] { return GetForegroundWindow() == panel; }));
    EXPECT_TRUE(Eventually([&] { return FocusOfPanelThread() == iconList; }));
    PressKeys({VK_RIGHT});
    PressKeys({VK_RIGHT});
    EXPECT_TRUE(Eventually([&] { return AccessibleReader(iconList).Focus() == 2; }));
    PanelView view = Look();
    const RECT selected = view.Local(CellIcon(1)), plain = view.Local(CellIcon(2));
    const RECT selectedBand = {selected.left, selected.top - 6, selected.right, selected.top - 2};
    const RECT plainBand = {plain.left, plain.top - 6, plain.right, plain.top - 2};
    EXPECT_GT(view.picture->Difference(selectedBand, plainBand), 8) << "the selection is not drawn";

    PressKeys({VK_TAB});
    EXPECT_TRUE(Eventually([&] { return ButtonSelected(1); }));
    PressKeys({VK_SHIFT, VK_TAB});
    EXPECT_TRUE(Eventually([&] { return ButtonSelected(0); }));
    PressKeys({VK_CONTROL, VK_TAB});
    EXPECT_TRUE(Eventually([&] { return ButtonSelected(1); }));
    PressKeys({VK_CONTROL, VK_SHIFT, VK_TAB});
    EXPECT_TRUE(Eventually([&] { return ButtonSelected(0) && !ButtonSelected(1); }));

    // The second item of 甲 is the marker behind a shortcut with arguments.
    PressKeys({VK_END});
    PressKeys({VK_LEFT});
    PressKeys({VK_RETURN});
    std::vector<std::string> lines = WaitForMarkerRecords(log, 1);
    ASSERT_EQ(2u, lines.size()) << "Enter did not open the item";
    EXPECT_EQ("甲 \"一 二\"", lines[0]);
    EXPECT_TRUE(Eventually([&] { return Hidden(); }));

    other = OtherProgramActive();
    OpenPanel();
    EXPECT_TRUE(Eventually([&] { return GetForegroundWindow() == panel; }));
    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(Eventually([&] { return Hidden(); }));
    EXPECT_TRUE(Eventually([&] { return GetForegroundWindow() == other; }))
        << "the keyboard goes back to the program the user came from";
}

// The shell restarts: its taskbar goes, and the dock and panel with it; the
// program stays and is back in the new taskbar once the shell announces it,
// with its panel, categories and pictures, and nothing left of the old dock.
// Ten quick restarts in a row leave the one program with one dock.
TEST_F(Desktop, TheDockComesBackWhenTheShellRestarts) {
    LayOutFullFolder();
    ASSERT_TRUE(StartTaskbar());
    StartProgram();
    const int threadsBefore = ThreadsOf(program.Id());
    OpenPanel();
    standIn.Stop();
    ASSERT_TRUE(program.Running()) << "the program ended with its taskbar";
    // Nothing in the old taskbar was shown again on the way.
    std::ifstream file(notes);
    std::string className;
    int shown = -1;
    while (file >> className >> shown) {
        if (className == "TrayButton") {
            EXPECT_EQ(0, shown) << "the TrayButton was shown again";
        }
    }
    file.close();

    for (int restart = 0; restart < 10; ++restart) {
        standIn.Stop();
        ASSERT_TRUE(StartTaskbar(true));
    }
    ASSERT_TRUE(Eventually([&] { return (dock = program.DockIn(standIn.Taskbar())) != nullptr; }));
    ASSERT_TRUE(Eventually([&] { return IsWindowVisible(dock) != FALSE; }));
    EXPECT_EQ(standIn.Entry(standIn.Find("TrayButton"))->box.left, Box(dock).left);
    ASSERT_TRUE(Eventually([&] { return (panel = program.Panel()) != nullptr; }));
    FindPanelParts();
    OpenPanel();
    PanelView view = Look();
    EXPECT_TRUE(IconAt(view, 0)) << "the pictures are back";
    EXPECT_TRUE(OnlySelected(view, 0, 3));
    EXPECT_TRUE(program.Running());
    EXPECT_EQ(0, CountEntries(run / "临时数据"));
    EXPECT_TRUE(Eventually([&] { return ThreadsOf(program.Id()) <= threadsBefore; }));
    int panels = 0;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        const RECT r = Box(w);
        if (OwnerProcess(w) == program.Id() && r.right - r.left == kPanelWidth) ++panels;
    }
    EXPECT_EQ(1, panels) << "one panel, not one per taskbar";
}

}  // namespace
