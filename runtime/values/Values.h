// The value model shared by the runtime, the program and the skin library:
// texts, byte sets and arrays as plain heap blocks with fixed layouts, so that
// they can cross module boundaries unchanged.
#pragma once
#include "runtime/values/Arrays.h"
#include "runtime/values/Memory.h"
#include "runtime/values/Numbers.h"
#include "runtime/values/Texts.h"
