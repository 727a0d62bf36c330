// Storage of the runtime's process-wide state: what initialisation records
// (run directory, executable name, GUI thread, hidden owner window, OLE) and
// the flags that steer the program's end. Runtime.h has the readers that the
// rest of the runtime uses; these are the setters and the extra flags.
#pragma once
#include <windows.h>
#include <cstdint>
#include "runtime/process/Runtime.h"

// Recorded by runtime initialisation. Texts are copied, whatever their length.
void SetRuntimeRunDirectory(const char* directory);
void SetRuntimeExecutableName(const char* name);
void SetRuntimeGuiThreadId(DWORD threadId);
void SetRuntimeHiddenOwnerWindow(HWND window);

// OleInitialize succeeded: the program's end calls OleUninitialize.
void SetRuntimeOleInitialized(bool initialized);
bool RuntimeOleInitialized();

// Set when the message loop is entered; from then on the destruction of the
// last window ends the loop.
void SetRuntimeLoopEntered(bool entered);
bool RuntimeLoopEntered();

// Set once the program's end has begun (exit routines running or done).
bool RuntimeCleanupStarted();

// Current value of the event-suspension counter.
int32_t EventSuspensionCount();

// Forgets every registered exit routine (a runtime error ends the program
// without them).
void ClearExitRoutines();

// How the process finally ends. ExitProcess normally; a test may install its
// own routine (it must not return either: it may throw).
using ProcessExitFn = void (*)(int32_t code);
void SetProcessExitRoutine(ProcessExitFn exitRoutine);
