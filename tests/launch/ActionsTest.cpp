// Launching items on worker threads: the argument block, the shell call with
// "open" reaching a real program, and the handlers' guards.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "app/common/DeclaredFunctions.h"
#include "app/common/Globals.h"
#include "app/common/RunInThread.h"
#include "app/launch/ItemActions.h"
#include "app/launch/LaunchWorker.h"
#include "tests/launch/LaunchTestProgram.h"
#include "tests/launch/LaunchTestSupport.h"

namespace {

struct Received {
    int32_t n = -1;
    std::string texts[4];
    bool nulls[4] = {};
    DWORD thread = 0;
};
Received gReceived;
std::atomic<int> gRoutineCalls{0};

void WINAPI RecordingRoutine(int32_t n, const char* t1, const char* t2, const char* t3,
                             const char* t4) {
    const char* texts[] = {t1, t2, t3, t4};
    gReceived.n = n;
    for (int i = 0; i < 4; ++i) {
        gReceived.nulls[i] = texts[i] == nullptr;
        gReceived.texts[i] = texts[i] ? texts[i] : "";
    }
    gReceived.thread = GetCurrentThreadId();
    ++gRoutineCalls;
}

HANDLE WINAPI FailingCreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID,
                                  DWORD, LPDWORD) {
    return nullptr;
}

class LaunchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InstallLaunchTestProgram();
        gRoutineCalls = 0;
    }
};

TEST_F(LaunchTest, WorkerGetsItsOwnCopiesOfTheArguments) {
    std::string path = "C:\\带 空格\\程序.exe";
    DWORD id = 0;
    HANDLE thread = RunInThread(RecordingRoutine, 42, path.c_str(), "", "third", nullptr, &id);
    ASSERT_NE(nullptr, thread);
    path.assign(path.size(), 'x');  // the starter's text may change at once
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 20000));
    CloseHandle(thread);
    EXPECT_EQ(1, gRoutineCalls.load());
    EXPECT_EQ(42, gReceived.n);
    EXPECT_EQ("C:\\带 空格\\程序.exe", gReceived.texts[0]);
    EXPECT_TRUE(gReceived.nulls[1]) << "an empty text arrives as address 0";
    EXPECT_EQ("third", gReceived.texts[2]);
    EXPECT_TRUE(gReceived.nulls[3]);
    EXPECT_EQ(id, gReceived.thread);
    EXPECT_NE(GetCurrentThreadId(), gReceived.thread);
}

TEST_F(LaunchTest, BlockWithoutRoutineCallsNothing) {
    for (const char* slot0 : {"0", "-5", "abc", static_cast<const char*>(nullptr)}) {
        ValueArray block = NewArray(sizeof(Text), 6);
        ArrayData<Text>(block)[0] = CopyText(slot0);
        ArrayData<Text>(block)[1] = CopyText("7");
        ThreadEntry(ArrayData<Text>(block));  // takes over and frees the block
    }
    EXPECT_EQ(0, gRoutineCalls.load());
}

TEST_F(LaunchTest, FailedThreadCreationIsQuiet) {
    OverrideExternalFunction(
        kCreateThread, reinterpret_cast<FARPROC>(reinterpret_cast<void*>(FailingCreateThread)));
    HANDLE thread = RunInThread(RecordingRoutine, 1, "x", "", "", "", nullptr);
    OverrideExternalFunction(kCreateThread, nullptr);
    EXPECT_EQ(nullptr, thread);
    EXPECT_EQ(0, gRoutineCalls.load());
}

#if defined(__i386__)
// The block as a 32-bit program hands it to CreateThread: six consecutive
// 4-byte text pointers. (x86_64 slots are 8 bytes; only the i686 build has
// the layout that the thread procedure of another 32-bit program would read.)
std::vector<std::string> gSlots;

HANDLE WINAPI ReadingCreateThread(LPSECURITY_ATTRIBUTES security, SIZE_T stack,
                                  LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD flags,
                                  LPDWORD id) {
    const uint32_t* words = static_cast<const uint32_t*>(parameter);
    gSlots.clear();
    for (int k = 0; k < 6; ++k) {
        const char* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(words[k]));
        gSlots.push_back(text ? text : "");
    }
    return CreateThread(security, stack, start, parameter, flags, id);
}

TEST_F(LaunchTest, TheArgumentBlockIsSixConsecutive32BitTextPointers) {
    OverrideExternalFunction(
        kCreateThread, reinterpret_cast<FARPROC>(reinterpret_cast<void*>(ReadingCreateThread)));
    HANDLE thread =
        RunInThread(RecordingRoutine, 42, "C:\\程序.exe", "", "third", nullptr, nullptr);
    OverrideExternalFunction(kCreateThread, nullptr);
    ASSERT_NE(nullptr, thread);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 20000));
    CloseHandle(thread);
    const std::string routine = std::to_string(reinterpret_cast<uintptr_t>(&RecordingRoutine));
    EXPECT_EQ((std::vector<std::string>{routine, "42", "C:\\程序.exe", "", "third", ""}), gSlots);
    EXPECT_EQ(1, gRoutineCalls.load());
}
#endif

// A copy of the marker program under a folder with spaces and Chinese characters.
class MarkerTest : public LaunchTest {
  protected:
    void SetUp() override {
        LaunchTest::SetUp();
        folder = run / "带 空格 目录";
        ASSERT_TRUE(MakeFolder(folder));
        marker = folder + "\\标记 程序.exe";
        ASSERT_TRUE(CopyFileA((LaunchTestDirectory() + "\\test_support_marker.exe").c_str(),
                              marker.c_str(), FALSE));
        log = marker + ".runs.txt";
    }
    TempFolder run{"launch"};
    std::string folder, marker, log;
};

TEST_F(MarkerTest, LaunchWorkerOpensAPathWithSpacesAndChineseAsIs) {
    int before = ProcessThreadCount();
    HANDLE thread = RunInThread(LaunchWorker, 0, marker.c_str(), "", "", "", nullptr);
    ASSERT_NE(nullptr, thread);
    CloseHandle(thread);
    std::vector<std::string> lines = WaitForMarkerRecords(log, 1);
    ASSERT_GE(lines.size(), 2u) << "the program did not run";
    EXPECT_EQ("", lines[0]) << "no parameters";
    EXPECT_LE(WaitForThreadCount(before), before) << "the worker ended";
}

// Only an item of the category shown is opened; every other index, and a
// shown category that does not exist, start nothing.
TEST_F(MarkerTest, OnlyAnItemOfTheShownCategoryIsOpened) {
    ResetGlobalLists();
    LaunchCategory category{NewArray(sizeof(int32_t), 1), NewArray(sizeof(Text), 1)};
    ArrayData<Text>(category.paths)[0] = CopyText(marker.c_str());
    ArrayAppend(&CategoryList, &category, sizeof(category));
    const int before = ProcessThreadCount();
    for (int32_t shown : {0, 1, -1}) {
        CurrentCategory = shown;
        for (int32_t index : {-1, 1, 100}) {
            EXPECT_FALSE(LaunchShownItem(index, nullptr))
                << "category " << shown << ", item " << index;
        }
    }
    CurrentCategory = 3;
    EXPECT_FALSE(LaunchShownItem(0, nullptr));
    EXPECT_EQ(before, ProcessThreadCount()) << "no worker was started";
    EXPECT_TRUE(SkinCalls().empty());

    CurrentCategory = 0;
    EXPECT_TRUE(LaunchShownItem(0, nullptr));
    const std::vector<std::string> lines = WaitForMarkerRecords(log, 1);
    EXPECT_EQ(2u, lines.size()) << "the item opened once, and nothing else did";
    ResetGlobalLists();
}

}  // namespace
