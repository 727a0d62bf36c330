// The external-function door: Windows functions that the program declares by
// DLL file name and exported name, resolved on first call and cached.
#pragma once
#include <windows.h>
#include <cstdint>
#include <type_traits>

// Address of declared function `index`, resolving it on first use (run
// directory first, then the system's search). A function that cannot be found
// is a runtime error that ends the program.
FARPROC ResolveExternalFunction(int32_t index);

// Test seam: stand in for declared function `index` (null removes it).
void OverrideExternalFunction(int32_t index, FARPROC address);

struct ProgramImageHeader;
// Copies the header's DLL and function names into the runtime's tables and
// empties the address and module caches; registers the clean-up that frees
// every module the tables loaded (once per entry).
void InitializeExternalFunctions(const ProgramImageHeader& header);

// On i686 every call compares the stack pointer before and after the call and
// reports runtime error 6 on a difference (a callee that removed the wrong
// number of argument bytes). x86_64 has one calling convention in which the
// caller owns the stack, so there the check does not exist.
uint32_t CallExternalChecked(FARPROC address, const uint32_t* args, int32_t argCount);

// Typed call of a declared function: CallExternal<HWND>(kFindWindowExA, ...).
template <typename R, typename... A>
R CallExternal(int32_t index, A... args);
#include "runtime/external/ExternalFunctionsCall.inl"
