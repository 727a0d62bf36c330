// Running a subroutine on a short-lived detached thread, with one integer and
// four text arguments handed over as texts in a six-slot argument block.
#pragma once
#include <windows.h>
#include <cstdint>

// Shape of a routine run by RunInThread: the integer argument, then the
// character data of the thread's own copies of the four texts (null when empty).
using ThreadRoutine = void(WINAPI*)(int32_t n, const char* t1, const char* t2, const char* t3,
                                    const char* t4);

// Starts `routine` on a new thread and returns its handle (null on failure),
// which the caller closes. The thread takes over the argument block and frees
// it once it has copied the texts, so nothing is shared after that.
HANDLE RunInThread(ThreadRoutine routine, int32_t n, const char* t1, const char* t2, const char* t3,
                   const char* t4, DWORD* threadId);

// Thread procedure: `block` is the address of slot 0 of the argument block.
DWORD WINAPI ThreadEntry(LPVOID block);
