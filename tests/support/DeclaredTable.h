// The program's declared external functions as the runtime's table, without
// the rest of the program image: for tests that call the program's routines
// directly (and may stand in for a declared function through the seam).
#pragma once
#include "app/common/DeclaredFunctions.h"
#include "runtime/external/ExternalFunctions.h"
#include "runtime/process/Runtime.h"

inline void InstallDeclaredFunctions() {
    static ProgramImageHeader header = {};
    header.externalFunctionCount = kExternalFunctionCount;
    header.externalDllNames = kExternalDllNames;
    header.externalFunctionNames = kExternalFunctionNames;
    InitializeExternalFunctions(header);
}
