// The Windows functions the program declares by DLL file name and exported
// name: one typed list gives each its index in the runtime's external-function
// table, its two names exactly as declared, and a typed wrapper
// (Declared::FindWindowExA(...)) that calls through the table, so that an
// argument of the wrong type does not compile. The runtime resolves each
// entry on its first call and caches it.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <cstdint>

#include "runtime/external/ExternalFunctions.h"

// The record SetWindowCompositionAttribute takes: which attribute, and the
// caller's data for it (pointer-sized on x86_64, as the system lays it out).
struct CompositionAttributeData {
    DWORD attribute;
    void* data;
    SIZE_T dataSize;
};

// X(name, DLL file name, exported name, signature), in table order; the
// index is k<name>.
//
// "lstrcpyn" (index 24) is not an export of kernel32 (which has lstrcpynA and
// lstrcpynW); resolving it would end the program. The program never calls it:
// where it needs a text's address it takes it directly. Index 20 is declared
// with the DLL name spelled "User32.dll".
#define QD_DECLARED_FUNCTIONS(X)                                                                \
    X(FindWindowExA, "user32.dll", "FindWindowExA", HWND(HWND, HWND, const char*, const char*)) \
    X(SetParent, "user32.dll", "SetParent", HWND(HWND, HWND))                                   \
    X(GetClassNameA, "user32.dll", "GetClassNameA", int(HWND, char*, int))                      \
    X(PeekMessageA, "user32.dll", "PeekMessageA", BOOL(MSG*, HWND, UINT, UINT, UINT))           \
    X(TranslateMessage, "user32.dll", "TranslateMessage", BOOL(const MSG*))                     \
    X(DispatchMessageA, "user32.dll", "DispatchMessageA", LRESULT(const MSG*))                  \
    X(GetWindowRect, "user32.dll", "GetWindowRect", BOOL(HWND, RECT*))                          \
    X(ShowWindowAsync, "user32.dll", "ShowWindowAsync", BOOL(HWND, int))                        \
    X(SetWindowCompositionAttribute, "user32.dll", "SetWindowCompositionAttribute",             \
      BOOL(HWND, CompositionAttributeData*))                                                    \
    X(PathFindExtensionA, "shlwapi.dll", "PathFindExtensionA", char*(const char*))              \
    X(PathIsDirectoryA, "shlwapi.dll", "PathIsDirectoryA", BOOL(const char*))                   \
    X(RegisterShellHookWindow, "user32.dll", "RegisterShellHookWindow", BOOL(HWND))             \
    X(SetWindowLongA, "user32.dll", "SetWindowLongA", LONG(HWND, int, LONG))                    \
    X(SHAppBarMessage, "shell32.dll", "SHAppBarMessage", UINT_PTR(DWORD, APPBARDATA*))          \
    X(EnumDisplayDevicesA, "user32.dll", "EnumDisplayDevicesA",                                 \
      BOOL(const char*, DWORD, DISPLAY_DEVICEA*, DWORD))                                        \
    X(EnumDisplaySettingsA, "user32.dll", "EnumDisplaySettingsA",                               \
      BOOL(const char*, DWORD, DEVMODEA*))                                                      \
    X(PathFindFileNameA, "shlwapi.dll", "PathFindFileNameA", char*(const char*))                \
    X(CallWindowProcA, "user32.dll", "CallWindowProcA",                                         \
      LRESULT(WNDPROC, HWND, UINT, WPARAM, LPARAM))                                             \
    X(CreateWaitableTimerA, "kernel32.dll", "CreateWaitableTimerA",                             \
      HANDLE(LPSECURITY_ATTRIBUTES, BOOL, const char*))                                         \
    X(SetWaitableTimer, "kernel32.dll", "SetWaitableTimer",                                     \
      BOOL(HANDLE, const LARGE_INTEGER*, LONG, PTIMERAPCROUTINE, LPVOID, BOOL))                 \
    X(MsgWaitForMultipleObjects, "User32.dll", "MsgWaitForMultipleObjects",                     \
      DWORD(DWORD, const HANDLE*, BOOL, DWORD, DWORD))                                          \
    X(CloseHandle, "kernel32.dll", "CloseHandle", BOOL(HANDLE))                                 \
    X(CreateThread, "kernel32.dll", "CreateThread",                                             \
      HANDLE(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD, DWORD*))     \
    X(Sleep, "kernel32.dll", "Sleep", void(DWORD))                                              \
    X(Lstrcpyn, "kernel32.dll", "lstrcpyn", char*(char*, const char*, int))                     \
    X(EnumDisplayMonitors, "user32.dll", "EnumDisplayMonitors",                                 \
      BOOL(HDC, const RECT*, MONITORENUMPROC, LPARAM))

#define QD_DECLARED_INDEX(name, dll, exported, signature) k##name,
enum ExternalFunction : int32_t { QD_DECLARED_FUNCTIONS(QD_DECLARED_INDEX) kExternalFunctionCount };
#undef QD_DECLARED_INDEX

extern const char* const kExternalDllNames[kExternalFunctionCount];
extern const char* const kExternalFunctionNames[kExternalFunctionCount];

// A call of declared function `Index` with exactly the argument types of its
// signature.
template <int32_t Index, typename Signature>
struct DeclaredCall;
template <int32_t Index, typename R, typename... A>
struct DeclaredCall<Index, R(A...)> {
    static R Call(A... args) { return CallExternal<R>(Index, args...); }
};

// Declared::<name>(...): Declared::FindWindowExA(parent, nullptr, "Shell_TrayWnd", nullptr).
namespace Declared {
#define QD_DECLARED_WRAPPER(name, dll, exported, signature) \
    inline constexpr auto& name = DeclaredCall<k##name, signature>::Call;
QD_DECLARED_FUNCTIONS(QD_DECLARED_WRAPPER)
#undef QD_DECLARED_WRAPPER
}  // namespace Declared
