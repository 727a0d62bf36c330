// The program image header: how the program describes itself to the runtime.
#pragma once
#include "runtime/Runtime.h"

extern const ProgramImageHeader kProgramHeader;
