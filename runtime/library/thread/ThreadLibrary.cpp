// StartThread: runs a routine of the program on a new thread. The routine is
// a thread routine (one pointer-sized parameter); the parameter is 0 when it
// is left out. Without a handle variable the handle is closed at once and the
// thread runs on by itself.
#include "runtime/library/thread/ThreadLibrary.h"

#include <windows.h>

#include "runtime/library/Commands.h"
#include "runtime/process/Runtime.h"

namespace {

void CmdStartThread(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    if (argCount < 1 || args[0].AsPointer() == nullptr) {
        SetResultBool(result, false);
        return;
    }
    const auto routine = reinterpret_cast<LPTHREAD_START_ROUTINE>(args[0].AsPointer());
    void* parameter = nullptr;
    if (argCount >= 2 && !args[1].IsOmitted()) {
        // A 32-bit integer parameter is widened with its sign, as an address would be.
        parameter = args[1].BaseTag() == Tag::kInteger
                        ? reinterpret_cast<void*>(static_cast<intptr_t>(args[1].AsInt()))
                        : args[1].AsPointer();
    }
    DWORD threadId = 0;
    HANDLE thread = CreateThread(nullptr, 0, routine, parameter, 0, &threadId);
    if (!thread) {
        SetResultBool(result, false);
        return;
    }
    const bool wantsHandle = argCount >= 3 && args[2].IsReference() && args[2].AsPointer();
    if (!wantsHandle) {
        CloseHandle(thread);
    } else if (args[2].BaseTag() == Tag::kLong) {
        *static_cast<int64_t*>(args[2].AsPointer()) =
            static_cast<int64_t>(reinterpret_cast<intptr_t>(thread));
    } else {
        // Kernel handles fit in 32 bits on both targets.
        *static_cast<int32_t*>(args[2].AsPointer()) =
            static_cast<int32_t>(reinterpret_cast<intptr_t>(thread));
    }
    SetResultBool(result, true);
}

const CommandFn kThreadCommands[static_cast<int>(ThreadCommand::Count)] = {CmdStartThread};

const SupportLibrary kThreadLibraryEntry = {
    "5F99C1642A2F4E03850721B4F5D4A1A5",         "thread", 1, 0, 0, nullptr, kThreadCommands,
    static_cast<int32_t>(ThreadCommand::Count), nullptr,  0,
};

}  // namespace

const SupportLibrary& ThreadLibrary() {
    return kThreadLibraryEntry;
}
