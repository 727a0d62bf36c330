// The program image header: how the program describes itself to the runtime.
#pragma once
#include "runtime/process/Runtime.h"

extern const ProgramImageHeader kProgramHeader;
