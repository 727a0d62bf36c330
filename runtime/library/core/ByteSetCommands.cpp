// Reading values out of byte sets, and byte sets and texts from raw memory.
#include <cstring>
#include "runtime/library/core/ByteParsers.h"
#include "runtime/library/core/CoreArguments.h"
#include "runtime/library/core/CoreCommandList.h"
#include "runtime/process/RuntimeError.h"
#include "runtime/process/RuntimeMessages.h"

namespace {

void SetResultFromRead(ResultRecord* result, int32_t typeCode, const ByteSetRead& read,
                       const uint8_t* bytes) {
    switch (typeCode) {
        case 1:
            *result = MakeRecord(LoadValue<uint8_t>(read.value), Tag::kByte);
            break;
        case 2:
            *result = MakeRecord(LoadValue<int16_t>(read.value), Tag::kShort);
            break;
        case 3:
            *result = MakeRecord(LoadValue<int32_t>(read.value), Tag::kInteger);
            break;
        case 4:
            *result = MakeRecord(LoadValue<int64_t>(read.value), Tag::kLong);
            break;
        case 5:
            *result = MakeRecord(LoadValue<uint32_t>(read.value), Tag::kFloat);
            break;
        case 6:
            *result = MakeRecord(LoadValue<int64_t>(read.value), Tag::kDouble);
            break;
        case 7:
            SetResultBool(result, LoadValue<int32_t>(read.value) != 0);
            break;
        case 8: {
            double days = LoadValue<double>(read.value);
            // Clamping a NaN would keep it; an unreadable date-time is day 0.
            days = days == days ? ClampDateTime(days) : 0;
            *result = ArgDouble(days);
            result->tag = Tag::kDateTime;
            break;
        }
        case 9:
            *result = MakeRecord(static_cast<int64_t>(LoadValue<uintptr_t>(read.value)),
                                 Tag::kSubroutine);
            break;
        default:
            SetResultText(result,
                          bytes ? MakeText(reinterpret_cast<const char*>(bytes) + read.textOffset,
                                           static_cast<int32_t>(read.textLength))
                                : nullptr);
            break;
    }
}

}  // namespace

void CmdReadFromByteSet(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    int32_t typeCode = OptionalInteger(argCount, args, 1, 0);
    if (typeCode < 1 || typeCode > 10)
        ReportRuntimeErrorText(RuntimeMessage::kDataTypeInvalid, 0, 0);
    const ByteSetHeader* set = ArgumentByteSet(argCount, args, 0);
    const ArgumentRecord* positionArg = GivenArgument(argCount, args, 2);
    int32_t position = positionArg ? ArgumentInteger(*positionArg) : 1;
    ByteSetRead read = ReadByteSetValue(ByteSetBytes(set), ByteSetLength(set), typeCode, position);
    SetResultFromRead(result, typeCode, read, ByteSetBytes(set));
    if (positionArg && positionArg->IsReference() && read.positionChanged) {
        void* variable = positionArg->AsPointer();
        switch (positionArg->BaseTag()) {
            case Tag::kInteger:
                std::memcpy(variable, &read.nextPosition, 4);
                break;
            case Tag::kLong: {
                int64_t wide = read.nextPosition;
                std::memcpy(variable, &wide, 8);
                break;
            }
            case Tag::kDouble: {
                double d = read.nextPosition;
                std::memcpy(variable, &d, 8);
                break;
            }
            default:
                break;
        }
    }
}

void CmdByteSetAtAddress(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    const ArgumentRecord* a = GivenArgument(argCount, args, 0);
    const void* address = a ? reinterpret_cast<const void*>(ArgumentAddress(*a)) : nullptr;
    int32_t length = OptionalInteger(argCount, args, 1, 0);
    SetResultByteSet(result, address ? MakeByteSet(address, length) : nullptr);
}
