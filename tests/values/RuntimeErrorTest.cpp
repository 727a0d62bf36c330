// Composition of the runtime error box and the report path up to the box.
#include "runtime/process/RuntimeState.h"
#include "tests/values/ValuesTestSupport.h"

namespace {

std::string Compose(const char* message, int32_t code, uint32_t value1, uint32_t value2) {
    OwnedText text(ComposeRuntimeErrorText(message, code, static_cast<int32_t>(value1),
                                           static_cast<int32_t>(value2)));
    return text.Get();
}

// A stand-in for the window definitions: window 0x52012C96 exists, with the
// element 0x16012DC1; 0x26012E00 is a menu entry.
ErrorSubjectNames LookUp(uint32_t windowId, uint32_t componentId) {
    ErrorSubjectNames names;
    if (windowId != 0x52012C96u) return names;
    names.windowFound = true;
    names.windowName = "DockPanelWindow";
    if (componentId == 0x16012DC1u) {
        names.componentFound = true;
        names.componentName = "图标列表框";
    } else if (componentId == 0 || componentId == 0x06012C97u) {
        names.componentFound = true;
        names.componentName = "DockPanelWindow";
    }
    return names;
}

class RuntimeErrorTest : public ::testing::Test {
  protected:
    void SetUp() override { SetErrorSubjectLookup(LookUp); }
    void TearDown() override { SetErrorSubjectLookup(nullptr); }
};

}  // namespace

TEST_F(RuntimeErrorTest, CodeZeroAndNoMessageShowsOnlyHeadingAndDetail) {
    EXPECT_EQ("运行时出错!\r\n\r\n-3, 7\r\n", Compose("", 0, static_cast<uint32_t>(-3), 7));
    EXPECT_EQ("运行时出错!\r\n\r\n0, 0\r\n", Compose(nullptr, 0, 0, 0));
}

TEST_F(RuntimeErrorTest, NumbersThatAreNoWindowShowNoWindowLine) {
    EXPECT_EQ(
        "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n\r\n5, "
        "3\r\n",
        Compose("数组成员引用下标超出定义范围", 1, 5, 3));
}

TEST_F(RuntimeErrorTest, WindowAndComponentNames) {
    // 0x52012C96 = 1375808662, 0x16012DC1 = 369176001.
    EXPECT_EQ(
        "运行时出错!\r\n\r\n1375808662, 369176001\r\n\"DockPanelWindow\"\r\n\"图标列表框\"\r\n",
        Compose("", 0, 0x52012C96u, 0x16012DC1u));
    EXPECT_EQ("运行时出错!\r\n\r\n1375808662, 0\r\n\"DockPanelWindow\"\r\n\"DockPanelWindow\"\r\n",
              Compose("", 0, 0x52012C96u, 0));
    // A menu entry, or a component that is not there.
    EXPECT_EQ(
        "运行时出错!\r\n\r\n1375808662, "
        "637611520\r\n\"DockPanelWindow\"\r\n未找到所指定的窗口组件\r\n",
        Compose("", 0, 0x52012C96u, 0x26012E00u));
}

TEST_F(RuntimeErrorTest, UnknownWindowExampleLayout) {
    // 0x52019999 = 1375836569, 0x16010001 = 369164289.
    EXPECT_EQ(
        "运行时出错!\r\n\r\n错误信息：未载入欲访问窗口组件所在的窗口\r\n\r\n1375836569, "
        "369164289\r\n未找到所指定的窗口\r\n",
        Compose("未载入欲访问窗口组件所在的窗口", 0, 0x52019999u, 0x16010001u));
    // Before any definition is known every window is unknown.
    SetErrorSubjectLookup(nullptr);
    EXPECT_EQ("运行时出错!\r\n\r\n1375808662, 0\r\n未找到所指定的窗口\r\n",
              Compose("", 0, 0x52012C96u, 0));
}

TEST_F(RuntimeErrorTest, NumberedReportsUseTheirMessageAndCode) {
    CapturedRuntimeError six = CatchRuntimeError([] { ReportRuntimeError(6, 0, 0); });
    EXPECT_EQ(6, six.code);
    EXPECT_EQ(
        "运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n\r\n0, 0\r\n",
        six.text);
    CapturedRuntimeError eleven = CatchRuntimeError([] { ReportRuntimeError(11, 1, 2); });
    EXPECT_TRUE(Contains(eleven.text, "错误信息：所提供参数的数据类型不符合要求\r\n"))
        << eleven.text;
    CapturedRuntimeError text =
        CatchRuntimeError([] { ReportRuntimeErrorText("载入启动窗口失败", 0x52010001, 0); });
    EXPECT_EQ(0, text.code);
    EXPECT_TRUE(Contains(text.text, "错误信息：载入启动窗口失败\r\n\r\n1375797249, 0\r\n"))
        << text.text;
}

TEST_F(RuntimeErrorTest, EventsAreSuspendedWhileTheReportIsShown) {
    int32_t before = EventSuspensionCount();
    static bool suspendedInHook = false;
    SetRuntimeErrorHook([](const char* boxText, int32_t code) {
        suspendedInHook = EventsSuspended();
        throw CapturedRuntimeError{boxText, code};
    });
    try {
        ReportRuntimeErrorText("x", 0, 0);
    } catch (const CapturedRuntimeError&) {
    }
    SetRuntimeErrorHook(nullptr);
    EXPECT_TRUE(suspendedInHook);
    // A hook that takes control back leaves the counter as it was.
    EXPECT_EQ(before, EventSuspensionCount());
}
