// The dock's routines that work on their own: the taskbar's thickness and the
// display mode (platform calls replaced through the declared-function table),
// item titles, the class search in windows of this process, the timed wait,
// and the thread and auto-start commands.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "app/common/DeclaredFunctions.h"
#include "app/common/DelayWithMessages.h"
#include "app/common/FileTitle.h"
#include "app/common/Globals.h"
#include "app/dock/BlurBehind.h"
#include "app/dock/EmbedDock.h"
#include "app/dock/PanelParking.h"
#include "app/dock/PanelSlides.h"
#include "app/dock/PanelWindowProc.h"
#include "tests/support/DeclaredTable.h"
#include "app/dock/TaskbarSearch.h"
#include "app/dock/TaskbarThickness.h"
#include "runtime/library/Commands.h"
#include "runtime/external/ExternalFunctions.h"
#include "runtime/process/Runtime.h"
#include "runtime/library/system/SystemLibrary.h"
#include "runtime/library/thread/ThreadLibrary.h"

namespace {

template <typename F>
FARPROC AsFarProc(F f) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(f));
}

class DockLogic : public ::testing::Test {
  protected:
    void SetUp() override { InstallDeclaredFunctions(); }
    void TearDown() override {
        for (int32_t i = 0; i < kExternalFunctionCount; ++i) OverrideExternalFunction(i, nullptr);
    }
};

// --- The declared functions ---------------------------------------------------

// Each wrapper takes exactly its function's parameter types: an argument of
// another type, or one too few, does not compile.
static_assert(std::is_invocable_v<decltype(Declared::FindWindowExA), HWND, HWND, const char*,
                                  std::nullptr_t>);
static_assert(
    !std::is_invocable_v<decltype(Declared::FindWindowExA), int, HWND, const char*, const char*>);
static_assert(!std::is_invocable_v<decltype(Declared::GetWindowRect), HWND, POINT*>);
static_assert(!std::is_invocable_v<decltype(Declared::ShowWindowAsync), HWND>);

// The names go to the runtime as the program declares them, in table order;
// the odd ones are kept: "lstrcpyn" (no such kernel32 export, never called)
// and the one DLL name spelled "User32.dll".
TEST(DeclaredFunctions, NamesAsDeclaredInTableOrder) {
    ASSERT_EQ(26, kExternalFunctionCount);
    EXPECT_STREQ("FindWindowExA", kExternalFunctionNames[0]);
    EXPECT_STREQ("SetWindowCompositionAttribute", kExternalFunctionNames[8]);
    EXPECT_STREQ("shlwapi.dll", kExternalDllNames[kPathFindExtensionA]);
    EXPECT_STREQ("shell32.dll", kExternalDllNames[kSHAppBarMessage]);
    EXPECT_STREQ("MsgWaitForMultipleObjects", kExternalFunctionNames[20]);
    EXPECT_STREQ("User32.dll", kExternalDllNames[20]);
    EXPECT_STREQ("Sleep", kExternalFunctionNames[kSleep]);
    EXPECT_STREQ("lstrcpyn", kExternalFunctionNames[24]);
    EXPECT_STREQ("kernel32.dll", kExternalDllNames[24]);
}

// --- Taskbar thickness and display mode -----------------------------------

RECT gBar;
bool gDevicesFail;
DWORD gPrimaryDevice;  // of two devices, "\\.\DISPLAY1" and "\\.\DISPLAY2"
DWORD gAppBarRecordSize, gDeviceRecordSize, gDeviceFlags, gDeviceIndex, gModeRecordSize;
std::string gSettingsDevice;
DWORD gModeWidth, gModeHeight;

UINT_PTR WINAPI FakeAppBarMessage(DWORD message, APPBARDATA* data) {
    gAppBarRecordSize = data->cbSize;
    if (message != ABM_GETTASKBARPOS || data->cbSize != sizeof(APPBARDATA)) return 0;
    data->rc = gBar;
    return 1;
}

BOOL WINAPI FakeEnumDisplayDevices(const char* device, DWORD index, DISPLAY_DEVICEA* record,
                                   DWORD flags) {
    gDeviceRecordSize = record->cb;
    gDeviceFlags = flags;
    gDeviceIndex = index;
    if (gDevicesFail || device != nullptr || index > 1) return FALSE;
    std::strcpy(record->DeviceName, index == 0 ? "\\\\.\\DISPLAY1" : "\\\\.\\DISPLAY2");
    record->StateFlags = index == gPrimaryDevice ? DISPLAY_DEVICE_PRIMARY_DEVICE : 0;
    return TRUE;
}

BOOL WINAPI FakeEnumDisplaySettings(const char* device, DWORD mode, DEVMODEA* record) {
    gSettingsDevice = device ? device : "";
    gModeRecordSize = record->dmSize;
    if (mode != ENUM_CURRENT_SETTINGS || record->dmSize != sizeof(DEVMODEA)) return FALSE;
    // The primary display has the mode under test; the other one is smaller.
    const bool primary =
        gSettingsDevice == (gPrimaryDevice == 0 ? "\\\\.\\DISPLAY1" : "\\\\.\\DISPLAY2");
    record->dmBitsPerPel = 32;
    record->dmPelsWidth = primary ? gModeWidth : 1280;
    record->dmPelsHeight = primary ? gModeHeight : 1024;
    record->dmDisplayFrequency = 60;
    return TRUE;
}

class TaskbarThickness : public DockLogic {
  protected:
    void SetUp() override {
        DockLogic::SetUp();
        OverrideExternalFunction(kSHAppBarMessage, AsFarProc(&FakeAppBarMessage));
        OverrideExternalFunction(kEnumDisplayDevicesA, AsFarProc(&FakeEnumDisplayDevices));
        OverrideExternalFunction(kEnumDisplaySettingsA, AsFarProc(&FakeEnumDisplaySettings));
        gDevicesFail = false;
        gPrimaryDevice = 0;
        gModeWidth = 1920;
        gModeHeight = 1080;
    }
    int32_t ThicknessFor(RECT bar) {
        gBar = bar;
        return GetTaskbarThickness();
    }
};

TEST_F(TaskbarThickness, ABarAlongAWholeEdgeGivesItsDepth) {
    EXPECT_EQ(40, ThicknessFor({0, 1040, 1920, 1080}));  // bottom: panel top 1080-40-248 = 792
    EXPECT_EQ(40, ThicknessFor({0, 0, 1920, 40}));       // top: counted all the same
    EXPECT_EQ(60, ThicknessFor({0, 0, 60, 1080}));       // left
    EXPECT_EQ(62, ThicknessFor({1858, 0, 1920, 1080}));  // right
}

TEST_F(TaskbarThickness, ABarNotSpanningAWholeEdgeGivesZero) {
    EXPECT_EQ(0, ThicknessFor({1920, 1040, 3840, 1080}));  // on a second display
    EXPECT_EQ(0, ThicknessFor({100, 1040, 1820, 1080}));
    EXPECT_EQ(0, ThicknessFor({0, 0, 0, 0}));  // the shell did not answer
    gDevicesFail = true;
    EXPECT_EQ(0, ThicknessFor({0, 1040, 1920, 1080}));
}

// A laptop whose external monitor is the main display: the primary display is
// device 1, device 0 a smaller one; the taskbar spans the primary.
TEST_F(TaskbarThickness, ThePrimaryDisplayIsMeasuredWhicheverDeviceItIs) {
    gPrimaryDevice = 1;
    EXPECT_EQ(40, ThicknessFor({0, 1040, 1920, 1080}));
    EXPECT_EQ("\\\\.\\DISPLAY2", gSettingsDevice);
    EXPECT_EQ(1, PrimaryDisplayIndex());
}

TEST_F(TaskbarThickness, TheDisplayModeComesFromTheFirstDevicesCurrentSettings) {
    gModeWidth = 0x12780;  // only the low 16 bits count
    const DisplayMode mode = GetDisplayMode(0);
    EXPECT_EQ(420u, gDeviceRecordSize);
    EXPECT_EQ(1u, gDeviceFlags);
    EXPECT_EQ(0u, gDeviceIndex);
    EXPECT_EQ("\\\\.\\DISPLAY1", gSettingsDevice);
    EXPECT_EQ(32, mode.bitsPerPixel);
    EXPECT_EQ(0x2780, mode.width);
    EXPECT_EQ(1080, mode.height);
    EXPECT_EQ(60, mode.frequency);

    gDevicesFail = true;
    const DisplayMode none = GetDisplayMode(0);
    EXPECT_EQ(0, none.width);
    EXPECT_EQ(0, none.height);
}

#if defined(__i386__)
// What a 32-bit program hands to the system: the records have the sizes and
// the 32-bit field layout that Windows expects of it. Only the i686 build has
// these sizes; x86_64 builds its records at the system's 64-bit sizes.
uint32_t gComposition[3];
uint32_t gAccent[4];

BOOL WINAPI RecordingSetWindowCompositionAttribute(HWND, const uint32_t* data) {
    std::memcpy(gComposition, data, sizeof gComposition);
    std::memcpy(gAccent, reinterpret_cast<const void*>(static_cast<uintptr_t>(data[1])),
                sizeof gAccent);
    return TRUE;
}

TEST_F(TaskbarThickness, TheRecordsHandedToTheSystemHaveTheir32BitSizes) {
    EXPECT_EQ(40, ThicknessFor({0, 1040, 1920, 1080}));
    EXPECT_EQ(36u, gAppBarRecordSize);
    EXPECT_EQ(420u, gDeviceRecordSize);  // four bytes short of the 424-byte record
    EXPECT_EQ(156u, gModeRecordSize);

    // The composition data: attribute, address of the policy, policy size,
    // three consecutive 32-bit fields; the policy four more.
    OverrideExternalFunction(kSetWindowCompositionAttribute,
                             AsFarProc(&RecordingSetWindowCompositionAttribute));
    EXPECT_EQ(TRUE, EnableBlurBehind(GetDesktopWindow()));
    EXPECT_EQ(19u, gComposition[0]);
    EXPECT_NE(0u, gComposition[1]);
    EXPECT_EQ(16u, gComposition[2]);
    EXPECT_EQ((std::vector<uint32_t>{3, 0, 0, 0}), std::vector<uint32_t>(gAccent, gAccent + 4));
}
#endif

TEST_F(DockLogic, TheRealDisplayModeMatchesTheScreen) {
    const DisplayMode mode = GetDisplayMode(0);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), mode.width);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), mode.height);
}

// --- Where the hidden panel waits -------------------------------------------

// The monitors as EnumDisplayMonitors reports them (primary at 0,0); the
// panel, 400 wide, parked at the rule's left edge, must overlap none of them.
TEST(PanelParking, TheHiddenPanelLiesOnNoMonitor) {
    const RECT primary = {0, 0, 1920, 1080};
    struct Layout {
        const char* what;
        std::vector<RECT> monitors;
        int32_t expected;
    };
    const std::vector<Layout> layouts = {
        {"one monitor", {primary}, 1920},
        {"none reported", {}, 1920},
        {"a monitor to the right", {primary, {1920, 0, 3200, 1024}}, 3200},
        {"to the right, lower and taller", {primary, {1920, 300, 3360, 1740}}, 3360},
        {"two to the right", {{1920, 0, 3840, 1080}, primary, {3840, -200, 5120, 824}}, 5120},
        {"a monitor to the left", {primary, {-1280, 0, 0, 1024}}, 1920},
        {"below, reaching further right", {primary, {400, 1080, 2960, 2520}}, 2960},
    };
    for (const Layout& layout : layouts) {
        const int32_t left = ParkedPanelLeft(primary.right, layout.monitors);
        EXPECT_EQ(layout.expected, left) << layout.what;
        const RECT panel = {left, 0, left + 400, 248};
        for (const RECT& monitor : layout.monitors) {
            RECT overlap;
            EXPECT_FALSE(IntersectRect(&overlap, &panel, &monitor)) << layout.what;
        }
    }
    // This desktop: its one monitor, whose right edge is the screen's width.
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN),
              ParkedPanelLeft(GetSystemMetrics(SM_CXSCREEN), MonitorRectangles()));
}

// --- Item titles ------------------------------------------------------------

std::string Title(const char* path, bool keepExtension = false) {
    OwnedText t(FileTitle(path, keepExtension));
    return t.Get() ? t.Get() : "";
}

TEST_F(DockLogic, ATitleIsTheFileNameWithoutItsLastExtension) {
    EXPECT_EQ("Notepad", Title("C:\\a\\Notepad.lnk"));
    EXPECT_EQ("readme", Title("C:\\a\\readme"));
    EXPECT_EQ("b.tar", Title("C:\\a\\b.tar.gz"));
    EXPECT_EQ("记事本", Title("C:\\快速启动目录\\01办公\\记事本.lnk"));
    EXPECT_EQ("Notepad.lnk", Title("C:\\a\\Notepad.lnk", true));
    EXPECT_EQ("", Title("C:\\a\\"));
    EXPECT_EQ("", Title(""));
    // 運 and 誠 end in the byte of "\\" (0x5C) in code page 936: still names.
    EXPECT_EQ("誠", Title("C:\\a\\誠"));
    EXPECT_EQ("02運", Title("C:\\快速启动目录\\02運", true));
    EXPECT_EQ("錦", Title("C:\\a\\錦.lnk"));
}

// --- The class search in windows of this process ----------------------------

LRESULT CALLBACK CountingProc(HWND w, UINT m, WPARAM wp, LPARAM lp);
int gAppMessages;

LRESULT CALLBACK CountingProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_APP) ++gAppMessages;
    return DefWindowProcA(w, m, wp, lp);
}

class LocalWindows : public DockLogic {
  protected:
    void SetUp() override {
        DockLogic::SetUp();
        for (const char* name : {"QdSearchRoot", "QdBox", "TrayButton"}) {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = CountingProc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = name;
            RegisterClassA(&wc);
        }
        root_ = CreateWindowExA(0, "QdSearchRoot", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
    }
    void TearDown() override {
        DestroyWindow(root_);
        DockLogic::TearDown();
    }
    HWND Child(HWND parent, const char* className) {
        return CreateWindowExA(0, className, "", WS_CHILD, 0, 0, 5, 5, parent, nullptr, nullptr,
                               nullptr);
    }
    HWND root_ = nullptr;
};

TEST_F(LocalWindows, TheSearchIsDepthFirstInSiblingOrder) {
    HWND box = Child(root_, "QdBox");
    HWND inner = Child(box, "QdBox");
    HWND nested = Child(inner, "TrayButton");
    HWND direct = Child(root_, "TrayButton");
    ASSERT_TRUE(nested && direct);
    EXPECT_EQ(nested, FindDescendantByClass(root_, "TrayButton"));
    EXPECT_EQ(box, FindDescendantByClass(root_, "QdBox"));
    EXPECT_EQ(nullptr, FindDescendantByClass(root_, "TrayButto"));
    EXPECT_EQ(nullptr, FindDescendantByClass(nested, "TrayButton"));
}

TEST_F(LocalWindows, TheDockGoesToTheButtonsPlaceInTheTaskbarsCoordinates) {
    WindowBox box;
    box.left = 37;
    EXPECT_EQ(37, DockLeftForButton(nullptr, root_, box));  // no taskbar: no conversion
    EXPECT_EQ(0, DockLeftForButton(root_, nullptr, box));   // no button: the taskbar's origin
}

TEST_F(LocalWindows, AClassNameThatCannotBeReadIsFiftySpaces) {
    OwnedText name(GetWindowClassText(nullptr));
    EXPECT_EQ(std::string(50, ' '), name.Get());
    const WindowBox box = GetWindowBox(nullptr);
    EXPECT_EQ(0, box.left + box.top + box.width + box.height);
}

TEST_F(LocalWindows, MessagesArePumpedAfterSiblingStepsOnly) {
    // A match at the first child: no sibling step, so nothing is pumped.
    HWND first = Child(root_, "TrayButton");
    Child(root_, "QdBox");
    gAppMessages = 0;
    PostMessageA(root_, WM_APP, 0, 0);
    EXPECT_EQ(first, FindDescendantByClass(root_, "TrayButton"));
    EXPECT_EQ(0, gAppMessages);
    // A search that steps to a sibling handles what is waiting.
    EXPECT_EQ(nullptr, FindDescendantByClass(root_, "NoSuchClass"));
    EXPECT_EQ(1, gAppMessages);
}

// --- The panel's window procedure -------------------------------------------

std::string gSetText;
LRESULT CALLBACK PreviousProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_SETTEXT) gSetText = reinterpret_cast<const char*>(lp);
    if (m == WM_APP) return 1234;
    return DefWindowProcA(w, m, wp, lp);
}

#if defined(__i386__)
// On i686 the procedure goes in through the declared SetWindowLongA; x86_64
// needs SetWindowLongPtrA for a 64-bit address.
LONG gSetIndex, gSetValue;
LONG WINAPI ForwardingSetWindowLongA(HWND window, int index, LONG value) {
    gSetIndex = index;
    gSetValue = value;
    return SetWindowLongA(window, index, value);
}
#endif

TEST_F(LocalWindows, ThePanelProcedurePassesEveryMessageOnUnchanged) {
    HWND panel = Child(root_, "QdBox");
    SetWindowLongPtrA(panel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PreviousProc));
#if defined(__i386__)
    OverrideExternalFunction(kSetWindowLongA, AsFarProc(&ForwardingSetWindowLongA));
#endif
    InstallPanelWindowProc(panel);
#if defined(__i386__)
    EXPECT_EQ(GWL_WNDPROC, gSetIndex);
    EXPECT_EQ(reinterpret_cast<LONG>(&PanelWindowProc), gSetValue);
#endif
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&PanelWindowProc), GetWindowLongPtrA(panel, GWLP_WNDPROC));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&PreviousProc), PanelPreviousWndProc);
    // Results and ANSI text (GBK bytes) reach the previous procedure as sent.
    EXPECT_FALSE(IsWindowUnicode(panel));
    EXPECT_EQ(1234, SendMessageA(panel, WM_APP, 0, 0));
    SendMessageA(panel, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("快速启动目录"));
    EXPECT_EQ("快速启动目录", gSetText);
    DestroyWindow(panel);  // while the previous procedure is still known
    PanelPreviousWndProc = 0;
}

// --- The timed wait -------------------------------------------------------------

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return (to.QuadPart - from.QuadPart) * 1000.0 / frequency.QuadPart;
}

DWORD WINAPI PostThreeMessagesSoon(LPVOID window) {
    Sleep(50);
    for (int i = 0; i < 3; ++i) PostMessageA(static_cast<HWND>(window), WM_APP, 0, 0);
    return 0;
}

TEST_F(LocalWindows, TheWaitLastsItsIntervalWhileHandlingMessages) {
    // The messages arrive during the wait, long before its end: messages that
    // wait from before it would race the timer on a slow (emulated) machine,
    // and a timer that has fired ends the wait before any message is handled.
    gAppMessages = 0;
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    HANDLE poster = CreateThread(nullptr, 0, PostThreeMessagesSoon, root_, 0, nullptr);
    ASSERT_NE(nullptr, poster);
    EXPECT_TRUE(DelayWithMessages(1000, 0));
    QueryPerformanceCounter(&end);
    WaitForSingleObject(poster, INFINITE);
    CloseHandle(poster);
    EXPECT_EQ(3, gAppMessages);
    // Never earlier than asked (1 ms of slack for the clocks' granularity).
    EXPECT_GE(Milliseconds(start, end), 999.0);
}

HANDLE WINAPI NoTimer(LPSECURITY_ATTRIBUTES, BOOL, const char*) {
    return nullptr;
}
DWORD WINAPI FailingWait(DWORD, const HANDLE*, BOOL, DWORD, DWORD) {
    return WAIT_FAILED;
}

DWORD WINAPI DelayOnThread(LPVOID interval) {
    DelayWithMessages(static_cast<int32_t>(reinterpret_cast<intptr_t>(interval)), 0);
    return 0;
}

// Runs a delay on a worker thread so that a wait that never ends fails the
// test instead of hanging it.
bool DelayEnds(int32_t interval) {
    HANDLE thread =
        CreateThread(nullptr, 0, DelayOnThread,
                     reinterpret_cast<LPVOID>(static_cast<intptr_t>(interval)), 0, nullptr);
    const bool ended = WaitForSingleObject(thread, 20000) == WAIT_OBJECT_0;
    if (!ended) TerminateThread(thread, 1);
    CloseHandle(thread);
    return ended;
}

TEST_F(DockLogic, TheWaitEndsWhenTheTimerCannotBeMadeOrTheWaitFails) {
    OverrideExternalFunction(kCreateWaitableTimerA, AsFarProc(&NoTimer));
    EXPECT_TRUE(DelayEnds(3600000));
    OverrideExternalFunction(kCreateWaitableTimerA, nullptr);
    OverrideExternalFunction(kMsgWaitForMultipleObjects, AsFarProc(&FailingWait));
    EXPECT_TRUE(DelayEnds(3600000));
}

// --- StartThread and SetAutoStart -------------------------------------------------

DWORD WINAPI RecordParameter(LPVOID parameter) {
    *static_cast<volatile LONG*>(parameter) = 7;
    return 0;
}

bool RunCommand(const SupportLibrary& library, int32_t command, ArgumentRecord* args,
                int32_t count) {
    ResultRecord result{};
    library.commands[command](&result, count, args);
    return result.AsInt() != 0;
}

TEST(DockCommands, StartThreadRunsTheRoutineAndHandsOverTheHandleWhenAsked) {
    volatile LONG seen = 0;
    int32_t handle = 0;
    ArgumentRecord args[] = {ArgSubroutine(reinterpret_cast<const void*>(&RecordParameter)),
                             ArgLong(static_cast<int64_t>(reinterpret_cast<intptr_t>(&seen))),
                             ArgReference(&handle, Tag::kInteger)};
    args[1].tag = Tag::kSubroutine;  // an address-sized parameter
    ASSERT_TRUE(RunCommand(ThreadLibrary(), 0, args, 3));
    ASSERT_NE(0, handle);
    HANDLE thread = reinterpret_cast<HANDLE>(static_cast<intptr_t>(handle));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 20000));
    CloseHandle(thread);
    EXPECT_EQ(7, seen);

    ArgumentRecord none[] = {ArgSubroutine(nullptr)};
    EXPECT_FALSE(RunCommand(ThreadLibrary(), 0, none, 1));
}

std::string RunValue(const char* name) {
    char value[MAX_PATH * 2] = {};
    DWORD size = sizeof(value) - 1;
    HKEY key;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                    &key) != ERROR_SUCCESS) {
        return "<no key>";
    }
    const LONG r =
        RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return r == ERROR_SUCCESS ? std::string(value) : "<none>";
}

void DeleteRunValue(const char* name) {
    HKEY key;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                    &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, name);
        RegCloseKey(key);
    }
}

bool SetAutoStart(const char* name, const char* path, ArgumentRecord mode) {
    ArgumentRecord args[] = {ArgText(name), ArgText(path), mode};
    return RunCommand(SystemLibrary(), 0, args, 3);
}

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// The Run value is a command line: the path is stored in quotes, so that one
// with spaces is not read as "C:\Program" followed by arguments.
TEST(DockCommands, AutoStartWritesTheRunValueWithTheFullPathQuoted) {
    const char* name = "qd_autostart_probe.exe";
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    char other[MAX_PATH];
    GetSystemDirectoryA(other, MAX_PATH);
    std::strcat(other, "\\notepad.exe");
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string spaced = std::string(temp) + "qd auto start";
    const std::string program = spaced + "\\Quick Dock.exe";
    CreateDirectoryA(spaced.c_str(), nullptr);
    HANDLE file = CreateFileA(program.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);
    DeleteRunValue(name);

    EXPECT_TRUE(SetAutoStart(name, self, ArgOmitted()));
    EXPECT_EQ(Quoted(self), RunValue(name));
    EXPECT_TRUE(SetAutoStart(name, program.c_str(), ArgInt(0)));
    EXPECT_EQ(Quoted(program), RunValue(name));
    // Rewritten at every start; an unknown mode is the registry too.
    EXPECT_TRUE(SetAutoStart(name, other, ArgInt(9)));
    EXPECT_EQ(Quoted(other), RunValue(name));
    // A path that names no file (or a folder) changes nothing.
    EXPECT_FALSE(SetAutoStart(name, "C:\\no\\such\\program.exe", ArgInt(0)));
    EXPECT_FALSE(SetAutoStart(name, "C:\\windows", ArgInt(0)));
    EXPECT_EQ(Quoted(other), RunValue(name));
    DeleteFileA(program.c_str());
    RemoveDirectoryA(spaced.c_str());
    DeleteRunValue(name);
    EXPECT_FALSE(SetAutoStart(name, "", ArgInt(0)));
    EXPECT_EQ("<none>", RunValue(name));
}

TEST(DockCommands, AutoStartModeOneMakesAStartupShortcut) {
    CoInitialize(nullptr);
    char folder[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, folder, CSIDL_STARTUP, TRUE));
    const std::string link = std::string(folder) + "\\qd_autostart_probe.lnk";
    DeleteFileA(link.c_str());
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    EXPECT_TRUE(SetAutoStart("qd_autostart_probe", self, ArgInt(1)));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(link.c_str()));
    DeleteFileA(link.c_str());
    CoUninitialize();
}

}  // namespace
