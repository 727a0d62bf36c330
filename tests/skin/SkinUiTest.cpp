// SkinUi against the recording engine and a fake runtime: creation, event
// translation, property access, commands, teardown, and a missing or
// incomplete engine.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/library/Commands.h"
#include "runtime/process/Runtime.h"
#include "tests/skin/FakeRuntime.h"
#include "tests/skin/SkinTestSupport.h"
#include "ui/skin/SkinCommands.h"
#include "ui/skin/SkinControls.h"
#include "ui/skin/SkinControls.h"
#include "ui/skin/SkinEngineLoader.h"
#include "ui/skin/SkinUiLibrary.h"

using namespace skin_test;

namespace {

constexpr uint32_t kDock = 0x52010001;
constexpr uint32_t kPanel = 0x52012C96;
constexpr uint32_t kDockSkinRoot = 0x16012C7F;
constexpr uint32_t kDockFace = 0x16012C81;
constexpr uint32_t kToolbar = 0x16012D4A;
constexpr uint32_t kSampleList = 0x16012E42;
constexpr uint32_t kIconList = 0x16012DC1;

constexpr int kWindowEx = 1, kPictureBoxEx = 5, kToolbarEx = 18, kListboxEx = 19,
              kIcoListboxEx = 20;

ResultRecord RunCommand(SkinCommand command, std::vector<ArgumentRecord> args) {
    ResultRecord result{};
    args.push_back(ArgumentRecord{});
    SkinUiLibrary().commands[static_cast<int>(command)](
        &result, static_cast<int32_t>(args.size() - 1), args.data());
    return result;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

int CountPrefix(const std::vector<std::string>& lines, const std::string& prefix) {
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
        return l.compare(0, prefix.size(), prefix) == 0;
    }));
}

class WithRecordingEngine : public ::testing::Test {
  protected:
    void SetUp() override {
        fake_runtime::Reset();
        StartSkinUiIn(RecordingEngineFolder());
        engine_ = RecordingEngine(RecordingEngineFolder());
        ASSERT_TRUE(engine_.Present())
            << "recording engine not loaded from " << RecordingEngineFolder();
        engine_.Clear();
        engine_.SetCreationEvent(0);
        parent_ = CreateParentWindow();
    }
    void TearDown() override {
        if (IsWindow(parent_)) DestroyWindow(parent_);
    }

    CurrentDirectoryGuard directory_;
    RecordingEngine engine_{""};
    HWND parent_ = nullptr;
};

TEST_F(WithRecordingEngine, LibraryIdentityAndTypeTable) {
    const SupportLibrary& lib = SkinUiLibrary();
    EXPECT_STREQ(lib.identifier, "3F7A19C2D8E44B05A6C1E29B7D30F586");
    EXPECT_STREQ(lib.name, "SKINUI20210101");
    EXPECT_EQ(lib.versionMajor, 2021);
    EXPECT_EQ(lib.versionMinor, 1);
    EXPECT_EQ(lib.versionBuild, 1);
    EXPECT_EQ(lib.commandCount, 9);
    EXPECT_EQ(lib.declaredTypeCount, 35);
    struct Expected {
        int number;
        uint32_t id;
        const char* name;
        int32_t properties;
    } expected[] = {{1, 0x00020001, "WindowEx", 29},
                    {5, 0x00020005, "PictureBoxEx", 25},
                    {18, 0x00020012, "ToolbarEx", 25},
                    {19, 0x00020013, "ListboxEx", 25},
                    {20, 0x00020014, "IcoListboxEx", 30}};
    int filled = 0;
    for (int i = 0; i < lib.declaredTypeCount; ++i) filled += lib.types[i] != nullptr;
    EXPECT_EQ(filled, 5);
    for (const Expected& e : expected) {
        const ComponentType* type = lib.types[e.number - 1];
        ASSERT_NE(type, nullptr) << e.name;
        EXPECT_EQ(type->typeId, e.id);
        EXPECT_STREQ(type->name, e.name);
        EXPECT_EQ(type->propertyCount, e.properties);
        EXPECT_TRUE(type->raisesEvents);
    }
    // Only code 1 is answered; everything else is refused.
    EXPECT_EQ(lib.notify(kLibraryNotifyEnd, 0, 0), -1);
    EXPECT_EQ(lib.notify(1007, 0, 0), -1);
}

TEST_F(WithRecordingEngine, CreationBuildsWrapperAndEngineControl) {
    uint8_t attributes[16] = {12, 0, 0, 0, 3, 0, 0, 0};
    RuntimeWindowObject object = CreateSkinControl(
        kWindowEx, parent_, kDock, kDockSkinRoot, attributes, sizeof attributes, 4, 5, 24, 26, 110);
    ASSERT_NE(object, 0);
    HWND wrapper = WindowObjectHandle(object);
    ASSERT_TRUE(IsWindow(wrapper));

    char className[64] = {};
    int length = GetClassNameA(wrapper, className, sizeof className);
    EXPECT_EQ(length, 10);
    EXPECT_STREQ(className, "\"WindowEx\"");
    EXPECT_EQ(GetParent(wrapper), parent_);
    EXPECT_EQ(GetDlgCtrlID(wrapper), 110);
    EXPECT_TRUE(GetWindowLongPtrA(wrapper, GWL_STYLE) & WS_CHILD);
    EXPECT_TRUE(GetWindowLongPtrA(wrapper, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    EXPECT_EQ(reinterpret_cast<RuntimeWindowObject>(GetPropA(wrapper, "hUnit")), object);
    EXPECT_EQ(reinterpret_cast<intptr_t>(GetPropA(wrapper, "PageId_F")), 3);

    char line[256];
    std::snprintf(line, sizeof line,
                  "CreateControl_WindowEx reserved=0 4,5,24,26 ctx=16012C7F/52010001/11 "
                  "wrapper-in-parent=1 attr=%llx zeros=1",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(attributes)));
    auto lines = engine_.Lines();
    EXPECT_TRUE(Contains(lines, line)) << line;
    EXPECT_EQ(CountPrefix(lines, "CreateControl_"), 1);
    EXPECT_NE(EngineControlOf(object), 0);

    // The other classes carry the plain type name; a block too short for a
    // page word, like one on no page, leaves "PageId_F" unset.
    uint8_t shortBlock[6] = {12, 0, 0, 0, 9, 9};
    HWND list = WindowObjectHandle(
        CreateSkinControl(kListboxEx, parent_, kPanel, kSampleList, shortBlock, sizeof shortBlock));
    GetClassNameA(list, className, sizeof className);
    EXPECT_STREQ(className, "ListboxEx");
    EXPECT_EQ(GetPropA(list, "PageId_F"), nullptr);
}

TEST_F(WithRecordingEngine, EngineCodesBecomeEventsOfTheType) {
    struct {
        int number;
        uint32_t component;
        int32_t code;
        int32_t event;
    } cases[] = {
        {kToolbarEx, kToolbar, 660, 10},     {kListboxEx, kSampleList, 660, 10},
        {kIcoListboxEx, kIconList, 660, 10}, {kWindowEx, kDockSkinRoot, 660, 11},
        {kPictureBoxEx, kDockFace, 660, 0},  {kToolbarEx, kToolbar, 650, 0},
        {kListboxEx, kSampleList, 650, 0},   {kIcoListboxEx, kIconList, 650, 0},
        {kWindowEx, kDockSkinRoot, 669, 20}, {kIcoListboxEx, kIconList, 665, 15},
        {kListboxEx, kSampleList, 656, 6},   {kToolbarEx, kToolbar, 699, 49},
    };
    for (const auto& c : cases) {
        fake_runtime::Reset();
        RuntimeWindowObject object = CreateSkinControl(c.number, parent_, kPanel, c.component);
        engine_.Fire(EngineControlOf(object), c.code, 7, -8, 9, 10);
        ASSERT_EQ(fake_runtime::Events().size(), 1u) << "code " << c.code;
        const EventRecord& e = fake_runtime::Events()[0];
        EXPECT_EQ(e.windowId, kPanel);
        EXPECT_EQ(e.componentId, c.component);
        EXPECT_EQ(e.event, c.event) << "type " << c.number << " code " << c.code;
        EXPECT_EQ(e.argumentCount, 4u);
        EXPECT_EQ(e.arguments[0], 7);
        EXPECT_EQ(e.arguments[1], -8);
        EXPECT_EQ(e.arguments[2], 9);
        EXPECT_EQ(e.arguments[3], 10);
        DestroyWindow(WindowObjectHandle(object));
    }
}

TEST_F(WithRecordingEngine, CodesFromSevenHundredRaiseNothing) {
    RuntimeWindowObject object = CreateSkinControl(kToolbarEx, parent_, kPanel, kToolbar);
    fake_runtime::SetHandlerResult(true, 5);
    for (int32_t code : {700, 701, 1000, 0x7FFFFFFF}) {
        EXPECT_EQ(engine_.Fire(EngineControlOf(object), code, 1), 0);
    }
    EXPECT_TRUE(fake_runtime::Events().empty());
}

TEST_F(WithRecordingEngine, HandlerResultGoesBackToTheEngine) {
    EngineControl control =
        EngineControlOf(CreateSkinControl(kWindowEx, parent_, kDock, kDockSkinRoot));
    fake_runtime::SetHandlerResult(true, 1234);
    EXPECT_EQ(engine_.Fire(control, 669, 1), 1234);
    fake_runtime::SetHandlerResult(true, 0);
    EXPECT_EQ(engine_.Fire(control, 669, 1), 0);
    // A handler that reports nothing leaves the engine 0.
    fake_runtime::SetHandlerResult(false, 0);
    EXPECT_EQ(engine_.Fire(control, 669, 0), 0);
    EXPECT_EQ(fake_runtime::Events().size(), 3u);
}

TEST_F(WithRecordingEngine, EventsRaisedDuringCreationReachTheRuntime) {
    engine_.SetCreationEvent(669);
    CreateSkinControl(kWindowEx, parent_, kDock, kDockSkinRoot);
    engine_.SetCreationEvent(0);
    ASSERT_EQ(fake_runtime::Events().size(), 1u);
    EXPECT_EQ(fake_runtime::Events()[0].componentId, kDockSkinRoot);
    EXPECT_EQ(fake_runtime::Events()[0].event, 20);
}

TEST_F(WithRecordingEngine, PropertiesPassThroughTheEngine) {
    RuntimeWindowObject object = CreateSkinControl(kWindowEx, parent_, kDock, kDockSkinRoot);
    const ComponentType& type = SkinType(kWindowEx);
    engine_.Clear();

    int64_t value = 30;
    EXPECT_EQ(type.propertyWritten(object, 2, &value), 41);
    int64_t read = -1;
    EXPECT_EQ(type.readProperty(object, 2, &read), 42);
    EXPECT_EQ(read, 30);
    EXPECT_EQ(engine_.Lines(),
              (std::vector<std::string>{"ControlSendMessage 16012C7F set index=2 value=30 zeros=1",
                                        "ControlSendMessage 16012C7F get index=2"}));
    // No object at all: the read answers 1 and reaches no engine.
    engine_.Clear();
    EXPECT_EQ(type.readProperty(0, 2, &read), 1);
    EXPECT_TRUE(engine_.Lines().empty());
}

TEST_F(WithRecordingEngine, AttributeBlockCopiesTheEngineAnswer) {
    RuntimeWindowObject object = CreateSkinControl(kListboxEx, parent_, kPanel, kSampleList);
    const ComponentType& type = SkinType(kListboxEx);

    engine_.SetBlockAnswer(3, 5, false);
    HGLOBAL block = type.attributeBlock(object);
    ASSERT_NE(block, nullptr);
    ASSERT_EQ(GlobalSize(block), 13u);
    EXPECT_TRUE(GlobalFlags(block) != GMEM_INVALID_HANDLE);
    auto* bytes = static_cast<const uint8_t*>(GlobalLock(block));
    int32_t words[2];
    std::memcpy(words, bytes, 8);
    EXPECT_EQ(words[0], 12);
    EXPECT_EQ(words[1], 3);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(bytes[8 + i], 0xA0 + i);
    GlobalUnlock(block);
    GlobalFree(block);

    engine_.SetBlockAnswer(0, 2, false);
    block = type.attributeBlock(object);
    ASSERT_NE(block, nullptr);
    std::memcpy(words, GlobalLock(block), 8);
    EXPECT_EQ(words[1], 0);
    GlobalUnlock(block);
    GlobalFree(block);

    // An empty, negative or missing answer gives no block.
    engine_.SetBlockAnswer(1, 0, false);
    EXPECT_EQ(type.attributeBlock(object), nullptr);
    engine_.SetBlockAnswer(1, -4, false);
    EXPECT_EQ(type.attributeBlock(object), nullptr);
    engine_.SetBlockAnswer(1, 4, true);
    EXPECT_EQ(type.attributeBlock(object), nullptr);
}

TEST_F(WithRecordingEngine, MovesAndSizesFollowTheEngine) {
    HWND wrapper = WindowObjectHandle(CreateSkinControl(kToolbarEx, parent_, kPanel, kToolbar));
    engine_.Clear();
    SetWindowPos(wrapper, nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(wrapper, nullptr, 0, 0, 50, 60, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    auto lines = engine_.Lines();
    EXPECT_TRUE(Contains(lines, "ControPonintSizeSynchronise 16012D4A mode=0"));
    EXPECT_TRUE(Contains(lines, "ControPonintSizeSynchronise 16012D4A mode=1"));
    EXPECT_EQ(SendMessageA(wrapper, WM_ERASEBKGND, 0, 0), 1);
}

TEST_F(WithRecordingEngine, CommandsReachTheEngineWithTheProgramsValues) {
    CreateSkinControl(kToolbarEx, parent_, kPanel, kToolbar);
    CreateSkinControl(kIcoListboxEx, parent_, kPanel, kIconList);
    engine_.Clear();
    const TypeTag toolbarTag = 0x00020012, listTag = 0x00020014;
    ArgumentRecord toolbar = ArgComponent(toolbarTag, kPanel, kToolbar);
    ArgumentRecord list = ArgComponent(listTag, kPanel, kIconList);

    // As the category scan inserts a button.
    RunCommand(SkinCommand::InsertButton_ToolbarEx,
               {toolbar, ArgInt(3), ArgInt(0), ArgOmitted(), ArgText("常用"), ArgOmitted(),
                ArgInt(32), ArgInt(0), ArgInt(1), ArgOmitted(), ArgBool(false)});
    EXPECT_EQ(RunCommand(SkinCommand::GetButtonCount_ToolbarEx, {toolbar}).AsInt(), 1);
    RunCommand(SkinCommand::SetButtonSelected_ToolbarEx, {toolbar, ArgInt(0), ArgBool(true)});
    // As the icon list is refilled.
    RunCommand(SkinCommand::DeleteItem_IcoListboxEx, {list, ArgInt(-1), ArgInt(0)});
    uint8_t png[12] = {0x89, 'P', 'N', 'G'};
    ByteSetHeader* set = reinterpret_cast<ByteSetHeader*>(new uint8_t[sizeof(ByteSetHeader) + 12]);
    set->dimensions = 1;
    set->length = 12;
    std::memcpy(set + 1, png, 12);
    int32_t image = RunCommand(SkinCommand::LoadImageEx, {ArgByteSet(set)}).AsInt();
    delete[] reinterpret_cast<uint8_t*>(set);
    EXPECT_EQ(image, 0x501);
    ResultRecord inserted = RunCommand(SkinCommand::InsertItem_IcoListboxEx,
                                       {list, ArgInt(-1), ArgInt(1), ArgOmitted(), ArgInt(image),
                                        ArgText("记事本"), ArgOmitted()});
    EXPECT_EQ(inserted.AsInt(), 0);
    EXPECT_EQ(inserted.tag, Tag::kInteger);
    EXPECT_EQ(RunCommand(SkinCommand::ControlUpdateCache, {}).AsInt(), 7);
    RunCommand(SkinCommand::DestroyImageEx, {ArgInt(image)});

    EXPECT_EQ(engine_.Lines(),
              (std::vector<std::string>{
                  "CreateBinEx title=常用 marker=-4 values=0,32,0,1,0,0",
                  "InsertButton_ToolbarEx 16012D4A position=3 values=0,0 bin=1",
                  "GetButtonCount_ToolbarEx 16012D4A",
                  "SetButtonSelected_ToolbarEx 16012D4A index=0 selected=1",
                  "DeleteItem_IcoListboxEx 16012DC1 index=-1 value=0",
                  "LoadImageEx length=12 values=0,0,0,0,0,0,0",
                  "CreateBinEx title=记事本 marker=-4 values=0,0,0,0,0,0",
                  "InsertItem_IcoListboxEx 16012DC1 position=-1 values=1,0 image=1281 bin=2",
                  "ControlUpdateCache",
                  "DestroyImageEx 1281",
              }));
}

TEST_F(WithRecordingEngine, CommandsWithoutResultLeaveItEmpty) {
    CreateSkinControl(kToolbarEx, parent_, kPanel, kToolbar);
    ArgumentRecord toolbar = ArgComponent(0x00020012, kPanel, kToolbar);
    ResultRecord r =
        RunCommand(SkinCommand::SetButtonSelected_ToolbarEx, {toolbar, ArgInt(0), ArgBool(true)});
    EXPECT_EQ(r.tag, Tag::kOmitted);
    EXPECT_EQ(r.AsInt64(), 0);
    // A control the runtime does not know reaches no engine export.
    engine_.Clear();
    ArgumentRecord unknown = ArgComponent(0x00020012, kPanel, 0x16019999);
    EXPECT_EQ(RunCommand(SkinCommand::GetButtonCount_ToolbarEx, {unknown}).AsInt(), 0);
    RunCommand(SkinCommand::InsertButton_ToolbarEx,
               {unknown, ArgInt(1), ArgInt(0), ArgOmitted(), ArgText("x")});
    EXPECT_TRUE(engine_.Lines().empty());
}

TEST_F(WithRecordingEngine, DestroyingTheWrapperTearsDownOnce) {
    RuntimeWindowObject object = CreateSkinControl(kToolbarEx, parent_, kPanel, kToolbar);
    RuntimeWindowObject other = CreateSkinControl(kIcoListboxEx, parent_, kPanel, kIconList);
    EngineControl control = EngineControlOf(object);
    fake_runtime::ClearLog();
    engine_.Clear();

    DestroyWindow(parent_);

    const auto& log = fake_runtime::Log();
    int n1 = fake_runtime::ObjectOf(object)->number, n2 = fake_runtime::ObjectOf(other)->number;
    std::vector<std::string> expected;
    for (auto [number, component] :
         {std::pair<int, const char*>{n1, "16012D4A"}, {n2, "16012DC1"}}) {
        std::vector<std::string> forOne = {std::string("2000 52012C96 ") + component,
                                           "1008 #" + std::to_string(number),
                                           "1009 #" + std::to_string(number)};
        auto at = std::search(log.begin(), log.end(), forOne.begin(), forOne.end());
        EXPECT_NE(at, log.end()) << "teardown of " << component;
    }
    EXPECT_EQ(log.size(), 6u);
    for (const auto& line : log) EXPECT_EQ(line.find("FAULT"), std::string::npos) << line;
    auto lines = engine_.Lines();
    EXPECT_EQ(CountPrefix(lines, "ControlDestroy 16012D4A"), 1);
    EXPECT_EQ(CountPrefix(lines, "ControlDestroy 16012DC1"), 1);
    EXPECT_TRUE(Contains(lines, "ControlDestroy 16012D4A tab-destroy=1"));
    EXPECT_TRUE(fake_runtime::ObjectOf(object)->deleted);
    EXPECT_NE(control, 0);
}

// --- A missing engine ------------------------------------------------------

struct Box {
    std::string text, caption;
    UINT type;
    HWND owner;
};
std::vector<Box> gBoxes;
int CaptureBox(HWND owner, const char* text, const char* caption, UINT type) {
    gBoxes.push_back({text, caption, type, owner});
    return IDOK;
}
HMODULE LoadNothing(const char*) {
    return nullptr;
}

class WithoutEngine : public ::testing::Test {
  protected:
    void SetUp() override {
        gBoxes.clear();
        fake_runtime::Reset();
        SetSkinWarningBoxForTesting(CaptureBox);
        SetSkinLibraryLoaderForTesting(LoadNothing);
        StartSkinUiIn(folder_.Path());
        parent_ = CreateParentWindow();
    }
    void TearDown() override {
        if (IsWindow(parent_)) DestroyWindow(parent_);
        SetSkinWarningBoxForTesting(nullptr);
        SetSkinLibraryLoaderForTesting(nullptr);
    }
    CurrentDirectoryGuard directory_;
    TempFolder folder_;
    HWND parent_ = nullptr;
};

TEST_F(WithoutEngine, OneWarningPerControlAndTheProgramCarriesOn) {
    uint32_t id = 0x16010001;
    std::vector<RuntimeWindowObject> objects;
    for (int number :
         {kWindowEx, kPictureBoxEx, kToolbarEx, kListboxEx, kIcoListboxEx, kToolbarEx}) {
        objects.push_back(CreateSkinControl(number, parent_, kPanel, id++));
    }
    ASSERT_EQ(gBoxes.size(), 6u);
    for (const Box& box : gBoxes) {
        EXPECT_EQ(box.text, "程序缺少界面运行库必须依赖的 SkinEngine.dll 文件");
        EXPECT_EQ(box.caption, "Warning");
        EXPECT_EQ(box.type, static_cast<UINT>(MB_OK));
        EXPECT_EQ(box.owner, nullptr);
    }
    // The wrappers exist without engine controls; properties keep their
    // defaults and writes do nothing.
    for (RuntimeWindowObject object : objects) {
        HWND wrapper = WindowObjectHandle(object);
        EXPECT_TRUE(IsWindow(wrapper));
        EXPECT_EQ(GetPropA(wrapper, kEngineControlProperty), nullptr);
    }
    const ComponentType& type = SkinType(kWindowEx);
    int64_t value = 30;
    EXPECT_EQ(type.propertyWritten(objects[0], 2, &value), 0);
    int64_t read = 77;
    EXPECT_EQ(type.readProperty(objects[0], 2, &read), 0);
    EXPECT_EQ(read, 77);
    EXPECT_EQ(type.attributeBlock(objects[0]), nullptr);

    // Every command answers nothing.
    ArgumentRecord toolbar = ArgComponent(0x00020012, kPanel, 0x16010003);
    for (int c = 0; c < static_cast<int>(SkinCommand::Count); ++c) {
        ResultRecord r =
            RunCommand(static_cast<SkinCommand>(c),
                       {toolbar, ArgInt(-1), ArgInt(0), ArgInt(0), ArgInt(0), ArgText("t")});
        EXPECT_EQ(r.AsInt64(), 0) << "command " << c;
    }

    // Without an engine control the runtime is not told at destruction.
    fake_runtime::ClearLog();
    DestroyWindow(parent_);
    EXPECT_TRUE(fake_runtime::Log().empty());
    EXPECT_EQ(gBoxes.size(), 6u);
}

TEST_F(WithoutEngine, NotificationsBeforeTheRuntimeEntryAnswerZero) {
    // A library notice that hands over no entry leaves SkinUi without a runtime.
    SkinUiLibrary().notify(kLibraryNotifyInit, 0, 0);
    ComponentCreateArgs args{};
    args.parent = parent_;
    args.width = args.height = 10;
    args.windowId = kPanel;
    args.componentId = kToolbar;
    RuntimeWindowObject object = SkinType(kToolbarEx).create(args);
    EXPECT_EQ(object, 0);
    EXPECT_EQ(EngineControlOfComponent(kPanel, kToolbar), 0);
    EXPECT_EQ(gBoxes.size(), 1u);
}

// --- An engine lacking exports -------------------------------------------------

TEST(IncompleteEngine, MissingExportsMakeCommandsAndPropertiesDoNothing) {
    CurrentDirectoryGuard directory;
    fake_runtime::Reset();
    gBoxes.clear();
    SetSkinWarningBoxForTesting(CaptureBox);
    StartSkinUiIn(PartialEngineFolder());
    RecordingEngine engine(PartialEngineFolder());
    ASSERT_TRUE(engine.Present());
    engine.Clear();
    HWND parent = CreateParentWindow();
    RuntimeWindowObject toolbarObject = CreateSkinControl(kToolbarEx, parent, kPanel, kToolbar);
    CreateSkinControl(kIcoListboxEx, parent, kPanel, kIconList);
    EXPECT_TRUE(gBoxes.empty());
    engine.Clear();

    ArgumentRecord toolbar = ArgComponent(0x00020012, kPanel, kToolbar);
    ArgumentRecord list = ArgComponent(0x00020014, kPanel, kIconList);
    EXPECT_EQ(RunCommand(SkinCommand::ControlUpdateCache, {}).AsInt64(), 0);
    RunCommand(SkinCommand::InsertButton_ToolbarEx,
               {toolbar, ArgInt(1), ArgInt(0), ArgOmitted(), ArgText("a")});
    EXPECT_EQ(RunCommand(SkinCommand::InsertItem_IcoListboxEx,
                         {list, ArgInt(-1), ArgInt(1), ArgOmitted(), ArgInt(5), ArgText("b")})
                  .AsInt64(),
              0);
    RunCommand(SkinCommand::DeleteItem_IcoListboxEx, {list, ArgInt(-1), ArgInt(0)});
    int64_t value = 9;
    EXPECT_EQ(SkinType(kToolbarEx).propertyWritten(toolbarObject, 0, &value), 0);
    EXPECT_EQ(SkinType(kToolbarEx).readProperty(toolbarObject, 0, &value), 0);
    EXPECT_EQ(SkinType(kToolbarEx).attributeBlock(toolbarObject), nullptr);
    // Exports that exist still work.
    EXPECT_EQ(RunCommand(SkinCommand::GetButtonCount_ToolbarEx, {toolbar}).AsInt(), 0);
    EXPECT_EQ(engine.Lines(), std::vector<std::string>{"GetButtonCount_ToolbarEx 16012D4A"});

    DestroyWindow(parent);
    EXPECT_EQ(CountPrefix(engine.Lines(), "ControlDestroy"), 2);
    SetSkinWarningBoxForTesting(nullptr);
}

}  // namespace
