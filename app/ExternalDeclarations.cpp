// The Windows functions the program declares, by DLL file name and exported
// name exactly as declared; they are resolved when first called.
//
// "lstrcpyn" (index 24) is not an export of kernel32 (which has lstrcpynA and
// lstrcpynW); resolving it would end the program. The program never calls it:
// where it needs a text's address it takes it directly.
#include "app/ExternalDeclarations.h"

const char* const kExternalDllNames[kExternalFunctionCount] = {
    "user32.dll",  "user32.dll",   "user32.dll",   "user32.dll",   "user32.dll",
    "user32.dll",  "user32.dll",   "user32.dll",   "user32.dll",   "shlwapi.dll",
    "shlwapi.dll", "user32.dll",   "user32.dll",   "shell32.dll",  "user32.dll",
    "user32.dll",  "shlwapi.dll",  "user32.dll",   "kernel32.dll", "kernel32.dll",
    "User32.dll",  "kernel32.dll", "kernel32.dll", "kernel32.dll", "kernel32.dll",
};

const char* const kExternalFunctionNames[kExternalFunctionCount] = {
    "FindWindowExA",
    "SetParent",
    "GetClassNameA",
    "PeekMessageA",
    "TranslateMessage",
    "DispatchMessageA",
    "GetWindowRect",
    "ShowWindowAsync",
    "SetWindowCompositionAttribute",
    "PathFindExtensionA",
    "PathIsDirectoryA",
    "RegisterShellHookWindow",
    "SetWindowLongA",
    "SHAppBarMessage",
    "EnumDisplayDevicesA",
    "EnumDisplaySettingsA",
    "PathFindFileNameA",
    "CallWindowProcA",
    "CreateWaitableTimerA",
    "SetWaitableTimer",
    "MsgWaitForMultipleObjects",
    "CloseHandle",
    "CreateThread",
    "Sleep",
    "lstrcpyn",
};
