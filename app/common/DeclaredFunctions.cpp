// The names of the declared functions, in table order, for the program image
// header.
#include "app/common/DeclaredFunctions.h"

#define QD_DECLARED_DLL(name, dll, exported, signature) dll,
const char* const kExternalDllNames[kExternalFunctionCount] = {
    QD_DECLARED_FUNCTIONS(QD_DECLARED_DLL)};
#undef QD_DECLARED_DLL

#define QD_DECLARED_EXPORT(name, dll, exported, signature) exported,
const char* const kExternalFunctionNames[kExternalFunctionCount] = {
    QD_DECLARED_FUNCTIONS(QD_DECLARED_EXPORT)};
#undef QD_DECLARED_EXPORT
