// A runtime error in a real process: the box appears with the composed text
// and the caption "错误", and once it is closed the process ends with -1
// without running the program's exit routine.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>

#include "tests/support/ProcessWatch.h"

namespace {

struct Child {
    PROCESS_INFORMATION info{};
    ~Child() {
        if (info.hProcess) {
            // Never leave a child (and its modal box) behind a failed test.
            if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(info.hProcess, 99);
            CloseHandle(info.hProcess);
            CloseHandle(info.hThread);
        }
    }
};

std::string ProgramFolder() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of('\\'));
}

std::string MarkerPath(const char* mode) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "qd_error_box_" + mode + "_" + std::to_string(GetCurrentProcessId());
}

bool Start(const char* mode, const std::string& marker, Child* child) {
    DeleteFileA(marker.c_str());
    std::string command =
        "\"" + ProgramFolder() + "\\test_error_box_child.exe\" " + mode + " \"" + marker + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    return CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &child->info) != FALSE;
}

// Waits (bounded) for the child's error box.
HWND WaitForBox(const Child& child) {
    for (int i = 0; i < 400; ++i) {
        if (HWND box = VisibleWindowOf(child.info.dwProcessId, "错误")) return box;
        if (WaitForSingleObject(child.info.hProcess, 50) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

BOOL CALLBACK CollectText(HWND hwnd, LPARAM param) {
    char text[1024] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    auto* all = reinterpret_cast<std::string*>(param);
    if (std::string(text).find("运行时出错!") == 0) *all = text;
    return TRUE;
}

DWORD WaitForExit(const Child& child) {
    DWORD code = 12345;
    if (WaitForSingleObject(child.info.hProcess, 30000) == WAIT_OBJECT_0)
        GetExitCodeProcess(child.info.hProcess, &code);
    return code;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void ExpectBoxThenExitMinusOne(
    const char* mode,
    const char* expectedText = "运行时出错!\r\n\r\n错误信息：不能整除于零\r\n\r\n0, 0\r\n") {
    std::string marker = MarkerPath(mode);
    Child child;
    ASSERT_TRUE(Start(mode, marker, &child));
    HWND box = WaitForBox(child);
    ASSERT_NE(nullptr, box) << "no error box from the child (" << mode << ")";
    std::string text;
    EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&text));
    EXPECT_EQ(expectedText, text);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(0xFFFFFFFFu, WaitForExit(child));
    EXPECT_FALSE(Exists(marker)) << "the exit routine ran after a runtime error";
    DeleteFileA(marker.c_str());
}

}  // namespace

TEST(ErrorBox, NormalEndRunsTheExitRoutine) {
    // The marker really appears when the exit routine runs, so its absence
    // below means something.
    std::string marker = MarkerPath("normal");
    Child child;
    ASSERT_TRUE(Start("normal", marker, &child));
    EXPECT_EQ(0u, WaitForExit(child));
    EXPECT_TRUE(Exists(marker));
    DeleteFileA(marker.c_str());
}

TEST(ErrorBox, RuntimeErrorShowsTheBoxAndEndsWithMinusOne) {
    ExpectBoxThenExitMinusOne("error");
}

TEST(ErrorBox, RuntimeErrorOnAWorkerThreadEndsTheProcess) {
    ExpectBoxThenExitMinusOne("worker");
}

#if defined(__i386__)
// Only 32-bit code has callees that remove their own arguments, and so a
// stack that a wrongly declared call leaves unbalanced.
TEST(ErrorBox, AnUnbalancedExternalCallShowsError6AndEndsWithMinusOne) {
    ExpectBoxThenExitMinusOne(
        "stack",
        "运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n\r\n0, "
        "0\r\n");
}
#endif
