// The program's end inside one process: the final process exit is replaced
// by a routine that throws, so the order of the steps can be seen.
#include <gtest/gtest.h>
#include <string>
#include "runtime/process/Runtime.h"
#include "runtime/process/RuntimeState.h"

namespace {

std::string gTrace;
struct ProcessEnded {
    int32_t code;
};

void FirstRoutine() {
    gTrace += "first ";
}
void SecondRoutine() {
    gTrace += "second ";
    // An end asked for while the clean-up runs does not run the routines again.
    try {
        ExitProgram(5);
    } catch (const ProcessEnded& e) {
        gTrace += "nested:" + std::to_string(e.code) + " ";
    }
}
void CleanupStep() {
    gTrace += "cleanup ";
}
void EndProcessForTest(int32_t code) {
    throw ProcessEnded{code};
}

}  // namespace

TEST(ProgramEnd, ExitRoutinesOnceInOrderThenCleanup) {
    SetProcessExitRoutine(EndProcessForTest);
    RegisterRuntimeCleanup(CleanupStep);
    RegisterExitRoutine(FirstRoutine);
    RegisterExitRoutine(SecondRoutine);
    RegisterExitRoutine(FirstRoutine);  // registered once only
    int32_t suspension = EventSuspensionCount();
    int32_t code = 0;
    try {
        ExitProgram(3);
    } catch (const ProcessEnded& e) {
        code = e.code;
    }
    EXPECT_EQ(3, code);
    EXPECT_EQ("first second nested:5 cleanup ", gTrace);
    EXPECT_TRUE(RuntimeCleanupStarted());
    EXPECT_GT(EventSuspensionCount(), suspension);
}
