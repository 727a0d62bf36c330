// Child program of the error box test. It registers an exit routine that
// leaves a marker file, then ends in the way its first argument names:
//   error  - a runtime error on the main thread (the real box is shown)
//   worker - a runtime error on a second thread
//   normal - an orderly end with code 0 (the exit routine runs)
//   stack  - (i686) a declared function called with two arguments it does not
//            take, so the stack check after the call finds runtime error 6
#include <windows.h>
#include <cstring>
#include "runtime/external/ExternalFunctions.h"
#include "runtime/library/Commands.h"
#include "runtime/process/Runtime.h"
#include "runtime/process/RuntimeState.h"

namespace {

const char* gMarkerPath = "";

void LeaveMarker() {
    HANDLE h = CreateFileA(gMarkerPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
}

DWORD WINAPI DivideOnWorker(void*) {
    CallCore(CoreCommand::IntegerDivide, ArgDouble(1), ArgDouble(0));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    gMarkerPath = argv[2];
    SetRuntimeGuiThreadId(GetCurrentThreadId());
    RegisterExitRoutine(LeaveMarker);
    if (std::strcmp(argv[1], "error") == 0) {
        CallCore(CoreCommand::IntegerDivide, ArgDouble(1), ArgDouble(0));
    } else if (std::strcmp(argv[1], "worker") == 0) {
        HANDLE thread = CreateThread(nullptr, 0, DivideOnWorker, nullptr, 0, nullptr);
        if (thread) WaitForSingleObject(thread, INFINITE);
    } else if (std::strcmp(argv[1], "normal") == 0) {
        ExitProgram(0);
    }
#if defined(__i386__)
    else if (std::strcmp(argv[1], "stack") == 0) {
        // GetTickCount takes no arguments and removes none of the 8 bytes.
        static const char* const dlls[] = {"kernel32.dll"};
        static const char* const functions[] = {"GetTickCount"};
        ProgramImageHeader header = {};
        header.externalFunctionCount = 1;
        header.externalDllNames = dlls;
        header.externalFunctionNames = functions;
        InitializeExternalFunctions(header);
        CallExternal<DWORD>(0, 1, 2);
    }
#endif
    return 3;
}
