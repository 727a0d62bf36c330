// Watching another process from a test: polling for a state it reaches in
// its own time, and reading its windows and threads from outside.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

// Polls (handling this thread's messages) until the condition holds; gives
// up after `seconds` so that a fault fails the test instead of hanging it.
bool Eventually(const std::function<bool()>& condition, int seconds = 20);
// Handles this thread's messages for a while.
void Settle(DWORD milliseconds);

DWORD OwnerProcess(HWND window);
RECT Box(HWND window);  // the window's rectangle in screen coordinates
int ThreadsOf(DWORD processId);

// Starts a program of the product (no arguments) with `folder` as its
// current folder, as Explorer starts it.
bool StartProgramIn(const std::string& folder, const char* exeName, PROCESS_INFORMATION* process);
// A top-level window of the process with exactly this size, or null.
HWND FindTopWindowSized(DWORD processId, int width, int height);
// A child of `parent` that belongs to the process, or null.
HWND FindChildOf(HWND parent, DWORD processId);
