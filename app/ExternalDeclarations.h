// The Windows functions the program declares by DLL and name (indexes into
// the runtime's external-function table).
#pragma once
#include <cstdint>

enum ExternalFunction : int32_t {
    kFindWindowExA = 0,
    kSetParent = 1,
    kGetClassNameA = 2,
    kPeekMessageA = 3,
    kTranslateMessage = 4,
    kDispatchMessageA = 5,
    kGetWindowRect = 6,
    kShowWindowAsync = 7,
    kSetWindowCompositionAttribute = 8,
    kPathFindExtensionA = 9,
    kPathIsDirectoryA = 10,
    kRegisterShellHookWindow = 11,
    kSetWindowLongA = 12,
    kSHAppBarMessage = 13,
    kEnumDisplayDevicesA = 14,
    kEnumDisplaySettingsA = 15,
    kPathFindFileNameA = 16,
    kCallWindowProcA = 17,
    kCreateWaitableTimerA = 18,
    kSetWaitableTimer = 19,
    kMsgWaitForMultipleObjects = 20,
    kCloseHandle = 21,
    kCreateThread = 22,
    kSleep = 23,
    kLstrcpyn = 24,
    kExternalFunctionCount = 25
};

extern const char* const kExternalDllNames[kExternalFunctionCount];
extern const char* const kExternalFunctionNames[kExternalFunctionCount];
