// The runtime's entry points for the program: start, the message loop, exit
// routines, and the program image header through which the program describes
// itself (code base, constant data, UI description, libraries, external
// functions).
#pragma once
#include <windows.h>
#include <cstdint>
#include "runtime/library/CommandFn.h"

// What an event handler gives back: only a given result changes what the
// sender does (a window's may-close event answered 0 keeps it open).
struct HandlerResult {
    bool given = false;
    int32_t value = 0;
};
inline HandlerResult NoResult() {
    return HandlerResult{};
}
inline HandlerResult Result(int32_t v) {
    return HandlerResult{true, v};
}

// An event handler of the program: the event's 32-bit arguments, first first.
using EventHandler = HandlerResult (*)(const int32_t* args, int32_t argCount);

// The program's code base is a table of its handler routines. A handler
// offset stored in the UI description names table entry offset / 4 (4 bytes
// per routine, as in the 32-bit layout), so offset 0 binds the routine at the
// code base and -1 binds nothing.
constexpr int32_t kHandlerOffsetUnit = 4;

// Runtime notification entry handed to every support library (code 1).
using RuntimeNotifyFn = intptr_t (*)(int32_t code, intptr_t a1, intptr_t a2, intptr_t a3);
// A support library's own notification entry (code 1 hands over the runtime's
// entry as a1; the program's end is announced with kLibraryNotifyEnd).
using LibraryNotifyFn = intptr_t (*)(int32_t code, intptr_t a1, intptr_t a2);
constexpr int32_t kLibraryNotifyInit = 1;
constexpr int32_t kLibraryNotifyEnd = 2;

// Runtime notification codes a support library may send.
enum RuntimeNotification : int32_t {
    kNotifyMakeWindowObject = 1007,    // a1 = HWND -> window object
    kNotifyDetachWindowObject = 1008,  // a1 = window object
    kNotifyDeleteWindowObject = 1009,  // a1 = window object
    kNotifyComponentDestroyed = 2000,  // a1 = WindowId, a2 = ComponentId
    kNotifyFindComponent = 2007,       // a1 = WindowId, a2 = ComponentId -> window object
    kNotifyDeliverEvent = 2008,        // a1 = EventRecord*
};

struct ComponentType;  // runtime/ComponentTypes.h

struct SupportLibrary {
    const char* identifier;  // 32 hex digits
    const char* name;
    uint16_t versionMajor, versionMinor, versionBuild;
    LibraryNotifyFn notify;  // may be null
    const CommandFn* commands;
    int32_t commandCount;
    const ComponentType* const* types;  // indexed by type number - 1; null entries unused
    int32_t declaredTypeCount;
};

// The program image header: thirteen words describing the program.
struct ProgramImageHeader {
    uint32_t buildMode;  // 3 (2 would mark a debugging build)
    uint32_t reserved1;
    uint32_t reserved2;
    const EventHandler* codeBase;  // handler table, see kHandlerOffsetUnit
    const void* constantData;
    uint32_t constantDataSize;
    const uint8_t* uiSegment;
    uint32_t uiSegmentSize;
    uint32_t supportLibraryCount;
    const SupportLibrary* const* supportLibraries;
    uint32_t externalFunctionCount;
    const char* const* externalDllNames;
    const char* const* externalFunctionNames;
    // Not a word of the image header: the number of handler slots at
    // codeBase, so that a stored offset past the table binds nothing
    // (-1: not known, every offset binds).
    int32_t codeBaseSlots = -1;
};

// Process start: records the header, calls startUp (which itself calls
// InitializeRuntime first), then ends the process through the clean-up with
// the code of the quit message. Does not return.
[[noreturn]] void RunProgram(const ProgramImageHeader& header, int (*startUp)());

// RuntimeHelper 6: heap, OLE, run directory, hidden owner window, external
// function tables, library notifications, UI description, handler binding.
void InitializeRuntime();
// RuntimeHelper 3: each routine at most once, run in registration order.
void RegisterExitRoutine(void (*routine)());
void LoadStartWindow(uint32_t windowId);
void RunMessageLoop();
// Ends the program: exit routines (unless emptied), library end notices,
// modules freed, windows destroyed, OLE uninitialised, ExitProcess(code).
// From another thread the request goes to the GUI thread.
[[noreturn]] void ExitProgram(int32_t code);
// True once for every request ExitProgram made from another thread of this
// process; the hidden owner acts on its exit message only then.
bool TakeExitRequest();

// The program image header given to RunProgram (or installed by a test).
const ProgramImageHeader* CurrentProgramHeader();
void SetProgramHeader(const ProgramImageHeader* header);

// Runtime state readable by the runtime's own modules.
const char* RuntimeRunDirectory();  // without trailing "\"; "" when none
const char* RuntimeExecutableName();
DWORD RuntimeGuiThreadId();
HWND RuntimeHiddenOwnerWindow();
// Event-suspension counter: while >= 1 no handler runs.
void SuspendEvents();
void ResumeEvents();
bool EventsSuspended();

// Clean-up steps of other runtime modules, run by ExitProgram after the exit
// routines, in registration order (library notices, module release, windows).
void RegisterRuntimeCleanup(void (*step)());
