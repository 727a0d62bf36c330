// Type tags and the 12-byte argument and result records through which the
// program calls the runtime's commands and the skin library's commands.
#pragma once
#include <cstdint>
#include <cstring>
#include "runtime/values/Values.h"

using TypeTag = uint32_t;
namespace Tag {
constexpr TypeTag kOmitted = 0;  // an optional argument left out
constexpr TypeTag kByte = 0x80000101;
constexpr TypeTag kShort = 0x80000201;
constexpr TypeTag kInteger = 0x80000301;
constexpr TypeTag kLong = 0x80000401;
constexpr TypeTag kFloat = 0x80000501;
constexpr TypeTag kDouble = 0x80000601;
constexpr TypeTag kBoolean = 0x80000002;
constexpr TypeTag kDateTime = 0x80000003;
constexpr TypeTag kText = 0x80000004;
constexpr TypeTag kByteSet = 0x80000005;
constexpr TypeTag kSubroutine = 0x80000006;
// On a value: an array of that type. On an argument: passed by reference
// (the value is the variable's address).
constexpr TypeTag kArrayOrReference = 0x20000000;
// Element types used as tags of window and component references.
constexpr TypeTag kWindow = 0x00010001;
constexpr TypeTag kMenuEntry = 0x00010003;
}  // namespace Tag

constexpr double kDateTimeMin = -657434.0;
constexpr double kDateTimeMax = 2958465.0;

// Value (8 bytes, low word first) then tag. Pointers are stored in the value
// (32 bits on i686, 64 on x86_64).
#pragma pack(push, 4)
struct ArgumentRecord {
    uint32_t low = 0;
    uint32_t high = 0;
    TypeTag tag = Tag::kOmitted;

    int64_t AsInt64() const { return static_cast<int64_t>((uint64_t(high) << 32) | low); }
    int32_t AsInt() const { return static_cast<int32_t>(low); }
    double AsDouble() const {
        double d;
        uint64_t bits = (uint64_t(high) << 32) | low;
        std::memcpy(&d, &bits, 8);
        return d;
    }
    void* AsPointer() const { return reinterpret_cast<void*>(static_cast<uintptr_t>(AsInt64())); }
    const char* AsText() const { return static_cast<const char*>(AsPointer()); }
    ByteSet AsByteSet() const { return static_cast<ByteSet>(AsPointer()); }
    bool IsOmitted() const { return tag == Tag::kOmitted; }
    bool IsReference() const { return (tag & Tag::kArrayOrReference) != 0 && (tag & 0x80000000u); }
    // The base type of the tag without the reference bit.
    TypeTag BaseTag() const { return tag & ~Tag::kArrayOrReference; }
    // Window or component references: WindowId low, ComponentId high.
    uint32_t WindowId() const { return low; }
    uint32_t ComponentId() const { return high; }
};
#pragma pack(pop)
static_assert(sizeof(ArgumentRecord) == 12, "argument records are 12 bytes");

// Zeroed before each command; a command without a result leaves it zero.
using ResultRecord = ArgumentRecord;

inline ArgumentRecord MakeRecord(int64_t value, TypeTag tag) {
    ArgumentRecord r;
    r.low = static_cast<uint32_t>(static_cast<uint64_t>(value));
    r.high = static_cast<uint32_t>(static_cast<uint64_t>(value) >> 32);
    r.tag = tag;
    return r;
}
inline ArgumentRecord ArgInt(int32_t v) {
    return MakeRecord(v, Tag::kInteger);
}
inline ArgumentRecord ArgLong(int64_t v) {
    return MakeRecord(v, Tag::kLong);
}
inline ArgumentRecord ArgBool(bool v) {
    return MakeRecord(v ? 1 : 0, Tag::kBoolean);
}
inline ArgumentRecord ArgDouble(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    return MakeRecord(static_cast<int64_t>(bits), Tag::kDouble);
}
// A text argument is never null: the empty text passes as "".
inline ArgumentRecord ArgText(const char* v) {
    return MakeRecord(static_cast<int64_t>(reinterpret_cast<uintptr_t>(TextOrEmpty(v))),
                      Tag::kText);
}
inline ArgumentRecord ArgByteSet(const ByteSetHeader* v) {
    return MakeRecord(static_cast<int64_t>(reinterpret_cast<uintptr_t>(v)), Tag::kByteSet);
}
inline ArgumentRecord ArgSubroutine(const void* code) {
    return MakeRecord(static_cast<int64_t>(reinterpret_cast<uintptr_t>(code)), Tag::kSubroutine);
}
// A variable passed by reference: `tag` is the variable's type.
inline ArgumentRecord ArgReference(void* variable, TypeTag tag) {
    return MakeRecord(static_cast<int64_t>(reinterpret_cast<uintptr_t>(variable)),
                      tag | Tag::kArrayOrReference);
}
inline ArgumentRecord ArgOmitted() {
    return ArgumentRecord{};
}
// A window or component: its element type id as tag.
inline ArgumentRecord ArgComponent(TypeTag typeId, uint32_t windowId, uint32_t componentId) {
    ArgumentRecord r;
    r.low = windowId;
    r.high = componentId;
    r.tag = typeId;
    return r;
}

// Storing a result.
inline void SetResultInt(ResultRecord* r, int32_t v) {
    *r = ArgInt(v);
}
inline void SetResultBool(ResultRecord* r, bool v) {
    *r = ArgBool(v);
}
inline void SetResultDouble(ResultRecord* r, double v) {
    *r = ArgDouble(v);
}
inline void SetResultText(ResultRecord* r, Text owned) {
    *r = MakeRecord(static_cast<int64_t>(reinterpret_cast<uintptr_t>(owned)), Tag::kText);
}
inline void SetResultByteSet(ResultRecord* r, ByteSet owned) {
    *r = MakeRecord(static_cast<int64_t>(reinterpret_cast<uintptr_t>(owned)), Tag::kByteSet);
}
inline void SetResultArray(ResultRecord* r, ValueArray owned, TypeTag elementTag) {
    *r = MakeRecord(static_cast<int64_t>(reinterpret_cast<uintptr_t>(owned)),
                    elementTag | Tag::kArrayOrReference);
}
