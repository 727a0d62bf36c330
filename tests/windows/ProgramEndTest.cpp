// The program's end, in a real process: a normal end runs the exit routine
// and exits with 0; a runtime error skips it and exits with -1.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>

namespace {

struct Outcome {
    DWORD exitCode = 0;
    bool exitRoutineRan = false;
};

Outcome RunProbe(const char* mode) {
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string dir(module);
    dir.resize(dir.rfind('\\'));
    std::string marker = dir + "\\program_end_" + mode + ".txt";
    DeleteFileA(marker.c_str());
    std::string command = "\"" + dir + "\\windows_end_probe.exe\" " + mode + " \"" + marker + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    Outcome outcome;
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        ADD_FAILURE() << "probe did not start";
        return outcome;
    }
    // Bounded wait: a probe that hangs fails the test rather than the run.
    if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 99);
        ADD_FAILURE() << "probe did not end";
    }
    GetExitCodeProcess(pi.hProcess, &outcome.exitCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    outcome.exitRoutineRan = GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES;
    DeleteFileA(marker.c_str());
    return outcome;
}

TEST(ProgramEnd, LastWindowClosedInTheLoopEndsWithZeroAndExitRoutine) {
    Outcome o = RunProbe("normal");
    EXPECT_EQ(o.exitCode, 0u);
    EXPECT_TRUE(o.exitRoutineRan);
}

TEST(ProgramEnd, AllWindowsGoneBeforeTheLoopEndsAtOnce) {
    Outcome o = RunProbe("before-loop");
    EXPECT_EQ(o.exitCode, 0u);
    EXPECT_TRUE(o.exitRoutineRan);
}

TEST(ProgramEnd, RuntimeErrorEndsWithMinusOneWithoutExitRoutine) {
    Outcome o = RunProbe("error");
    EXPECT_EQ(o.exitCode, 0xFFFFFFFFu);
    EXPECT_FALSE(o.exitRoutineRan);
}

TEST(ProgramEnd, ExitFromAWorkerThreadEndsOnTheGuiThread) {
    Outcome o = RunProbe("worker-exit");
    EXPECT_EQ(o.exitCode, 7u);
    EXPECT_TRUE(o.exitRoutineRan);
}

TEST(ProgramEnd, UnreadableDescriptionIsARuntimeError) {
    Outcome o = RunProbe("corrupt");
    EXPECT_EQ(o.exitCode, 0xFFFFFFFFu);
    EXPECT_FALSE(o.exitRoutineRan);
}

}  // namespace
