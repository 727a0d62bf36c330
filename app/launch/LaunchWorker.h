// The launch worker: the routine that opens an item on a thread of its own.
#pragma once
#include <windows.h>
#include <cstdint>

// Opens the path t1 with the shell verb "open".
void WINAPI LaunchWorker(int32_t n, const char* t1, const char* t2, const char* t3, const char* t4);
