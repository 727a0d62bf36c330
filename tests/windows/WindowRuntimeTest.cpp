// Window loading, event dispatch, properties, menus and library
// notifications, in one process with a synthetic UI description and a small
// component type of a test library.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include <stdexcept>
#include <string>
#include "runtime/library/core/CoreCommandList.h"
#include "runtime/windows/Properties.h"
#include "runtime/process/Runtime.h"
#include "runtime/process/RuntimeError.h"
#include "runtime/process/RuntimeState.h"
#include "runtime/windows/WindowRuntime.h"
#include "tests/windows/SegmentWriter.h"

namespace {

constexpr uint32_t kMain = 0x52000001;
constexpr uint32_t kMainSelf = 0x06000001;
constexpr uint32_t kControl = 0x16000010;
constexpr uint32_t kMenu = 0x26000011;
constexpr uint32_t kMenuItem = 0x26000012;
constexpr uint32_t kSecond = 0x52000002;
constexpr uint32_t kSecondSelf = 0x06000002;
constexpr uint32_t kSecondControl = 0x16000020;
constexpr uint32_t kTooNew = 0x52000003;
constexpr uint32_t kOwned = 0x52000004;
constexpr uint32_t kSelfClosing = 0x52000005;
constexpr uint32_t kMissing = 0x52000099;
constexpr uint32_t kTestType = 0x00020001;

// --- What the handlers saw. ----------------------------------------------
struct Seen {
    int mainCreated = 0;
    bool mainExistedAtCreation = false;
    int controlEvents = 0;
    int32_t lastArgs[5] = {};
    int32_t lastCount = 0;
    uint32_t sourceWindow = 0, sourceComponent = 0;
    int menuClicks = 0;
    int mayClose = 0;
    int secondCreated = 0;
};
Seen gSeen;
enum class CloseAnswer { KeepOpen, Unreported, NotAsked } gCloseAnswer = CloseAnswer::KeepOpen;

HandlerResult OnMainCreated(const int32_t*, int32_t) {
    ++gSeen.mainCreated;
    gSeen.mainExistedAtCreation = LiveHandleOf(kMain, 0) != nullptr;
    return NoResult();
}
HandlerResult OnMainMayClose(const int32_t*, int32_t) {
    ++gSeen.mayClose;
    if (gCloseAnswer == CloseAnswer::KeepOpen) return Result(0);
    return NoResult();  // "returns" 0 but reports nothing
}
HandlerResult OnControlEvent(const int32_t* args, int32_t count) {
    ++gSeen.controlEvents;
    gSeen.lastCount = count;
    for (int32_t i = 0; i < count && i < 5; ++i) gSeen.lastArgs[i] = args[i];
    CurrentEventSource(&gSeen.sourceWindow, &gSeen.sourceComponent);
    return NoResult();
}
HandlerResult OnMenuClick(const int32_t*, int32_t) {
    ++gSeen.menuClicks;
    return NoResult();
}
// Character event: "a" becomes "b", "x" is swallowed, others pass.
HandlerResult OnControlCharacter(const int32_t* args, int32_t) {
    if (args[0] == 'a') return Result('b');
    if (args[0] == 'x') return Result(0);
    return NoResult();
}
HandlerResult OnSecondCreated(const int32_t*, int32_t) {
    ++gSeen.secondCreated;
    return NoResult();
}
// A window that closes itself in its creation event.
int gSelfClosingMoved = 0;
HandlerResult CloseOwnWindow(const int32_t*, int32_t) {
    DestroyWindow(LiveHandleOf(kSelfClosing, 0));
    return NoResult();
}
HandlerResult CountMoved(const int32_t*, int32_t) {
    ++gSelfClosingMoved;
    return NoResult();
}
const EventHandler kHandlers[] = {OnMainCreated,      OnMainMayClose,  OnControlEvent, OnMenuClick,
                                  OnControlCharacter, OnSecondCreated, CloseOwnWindow, CountMoved};
constexpr int32_t Slot(int32_t n) {
    return n * kHandlerOffsetUnit;
}

// --- The test library's component type. -------------------------------------
RuntimeNotifyFn gNotify = nullptr;
struct Created {
    ComponentCreateArgs args{};
    std::vector<uint8_t> attributes;
    int eventsDuringCreation = 0;
};
std::vector<Created> gCreated;
int64_t gTypeProperties[32] = {};
std::vector<WPARAM> gCharsSeen;

LRESULT CALLBACK TestControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR) gCharsSeen.push_back(wParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

RuntimeWindowObject CreateTestControl(const ComponentCreateArgs& args) {
    WNDCLASSA wc{};
    if (!GetClassInfoA(GetModuleHandleA(nullptr), "QDTestControl", &wc)) {
        wc.lpfnWndProc = TestControlProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "QDTestControl";
        RegisterClassA(&wc);
    }
    HWND hwnd = CreateWindowExA(0, "QDTestControl", "", args.style | WS_CHILD, args.left, args.top,
                                args.width, args.height, args.parent, args.menu,
                                GetModuleHandleA(nullptr), nullptr);
    Created c;
    c.args = args;
    c.attributes.assign(args.attributes, args.attributes + args.attributeSize);
    // A control that reports an event while the window is still being built.
    EventRecord record{};
    record.windowId = args.windowId;
    record.componentId = args.componentId;
    record.event = 0;
    int before = gSeen.controlEvents;
    gNotify(kNotifyDeliverEvent, reinterpret_cast<intptr_t>(&record), 0, 0);
    c.eventsDuringCreation = gSeen.controlEvents - before;
    gCreated.push_back(c);
    return gNotify(kNotifyMakeWindowObject, reinterpret_cast<intptr_t>(hwnd), 0, 0);
}
int32_t TestPropertyWritten(RuntimeWindowObject, int32_t index, const int64_t* value) {
    gTypeProperties[index] = *value;
    return 1;
}
int32_t TestReadProperty(RuntimeWindowObject object, int32_t index, int64_t* value) {
    *value = gTypeProperties[index] + (WindowObjectHandle(object) ? 1000 : 0);
    return 1;
}
HGLOBAL TestAttributeBlock(RuntimeWindowObject) {
    return nullptr;
}

const ComponentType kTestControlType = {
    kTestType,          "TestControl",   20, true, CreateTestControl, TestPropertyWritten,
    TestAttributeBlock, TestReadProperty};
const ComponentType* const kTestTypes[] = {&kTestControlType};
intptr_t TestLibraryNotify(int32_t code, intptr_t a1, intptr_t) {
    if (code == kLibraryNotifyInit) gNotify = reinterpret_cast<RuntimeNotifyFn>(a1);
    return 0;
}
const SupportLibrary kCoreStandIn = {
    "00000000000000000000000000000001", "core", 1, 0, 0, nullptr, nullptr, 0, nullptr, 0};
const SupportLibrary kTestLibrary = {"00000000000000000000000000000002",
                                     "test",
                                     1,
                                     0,
                                     0,
                                     TestLibraryNotify,
                                     nullptr,
                                     0,
                                     kTestTypes,
                                     1};
const SupportLibrary* const kLibraries[] = {&kCoreStandIn, &kTestLibrary};

// --- The description. ---------------------------------------------------------
std::vector<uint8_t> BuildSegment() {
    using segment::Element;
    segment::Window main;
    main.id = kMain;
    main.options.border = 2;
    Element self;
    self.id = kMainSelf;
    self.type = Tag::kWindow;
    self.name = "主窗口";
    self.left = 100;
    self.top = 120;
    self.width = 300;
    self.height = 200;
    self.events = {{0, Slot(0)}, {1, Slot(1)}, {3, -1}};
    main.elements.push_back(self);
    Element control;
    control.id = kControl;
    control.type = kTestType;
    control.name = "控件";
    control.left = 10;
    control.top = 20;
    control.width = 100;
    control.height = 30;
    control.events = {{0, Slot(2)}, {5, -1}, {-11, Slot(4)}};
    control.attributeBlock = {12, 0, 0, 0, 0, 0, 0, 0, 7};
    main.elements.push_back(control);
    Element menu;
    menu.id = kMenu;
    menu.type = Tag::kMenuEntry;
    menu.menu = true;
    menu.level = 0;
    menu.menuFlags = kMenuHidden;
    menu.text = "菜单";
    main.elements.push_back(menu);
    Element item = menu;
    item.id = kMenuItem;
    item.level = 1;
    item.menuFlags = 0;
    item.text = "打开";
    item.hotKey = VK_F5;
    item.clickOffset = Slot(3);
    main.elements.push_back(item);

    segment::Window second;
    second.id = kSecond;
    second.options.border = 0;
    Element secondSelf = self;
    secondSelf.id = kSecondSelf;
    secondSelf.name = "第二";
    secondSelf.flags = 0;  // not shown
    secondSelf.events = {{0, Slot(5)}};
    second.elements.push_back(secondSelf);
    Element secondControl = control;
    secondControl.id = kSecondControl;
    secondControl.left = 7;
    secondControl.top = 8;
    secondControl.width = 9;
    secondControl.height = 10;
    secondControl.tag = "标签";
    secondControl.events.clear();
    second.elements.push_back(secondControl);

    segment::Window tooNew = second;
    tooNew.id = kTooNew;
    tooNew.options.version = 7;
    tooNew.elements[0].id = 0x06000003;

    segment::Window owned = second;
    owned.id = kOwned;
    owned.options.taskbarButton = false;
    owned.options.startPosition = 1;
    owned.options.alwaysOnTop = true;
    owned.elements[0].id = 0x06000004;
    owned.elements[0].flags = 1;
    owned.elements[0].events.clear();
    owned.elements.resize(1);
    segment::Window selfClosing = owned;
    selfClosing.id = kSelfClosing;
    selfClosing.elements[0].id = 0x06000005;
    selfClosing.elements[0].events = {{0, Slot(6)}, {3, Slot(7)}, {4, Slot(7)}};
    return segment::Segment({main, second, tooNew, owned, selfClosing});
}

std::vector<uint8_t> gSegment;
ProgramImageHeader gHeader{};

struct Reported : std::runtime_error {
    using std::runtime_error::runtime_error;
};
void ThrowingHook(const char* text, int32_t) {
    throw Reported(text);
}

// The runtime error a call reports ("" when none).
template <typename F>
std::string ErrorOf(F call) {
    try {
        call();
    } catch (const Reported& r) {
        return r.what();
    }
    return "";
}
bool Mentions(const std::string& text, const char* message) {
    return text.find(message) != std::string::npos;
}

void Pump() {
    ResultRecord r{};
    CmdProcessEvents(&r, 0, nullptr);
}

bool LoadByCommand(uint32_t windowId, uint32_t parentId = 0) {
    ArgumentRecord args[2] = {ArgComponent(Tag::kWindow, windowId, 0), ArgOmitted()};
    if (parentId) args[1] = ArgComponent(Tag::kWindow, parentId, 0);
    ResultRecord result{};
    CmdLoadWindow(&result, parentId ? 2 : 1, args);
    return result.AsInt() != 0;
}

class WindowRuntime : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        gSegment = BuildSegment();
        gHeader.buildMode = 3;
        gHeader.codeBase = kHandlers;
        gHeader.uiSegment = gSegment.data();
        gHeader.uiSegmentSize = static_cast<uint32_t>(gSegment.size());
        gHeader.supportLibraryCount = 2;
        gHeader.supportLibraries = kLibraries;
        SetProgramHeader(&gHeader);
        SetRuntimeErrorHook(ThrowingHook);
        InitializeRuntime();
        gCloseAnswer = CloseAnswer::KeepOpen;
        ASSERT_TRUE(LoadByCommand(kMain));
    }
};

TEST_F(WindowRuntime, InitialisationRecordsTheRunDirectoryAndHiddenOwner) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string module = path;
    size_t slash = module.rfind('\\');
    EXPECT_EQ(std::string(RuntimeRunDirectory()), module.substr(0, slash));
    EXPECT_EQ(std::string(RuntimeExecutableName()), module.substr(slash + 1));
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(std::string(current), module.substr(0, slash));
    HWND owner = RuntimeHiddenOwnerWindow();
    ASSERT_TRUE(IsWindow(owner));
    char cls[64];
    GetClassNameA(owner, cls, sizeof cls);
    EXPECT_STREQ(cls, "_QX_HideOwner");
    EXPECT_TRUE(GetWindowLongPtrA(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(RuntimeGuiThreadId(), GetCurrentThreadId());
}

TEST_F(WindowRuntime, LoadingCreatesComponentsWithEventsSuspended) {
    EXPECT_EQ(gSeen.mainCreated, 1);
    EXPECT_TRUE(gSeen.mainExistedAtCreation);
    ASSERT_GE(gCreated.size(), 1u);
    const Created& c = gCreated[0];
    EXPECT_EQ(c.eventsDuringCreation, 0);  // no handler while the window is built
    EXPECT_EQ(c.args.controlId, 100u);
    EXPECT_EQ(c.args.windowId, kMain);
    EXPECT_EQ(c.args.componentId, kControl);
    EXPECT_EQ(c.attributes, (std::vector<uint8_t>{12, 0, 0, 0, 0, 0, 0, 0, 7}));
    HWND main = LiveHandleOf(kMain, 0);
    ASSERT_TRUE(main);
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_EQ(GetMenu(main), nullptr);  // the only top-level entry is hidden
    LONG_PTR style = GetWindowLongPtrA(main, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);  // border 2: fixed frame with caption
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(GetWindowLongPtrA(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetParent(LiveHandleOf(kMain, kControl)), main);
    // A second load activates the window and raises no second creation event.
    EXPECT_TRUE(LoadByCommand(kMain));
    EXPECT_EQ(gSeen.mainCreated, 1);
}

TEST_F(WindowRuntime, LoadRefusesMissingParentAndUnreadableOptions) {
    EXPECT_FALSE(LoadByCommand(kSecond, kOwned));  // parent not loaded
    EXPECT_EQ(LiveHandleOf(kSecond, 0), nullptr);
    EXPECT_EQ(gSeen.secondCreated, 0);
    EXPECT_FALSE(LoadByCommand(kTooNew));
    EXPECT_FALSE(LoadByCommand(kMissing));
    EXPECT_TRUE(Mentions(ErrorOf([] { LoadStartWindow(kMissing); }), "载入启动窗口失败"));
}

TEST_F(WindowRuntime, WindowClosedByItsCreationHandlerGetsNoFurtherEvents) {
    EXPECT_TRUE(LoadByCommand(kSelfClosing));
    EXPECT_EQ(LiveHandleOf(kSelfClosing, 0), nullptr);
    EXPECT_EQ(gSelfClosingMoved, 0);
}

TEST_F(WindowRuntime, ParentBecomesOwnerAndTaskbarlessWindowHangsOffHiddenOwner) {
    ASSERT_TRUE(LoadByCommand(kOwned));
    HWND owned = LiveHandleOf(kOwned, 0);
    EXPECT_EQ(GetWindow(owned, GW_OWNER), RuntimeHiddenOwnerWindow());
    EXPECT_TRUE(GetWindowLongPtrA(owned, GWL_EXSTYLE) & WS_EX_TOPMOST);
    LONG_PTR style = GetWindowLongPtrA(owned, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);  // border 0: no frame, no caption
    EXPECT_FALSE(style & WS_CAPTION);
    RECT r;
    GetWindowRect(owned, &r);  // start position 1: centred on the screen
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 300) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 200) / 2);
    ASSERT_TRUE(LoadByCommand(kSecond, kMain));
    HWND second = LiveHandleOf(kSecond, 0);
    EXPECT_EQ(GetWindow(second, GW_OWNER), LiveHandleOf(kMain, 0));
    EXPECT_FALSE(IsWindowVisible(second));  // its definition says hidden
    EXPECT_EQ(gSeen.secondCreated, 1);
    EXPECT_EQ(gCreated.back().args.controlId, 100u);
    DestroyWindow(second);
    DestroyWindow(LiveHandleOf(kOwned, 0));
    EXPECT_EQ(LiveHandleOf(kSecond, 0), nullptr);
}

// A window moved into a window of its own that then loads another window with
// itself as parent: the system makes the top-level host the owner, yet the
// loaded window still goes when the window that loaded it goes, and the loop
// is not left running for a window nobody can reach.
TEST_F(WindowRuntime, WindowsLoadedByADestroyedWindowGoWithIt) {
    HWND host = CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(host, nullptr);
    ASSERT_TRUE(LoadByCommand(kOwned));
    HWND loader = LiveHandleOf(kOwned, 0);
    SetWindowLongPtrA(loader, GWL_STYLE,
                      (GetWindowLongPtrA(loader, GWL_STYLE) & ~WS_POPUP) | WS_CHILD);
    SetParent(loader, host);
    ASSERT_TRUE(LoadByCommand(kSecond, kOwned));
    HWND loaded = LiveHandleOf(kSecond, 0);
    ASSERT_NE(loaded, nullptr);
    EXPECT_NE(GetWindow(loaded, GW_OWNER), loader) << "the host, not the loader, owns it";

    DestroyWindow(loader);
    EXPECT_FALSE(IsWindow(loaded));
    EXPECT_EQ(LiveHandleOf(kSecond, 0), nullptr);
    EXPECT_TRUE(IsWindow(host)) << "the host is not the runtime's to destroy";
    DestroyWindow(host);
}

TEST_F(WindowRuntime, DispatchCallsBoundHandlersOnly) {
    int before = gSeen.controlEvents;
    int32_t args[] = {7, 8};
    EventRecord r = RaiseEvent(kMain, kControl, 0, args, 2);
    EXPECT_EQ(gSeen.controlEvents, before + 1);
    EXPECT_EQ(gSeen.lastCount, 2);
    EXPECT_EQ(gSeen.lastArgs[0], 7);
    EXPECT_EQ(gSeen.lastArgs[1], 8);
    EXPECT_EQ(gSeen.sourceWindow, kMain);
    EXPECT_EQ(gSeen.sourceComponent, kControl);
    EXPECT_EQ(r.resultGiven, 0u);
    uint32_t w = 1, c = 1;
    CurrentEventSource(&w, &c);
    EXPECT_EQ(w, 0u);
    EXPECT_EQ(c, 0u);
    // Offset -1 and an unbound number call nothing and leave no result.
    r = RaiseEvent(kMain, kControl, 5);
    EXPECT_EQ(r.resultGiven, 0u);
    r = RaiseEvent(kMain, kControl, 9);
    EXPECT_EQ(r.resultGiven, 0u);
    EXPECT_EQ(gSeen.controlEvents, before + 1);
    // Nothing is called while events are suspended.
    SuspendEvents();
    RaiseEvent(kMain, kControl, 0);
    ResumeEvents();
    EXPECT_EQ(gSeen.controlEvents, before + 1);
}

TEST_F(WindowRuntime, DispatchReportsUnknownSources) {
    EXPECT_TRUE(
        Mentions(ErrorOf([] { RaiseEvent(kMissing, kControl, 0); }), "未找到引发事件的窗口"));
    EXPECT_TRUE(
        Mentions(ErrorOf([] { RaiseEvent(kMain, 0x16000999, 0); }), "未找到引发事件的窗口组件"));
}

TEST_F(WindowRuntime, CharacterEventReplacesOrSwallows) {
    HWND control = LiveHandleOf(kMain, kControl);
    gCharsSeen.clear();
    PostMessageA(control, WM_CHAR, 'a', 0);
    PostMessageA(control, WM_CHAR, 'x', 0);
    PostMessageA(control, WM_CHAR, 'q', 0);
    Pump();
    EXPECT_EQ(gCharsSeen, (std::vector<WPARAM>{'b', 'q'}));
}

TEST_F(WindowRuntime, ProcessEventsLeavesQuitQueued) {
    PostQuitMessage(5);
    Pump();
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 5u);
}

TEST_F(WindowRuntime, MenusComeFromTheDefinitions) {
    const WindowDefinition* main = FindWindowDefinition(kMain);
    EXPECT_EQ(BuildMenuBar(*main), nullptr);
    HMENU popup = BuildPopUpMenu(*main, kMenu);
    ASSERT_TRUE(popup);
    EXPECT_EQ(GetMenuItemCount(popup), 1);
    char text[32] = {};
    GetMenuStringA(popup, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "打开");
    UINT id = GetMenuItemID(popup, 0);
    DestroyMenu(popup);
    EXPECT_EQ(BuildPopUpMenu(*main, kMenuItem), nullptr);  // no items below it
    EXPECT_EQ(BuildPopUpMenu(*main, kControl), nullptr);
    // The choice reaches the item's click handler through the owner window.
    int before = gSeen.menuClicks;
    SendMessageA(LiveHandleOf(kMain, 0), WM_COMMAND, id, 0);
    EXPECT_EQ(gSeen.menuClicks, before + 1);
    // So does the item's hot key, pressed in the window or one of its controls.
    PostMessageA(LiveHandleOf(kMain, kControl), WM_KEYDOWN, VK_F5, 0);
    Pump();
    EXPECT_EQ(gSeen.menuClicks, before + 2);
}

// Picks the first item of the pop-up menu once it is open, and notes where
// it opened.
DWORD WINAPI ChooseFirstMenuItem(void* where) {
    for (int i = 0; i < 500; ++i) {
        HWND menu = FindWindowA("#32768", nullptr);
        if (menu && IsWindowVisible(menu)) {
            GetWindowRect(menu, static_cast<RECT*>(where));
            PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
            return 1;
        }
        Sleep(10);
    }
    return 0;
}

// Pops up the main window's menu and picks its first item; where it opened.
RECT PopUpAndChoose(ArgumentRecord* args, int32_t count) {
    SetForegroundWindow(LiveHandleOf(kMain, 0));
    RECT where{};
    HANDLE chooser = CreateThread(nullptr, 0, ChooseFirstMenuItem, &where, 0, nullptr);
    ResultRecord result{};
    CmdPopUpMenu(&result, count, args);
    WaitForSingleObject(chooser, 10000);
    DWORD found = 0;
    GetExitCodeThread(chooser, &found);
    CloseHandle(chooser);
    EXPECT_EQ(found, 1u);
    return where;
}

TEST_F(WindowRuntime, PopUpMenuChoiceReachesTheClickHandler) {
    int before = gSeen.menuClicks;
    ArgumentRecord args[4] = {ArgComponent(Tag::kWindow, kMain, 0),
                              ArgComponent(Tag::kMenuEntry, kMain, kMenu), ArgInt(200),
                              ArgInt(150)};
    RECT where = PopUpAndChoose(args, 4);
    EXPECT_EQ(where.left, 200);
    EXPECT_EQ(where.top, 150);
    Pump();
    EXPECT_EQ(gSeen.menuClicks, before + 1);
    // Without a position the menu opens 3 pixels right of and below the pointer.
    SetCursorPos(300, 250);
    POINT pointer;
    GetCursorPos(&pointer);
    where = PopUpAndChoose(args, 2);
    EXPECT_EQ(where.left, pointer.x + 3);
    EXPECT_EQ(where.top, pointer.y + 3);
    Pump();
    EXPECT_EQ(gSeen.menuClicks, before + 2);
}

TEST_F(WindowRuntime, CommonPropertiesLiveAndFromTheDefinition) {
    // Not loaded: the definition's values, clamped when written.
    EXPECT_EQ(ReadIntProperty(kSecond, kSecondControl, kPropLeft), 7);
    EXPECT_EQ(ReadIntProperty(kSecond, kSecondControl, kPropHeight), 10);
    WriteIntProperty(kSecond, kSecondControl, kPropLeft, 40000);
    EXPECT_EQ(ReadIntProperty(kSecond, kSecondControl, kPropLeft), 32627);
    WriteIntProperty(kSecond, kSecondControl, kPropTop, -40000);
    EXPECT_EQ(ReadIntProperty(kSecond, kSecondControl, kPropTop), -32627);
    WriteIntProperty(kSecond, kSecondControl, kPropWidth, -5);
    EXPECT_EQ(ReadIntProperty(kSecond, kSecondControl, kPropWidth), 0);
    WriteIntProperty(kSecond, kSecondControl, kPropHeight, 99999);
    EXPECT_EQ(ReadIntProperty(kSecond, kSecondControl, kPropHeight), 32627);
    char* tag = reinterpret_cast<char*>(
        static_cast<intptr_t>(ReadProperty(kSecond, kSecondControl, kPropTag)));
    ASSERT_TRUE(tag);
    EXPECT_STREQ(tag, "标签");
    FreeBlock(tag);

    // Loaded: the live window, and writes move it.
    EXPECT_EQ(ReadIntProperty(kMain, kControl, kPropLeft), 10);
    EXPECT_EQ(ReadIntProperty(kMain, kControl, kPropTop), 20);
    EXPECT_EQ(ReadIntProperty(kMain, kControl, kPropWidth), 100);
    WriteIntProperty(kMain, kControl, kPropLeft, 33);
    WriteIntProperty(kMain, kControl, kPropHeight, 44);
    RECT r;
    HWND control = LiveHandleOf(kMain, kControl);
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, LiveHandleOf(kMain, 0), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 33);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.bottom - r.top, 44);
    EXPECT_EQ(r.right - r.left, 100);
    EXPECT_EQ(ReadIntProperty(kMain, kControl, kPropLeft), 33);
    // The window itself in screen coordinates.
    WriteIntProperty(kMain, kMainSelf, kPropLeft, 150);
    GetWindowRect(LiveHandleOf(kMain, 0), &r);
    EXPECT_EQ(r.left, 150);
    EXPECT_EQ(ReadIntProperty(kMain, kMainSelf, kPropLeft), 150);
    WriteIntProperty(kMain, kControl, kPropDisabled, 1);
    EXPECT_FALSE(IsWindowEnabled(control));
    EXPECT_EQ(ReadIntProperty(kMain, kControl, kPropDisabled), 1);
    WriteIntProperty(kMain, kControl, kPropDisabled, 0);
    WriteIntProperty(kMain, kControl, kPropShown, 0);
    EXPECT_FALSE(IsWindowVisible(control));
    WriteIntProperty(kMain, kControl, kPropShown, 1);
    EXPECT_TRUE(IsWindowVisible(control));
}

DWORD WINAPI MoveFromWorker(void* readBack) {
    WriteIntProperty(kMain, kMainSelf, kPropLeft, 210);
    *static_cast<int32_t*>(readBack) = ReadIntProperty(kMain, kMainSelf, kPropLeft) +
                                       ReadIntProperty(kMain, kMainSelf, kPropWidth);
    return 0;
}

TEST_F(WindowRuntime, GeometryFromAWorkerThread) {
    int32_t readBack = 0;
    HANDLE worker = CreateThread(nullptr, 0, MoveFromWorker, &readBack, 0, nullptr);
    // The GUI thread keeps handling messages while the worker moves its window.
    while (MsgWaitForMultipleObjects(1, &worker, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        Pump();
    }
    CloseHandle(worker);
    EXPECT_EQ(readBack, 210 + 300);
    RECT r;
    GetWindowRect(LiveHandleOf(kMain, 0), &r);
    EXPECT_EQ(r.left, 210);
    EXPECT_EQ(FindElement(FindWindowDefinition(kMain), kMainSelf)->left, 210);
}

TEST_F(WindowRuntime, PropertyErrorsAndTypeProperties) {
    EXPECT_TRUE(Mentions(ErrorOf([] { ReadIntProperty(kMissing, kControl, 0); }),
                         "未载入欲访问窗口组件所在的窗口"));
    EXPECT_TRUE(Mentions(ErrorOf([] { WriteIntProperty(kMissing, kControl, 0, 1); }),
                         "未载入欲访问窗口组件所在的窗口"));
    std::string report = ErrorOf([] { ReadIntProperty(kSecond, kSecondControl, 8); });
    EXPECT_TRUE(Mentions(report, "读取组件属性时发现指定窗口尚未载入"));
    // The report names the window and the component from the definitions.
    EXPECT_TRUE(Mentions(report, "\"第二\"")) << report;
    EXPECT_TRUE(Mentions(report, "\"控件\"")) << report;
    EXPECT_TRUE(Mentions(ErrorOf([] { WriteIntProperty(kSecond, kSecondControl, 10, 1); }),
                         "修改组件属性时发现指定窗口尚未载入"));
    // Through the element type: index - 8.
    WriteIntProperty(kMain, kControl, 10, 30);
    EXPECT_EQ(gTypeProperties[2], 30);
    EXPECT_EQ(ReadIntProperty(kMain, kControl, 10), 1030);
}

TEST_F(WindowRuntime, NotificationsForLibraries) {
    RuntimeWindowObject object = gNotify(kNotifyFindComponent, kMain, kControl, 0);
    EXPECT_EQ(WindowObjectHandle(object), LiveHandleOf(kMain, kControl));
    EXPECT_EQ(WindowObjectHandle(gNotify(kNotifyFindComponent, kMain, kMainSelf, 0)),
              LiveHandleOf(kMain, 0));
    EXPECT_TRUE(Mentions(ErrorOf([] { gNotify(kNotifyFindComponent, kSecond, kSecondControl, 0); }),
                         "指定窗口或窗口组件不存在或尚未载入"));
    ArgumentRecord arg = ArgComponent(kTestType, kSecond, kSecondControl);
    ResultRecord result{};
    EXPECT_TRUE(Mentions(ErrorOf([&] { CmdWindowHandleOf(&result, 1, &arg); }),
                         "指定窗口或窗口组件不存在或尚未载入"));
    arg = ArgComponent(kTestType, kMain, kControl);
    CmdWindowHandleOf(&result, 1, &arg);
    EXPECT_EQ(reinterpret_cast<HWND>(static_cast<intptr_t>(result.AsInt64())),
              LiveHandleOf(kMain, kControl));
    // A library deletes and then detaches: the stale object is recognised.
    RuntimeWindowObject spare =
        gNotify(kNotifyMakeWindowObject, reinterpret_cast<intptr_t>(GetDesktopWindow()), 0, 0);
    gNotify(kNotifyDeleteWindowObject, spare, 0, 0);
    gNotify(kNotifyDetachWindowObject, spare, 0, 0);
    EXPECT_EQ(WindowObjectHandle(spare), nullptr);
}

// Runs last in the suite (gtest keeps declaration order): it closes the window.
TEST_F(WindowRuntime, ZMayCloseKeepsTheWindowOpenOnlyOnAReportedZero) {
    HWND main = LiveHandleOf(kMain, 0);
    gCloseAnswer = CloseAnswer::KeepOpen;
    SendMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(main));
    // The session's end is not a request to close: it is never refused.
    EXPECT_EQ(SendMessageA(main, WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_TRUE(IsWindow(main));
    gCloseAnswer = CloseAnswer::Unreported;
    SendMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(LiveHandleOf(kMain, kControl), nullptr);
    EXPECT_FALSE(AnyLiveWindow());
    // The loop was never entered: nothing asks the program to end.
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
