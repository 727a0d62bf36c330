// Reading the argument records of the icon and shell libraries' commands:
// optional arguments, numbers of any numeric type, texts and output variables.
#pragma once
#include <cstdint>
#include <cstring>
#include "runtime/values/Records.h"
#include "runtime/values/Values.h"

// The record at `index`, or null when the caller passed fewer arguments.
inline const ArgumentRecord* ArgumentAt(int32_t argCount, const ArgumentRecord* args,
                                        int32_t index) {
    return (args && index >= 0 && index < argCount) ? &args[index] : nullptr;
}

inline bool ArgumentGiven(int32_t argCount, const ArgumentRecord* args, int32_t index) {
    const ArgumentRecord* a = ArgumentAt(argCount, args, index);
    return a && !a->IsOmitted();
}

// A numeric argument as a 32-bit integer (floats truncated toward zero);
// `fallback` when it was left out or is not a number.
inline int32_t ArgumentInt(int32_t argCount, const ArgumentRecord* args, int32_t index,
                           int32_t fallback) {
    const ArgumentRecord* a = ArgumentAt(argCount, args, index);
    if (!a || a->IsOmitted()) return fallback;
    switch (a->tag) {
        case Tag::kByte:
            return static_cast<uint8_t>(a->low);
        case Tag::kShort:
            return static_cast<int16_t>(a->low);
        case Tag::kInteger:
        case Tag::kBoolean:
            return a->AsInt();
        case Tag::kLong:
            return static_cast<int32_t>(a->AsInt64());
        case Tag::kFloat: {
            float f;
            uint32_t bits = a->low;
            std::memcpy(&f, &bits, 4);
            return TruncateToInteger(f);
        }
        case Tag::kDouble:
            return TruncateToInteger(a->AsDouble());
        default:
            return fallback;
    }
}

// A text argument ("" when left out or not a text). Not named ArgumentText:
// the core library's reader of that name (CoreArguments.h) also follows
// references, and two different inline functions of one name in one program
// leave the linker free to keep either.
inline const char* TextArgument(int32_t argCount, const ArgumentRecord* args, int32_t index) {
    const ArgumentRecord* a = ArgumentAt(argCount, args, index);
    if (!a || a->tag != Tag::kText) return "";
    return TextOrEmpty(a->AsText());
}

// The address of an output variable of the given type passed by reference, or
// null when that argument is missing or of another type.
inline void* OutputVariable(int32_t argCount, const ArgumentRecord* args, int32_t index,
                            TypeTag type) {
    const ArgumentRecord* a = ArgumentAt(argCount, args, index);
    if (!a || !a->IsReference() || a->BaseTag() != type) return nullptr;
    return a->AsPointer();
}

// Stores a copy of `value` into a text variable, freeing the text it held.
inline void StoreTextVariable(void* variable, const char* value) {
    Text* slot = static_cast<Text*>(variable);
    FreeBlock(*slot);
    *slot = CopyText(value);
}
