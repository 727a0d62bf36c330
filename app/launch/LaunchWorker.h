// The launch worker: the routine that opens an item on a thread of its own.
#pragma once
#include <windows.h>
#include <cstdint>

// Opens the path t1 with the shell verb "open"; when that fails the shell
// tells the user with its own message, owned by the window whose handle is
// `owner` (0: none).
void WINAPI LaunchWorker(int32_t owner, const char* t1, const char* t2, const char* t3,
                         const char* t4);
// Tells the user that the item at path t1 cannot be found, as the shell tells
// it when opening fails: the system's message for a missing file, in a box
// owned by the window whose handle is `owner` (0: none), captioned with the path.
void WINAPI ReportMissingItem(int32_t owner, const char* t1, const char* t2, const char* t3,
                              const char* t4);
