// Conversion of values into argument slots.
#include "runtime/values/ValueSlots.h"
#include <cstring>
#include "runtime/library/core/CoreArguments.h"

void StoreValueInSlot(ArgumentRecord* slot, TypeTag type, const void* source, uint32_t length) {
    *slot = MakeRecord(0, type);
    switch (type) {
        case Tag::kByte:
            *slot = MakeRecord(LoadValue<uint8_t>(source), type);
            break;
        case Tag::kShort:
            *slot = MakeRecord(LoadValue<int16_t>(source), type);
            break;
        case Tag::kInteger:
            *slot = MakeRecord(LoadValue<int32_t>(source), type);
            break;
        case Tag::kLong:
            *slot = MakeRecord(LoadValue<int64_t>(source), type);
            break;
        case Tag::kFloat:
            *slot = MakeRecord(LoadValue<uint32_t>(source), type);
            break;
        case Tag::kDouble:
            *slot = MakeRecord(LoadValue<int64_t>(source), type);
            break;
        case Tag::kBoolean:
            *slot = MakeRecord(LoadValue<int32_t>(source) != 0 ? 1 : 0, type);
            break;
        case Tag::kDateTime: {
            double days = LoadValue<double>(source);
            *slot = ArgDouble(days == days ? ClampDateTime(days) : 0);
            slot->tag = type;
            break;
        }
        case Tag::kText: {
            const char* bytes = static_cast<const char*>(source);
            const void* zero = bytes ? std::memchr(bytes, 0, length) : nullptr;
            size_t n = zero ? static_cast<size_t>(static_cast<const char*>(zero) - bytes) : length;
            if (n > 0x7FFFFFFF) n = 0x7FFFFFFF;
            SetResultText(slot, MakeText(bytes, static_cast<int32_t>(n)));
            break;
        }
        case Tag::kByteSet: {
            const ByteSetHeader* set = static_cast<const ByteSetHeader*>(source);
            SetResultByteSet(slot, MakeByteSet(ByteSetBytes(set), ByteSetLength(set)));
            break;
        }
        case Tag::kSubroutine:
            *slot = ArgSubroutine(source);
            break;
        default:
            break;
    }
}
