// Watching another process from a test: polling for a state it reaches in
// its own time, and reading its windows and threads from outside.
#pragma once
#include <windows.h>

#include <functional>

// Polls (handling this thread's messages) until the condition holds; gives
// up after `seconds` so that a fault fails the test instead of hanging it.
bool Eventually(const std::function<bool()>& condition, int seconds = 20);
// Handles this thread's messages for a while.
void Settle(DWORD milliseconds);

DWORD OwnerProcess(HWND window);
RECT Box(HWND window);  // the window's rectangle in screen coordinates
int ThreadsOf(DWORD processId);
// The process's first visible top-level window (with this caption, when one
// is given), or null.
HWND VisibleWindowOf(DWORD processId, const char* caption = nullptr);
// Calls a function that takes no argument inside another process, on a
// thread of its own, and gives its 32-bit result. The function's module is
// the one that holds it here (kernel32 may hand out kernelbase's), found by
// name in the other process; Wine gives both processes the same module.
bool CallIn(HANDLE process, const char* dll, const char* function, DWORD* result);
