// Storing a value of a given type into an argument slot (a record's 8-byte
// value and tag), as the runtime does whenever a command keeps or hands on a
// value: booleans become 0 or 1, date-times are kept within their range,
// texts and byte sets are copied.
#pragma once
#include <cstdint>
#include "runtime/values/Records.h"

// Fills `slot` with the value of `type` found at `source`:
// - numbers: `source` points at the number, copied by its size;
// - boolean: `source` points at a 32-bit value, stored as 0 or 1;
// - date-time: `source` points at a double, clamped to the date-time range;
// - text: `source` points at bytes, copied up to the first zero byte within
//   `length` bytes (a new text owned by the slot's holder; null for empty);
// - byte set: `source` is a ByteSet block, copied (null for empty);
// - subroutine pointer: `source` is the code address itself.
// Any other type leaves a zero value with that tag.
void StoreValueInSlot(ArgumentRecord* slot, TypeTag type, const void* source, uint32_t length);
