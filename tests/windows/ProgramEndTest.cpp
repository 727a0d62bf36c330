// The program's end, in a real process: a normal end runs the exit routine
// and exits with 0; a runtime error skips it and exits with -1.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>

#include "tests/support/ProcessWatch.h"

namespace {

struct Outcome {
    DWORD exitCode = 0;
    bool exitRoutineRan = false;
};

// The probe's visible top-level window, once it has one (10 s at most).
HWND ProbeWindow(DWORD process) {
    for (int i = 0; i < 200; ++i) {
        if (HWND window = VisibleWindowOf(process)) return window;
        Sleep(50);
    }
    return nullptr;
}

// What the test does to the running probe before waiting for its end.
using Driver = void (*)(HWND probeWindow, HANDLE process);

Outcome RunProbe(const char* mode, Driver drive = nullptr) {
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
    if (drive) {
        HWND window = ProbeWindow(pi.dwProcessId);
        EXPECT_NE(window, nullptr) << "the probe shows its window";
        if (window) drive(window, pi.hProcess);
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

// A window that refuses to close never blocks the end of the session: the
// system's question is answered yes, and the session's end is the program's
// normal end, sent from another process as the system sends it.
TEST(ProgramEnd, SessionEndIsNeverRefusedAndEndsNormally) {
    Outcome o = RunProbe("refuse-close", [](HWND window, HANDLE process) {
        SendMessageA(window, WM_CLOSE, 0, 0);
        SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_EQ(WaitForSingleObject(process, 300), static_cast<DWORD>(WAIT_TIMEOUT))
            << "closing is still refused";
        EXPECT_EQ(SendMessageA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
        // The session's end was called off: the program goes on.
        SendMessageA(window, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
        EXPECT_EQ(WaitForSingleObject(process, 300), static_cast<DWORD>(WAIT_TIMEOUT));
        EXPECT_TRUE(IsWindow(window));
        SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000,
                            nullptr);
    });
    EXPECT_EQ(o.exitCode, 0u);
    EXPECT_TRUE(o.exitRoutineRan);
}

TEST(ProgramEnd, UnreadableDescriptionIsARuntimeError) {
    Outcome o = RunProbe("corrupt");
    EXPECT_EQ(o.exitCode, 0xFFFFFFFFu);
    EXPECT_FALSE(o.exitRoutineRan);
}

}  // namespace
