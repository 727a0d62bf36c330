// The shape of one command of a support library: it fills *result (zeroed by
// the caller) from its argument records (runtime/values/Records.h).
#pragma once
#include <cstdint>

struct ArgumentRecord;
using CommandFn = void (*)(ArgumentRecord* result, int32_t argCount, ArgumentRecord* args);
