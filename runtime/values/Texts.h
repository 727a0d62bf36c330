// Texts and byte sets: heap blocks whose empty value is always null.
#pragma once
#include <cstdint>
#include <initializer_list>

#include "runtime/values/Memory.h"

// A Text is a pointer to NUL-terminated bytes in the ANSI code page (GBK,
// double-byte characters allowed). Null is the empty text; a producer never
// hands out a block that holds only the terminator.
using Text = char*;

// A ByteSet block: 32-bit 1, 32-bit byte count, then the bytes. Null is the
// empty byte set. (The layout of a one-dimensional byte array.)
struct ByteSetHeader {
    int32_t dimensions;  // always 1
    int32_t length;
};
using ByteSet = ByteSetHeader*;

// New text of `count` bytes; null when bytes is null or count < 1.
Text MakeText(const char* bytes, int32_t count);
// Copy up to the terminator; null for null or "".
Text CopyText(const char* text);
// Bytes before the terminating NUL; 0 for null.
int32_t TextLength(const char* text);
// Unsigned byte-wise comparison, null counting as empty: <0, 0, >0.
int TextCompare(const char* a, const char* b);
// New text made of the pieces in order (null pieces count as empty).
Text TextConcat(std::initializer_list<const char*> pieces);
// Never null: "" for the empty text, for handing to C APIs.
inline const char* TextOrEmpty(const char* text) {
    return text ? text : "";
}

ByteSet MakeByteSet(const void* bytes, int32_t count);  // null for count < 1
inline int32_t ByteSetLength(const ByteSetHeader* b) {
    return b ? b->length : 0;
}
inline const uint8_t* ByteSetBytes(const ByteSetHeader* b) {
    return b ? reinterpret_cast<const uint8_t*>(b + 1) : nullptr;
}

using OwnedText = OwnedBlock<Text>;
using OwnedByteSet = OwnedBlock<ByteSet>;
