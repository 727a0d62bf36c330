// Reading the argument records of the core library's commands: optional
// arguments, values passed directly or by reference, numbers of any type.
#pragma once
#include <cstdint>
#include <cstring>
#include "runtime/values/Records.h"
#include "runtime/values/Values.h"

// The record at `index`, or null when it is missing or left out.
inline const ArgumentRecord* GivenArgument(int32_t argCount, const ArgumentRecord* args,
                                           int32_t index) {
    if (!args || index < 0 || index >= argCount || args[index].IsOmitted()) return nullptr;
    return &args[index];
}

// Where the argument's value lies: in the record, or in the caller's variable
// when it is passed by reference.
inline const void* ArgumentValueAddress(const ArgumentRecord& a) {
    if (a.IsReference()) return a.AsPointer();
    return &a.low;
}

template <typename T>
T LoadValue(const void* address) {
    T v{};
    if (address) std::memcpy(&v, address, sizeof v);
    return v;
}

// The value of an argument of an integer type (byte, short, integer, long;
// booleans as 0 or 1) in *value; false for any other type.
inline bool IntegerArgument(const ArgumentRecord& a, int64_t* value) {
    const void* p = ArgumentValueAddress(a);
    switch (a.BaseTag()) {
        case Tag::kByte:
            *value = LoadValue<uint8_t>(p);
            return true;
        case Tag::kShort:
            *value = LoadValue<int16_t>(p);
            return true;
        case Tag::kInteger:
            *value = LoadValue<int32_t>(p);
            return true;
        case Tag::kLong:
            *value = LoadValue<int64_t>(p);
            return true;
        case Tag::kBoolean:
            *value = LoadValue<int32_t>(p) != 0 ? 1 : 0;
            return true;
        default:
            return false;
    }
}

// A numeric value of any number type as double; booleans as 0 or 1.
// `known` tells whether the type was a number at all.
inline double ArgumentNumber(const ArgumentRecord& a, bool* known = nullptr) {
    if (known) *known = true;
    int64_t integer = 0;
    if (IntegerArgument(a, &integer)) return static_cast<double>(integer);
    const void* p = ArgumentValueAddress(a);
    if (a.BaseTag() == Tag::kFloat) return LoadValue<float>(p);
    if (a.BaseTag() == Tag::kDouble) return LoadValue<double>(p);
    if (known) *known = false;
    return 0;
}

// A numeric argument as a 32-bit integer (floats truncated toward zero).
inline int32_t ArgumentInteger(const ArgumentRecord& a) {
    int64_t integer = 0;
    if (IntegerArgument(a, &integer)) return static_cast<int32_t>(integer);
    return TruncateToInteger(ArgumentNumber(a));
}

inline int32_t OptionalInteger(int32_t argCount, const ArgumentRecord* args, int32_t index,
                               int32_t fallback) {
    const ArgumentRecord* a = GivenArgument(argCount, args, index);
    return a ? ArgumentInteger(*a) : fallback;
}

// A pointer-sized value (address, code address, handle) of an argument.
inline uintptr_t ArgumentAddress(const ArgumentRecord& a) {
    const void* p = ArgumentValueAddress(a);
    switch (a.BaseTag()) {
        case Tag::kByte:
        case Tag::kShort:
        case Tag::kInteger:
        case Tag::kBoolean:
        case Tag::kFloat:
        case Tag::kDouble:
            return static_cast<uintptr_t>(static_cast<intptr_t>(ArgumentInteger(a)));
        case Tag::kLong:
            return static_cast<uintptr_t>(LoadValue<uint64_t>(p));
        default:
            return LoadValue<uintptr_t>(p);
    }
}

// A text argument, never null ("" for the empty text or another type).
inline const char* ArgumentText(int32_t argCount, const ArgumentRecord* args, int32_t index) {
    const ArgumentRecord* a = GivenArgument(argCount, args, index);
    if (!a || a->BaseTag() != Tag::kText) return "";
    return TextOrEmpty(LoadValue<const char*>(ArgumentValueAddress(*a)));
}

// A byte-set argument (null for the empty byte set or another type).
inline const ByteSetHeader* ArgumentByteSet(int32_t argCount, const ArgumentRecord* args,
                                            int32_t index) {
    const ArgumentRecord* a = GivenArgument(argCount, args, index);
    if (!a || a->BaseTag() != Tag::kByteSet) return nullptr;
    return LoadValue<const ByteSetHeader*>(ArgumentValueAddress(*a));
}

// Date-times are kept within the range the runtime can show.
inline double ClampDateTime(double days) {
    if (days < kDateTimeMin) return kDateTimeMin;
    if (days > kDateTimeMax) return kDateTimeMax;
    return days;
}
