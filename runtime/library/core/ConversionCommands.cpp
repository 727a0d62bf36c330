// Conversions between numbers and texts. Texts are read after full-width
// characters have been turned into their half-width forms, so that numbers
// typed with a Chinese input method read the same as plain ones.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include "runtime/library/core/ByteParsers.h"
#include "runtime/library/core/CoreArguments.h"
#include "runtime/library/core/CoreCommandList.h"

namespace {

bool IsNumberTag(TypeTag base) {
    switch (base) {
        case Tag::kByte:
        case Tag::kShort:
        case Tag::kInteger:
        case Tag::kLong:
        case Tag::kFloat:
        case Tag::kDouble:
            return true;
        default:
            return false;
    }
}

uint32_t NumberSize(TypeTag base) {
    switch (base) {
        case Tag::kByte:
            return 1;
        case Tag::kShort:
            return 2;
        case Tag::kInteger:
        case Tag::kFloat:
            return 4;
        default:
            return 8;
    }
}

Text TextOfBytesUpToZero(const void* bytes, size_t count) {
    if (!bytes) return nullptr;
    const void* zero = std::memchr(bytes, 0, count);
    size_t n =
        zero ? static_cast<size_t>(static_cast<const char*>(zero) - static_cast<const char*>(bytes))
             : count;
    return MakeText(static_cast<const char*>(bytes), static_cast<int32_t>(n));
}

Text TextOfString(const std::string& s) {
    return MakeText(s.data(), static_cast<int32_t>(s.size()));
}

std::string FormatDouble(double v, int digits) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, v);
    return buffer;
}

// Days since 1899-12-30 as "YYYY年M月D日", with "H时M分S秒" when the time of day
// is not midnight.
std::string FormatDateTime(double days) {
    days = ClampDateTime(days);
    double whole = std::floor(days);
    int64_t seconds = static_cast<int64_t>(std::llround((days - whole) * 86400.0));
    int64_t day = static_cast<int64_t>(whole);
    if (seconds >= 86400) {
        seconds -= 86400;
        ++day;
    }
    // Civil date from a day count (days from 1970-01-01 = day - 25569).
    int64_t z = day - 25569 + 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    int64_t d = doy - (153 * mp + 2) / 5 + 1;
    int64_t m = mp < 10 ? mp + 3 : mp - 9;
    int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
    char buffer[96];
    int n = std::snprintf(buffer, sizeof buffer, "%d年%d月%d日", static_cast<int>(y),
                          static_cast<int>(m), static_cast<int>(d));
    if (seconds != 0 && n > 0) {
        std::snprintf(buffer + n, sizeof buffer - static_cast<size_t>(n), "%d时%d分%d秒",
                      static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
                      static_cast<int>(seconds % 60));
    }
    return buffer;
}

}  // namespace

void CmdToNumber(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    const ArgumentRecord* a = GivenArgument(argCount, args, 0);
    double value = 0;
    if (a) {
        TypeTag base = a->BaseTag();
        if (base == Tag::kText) {
            value =
                ReadDecimalNumber(FullWidthToHalfWidth(ArgumentText(argCount, args, 0)).c_str());
        } else if (base == Tag::kSubroutine) {
            value = static_cast<double>(ArgumentAddress(*a));
        } else if (IsNumberTag(base) || base == Tag::kBoolean) {
            value = ArgumentNumber(*a);
        }
    }
    SetResultDouble(result, value);
}

void CmdToInteger(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    const ArgumentRecord* a = GivenArgument(argCount, args, 0);
    int32_t value = 0;
    if (a) {
        TypeTag base = a->BaseTag();
        if (base == Tag::kText) {
            value =
                ReadDecimalInteger(FullWidthToHalfWidth(ArgumentText(argCount, args, 0)).c_str());
        } else if (base == Tag::kSubroutine) {
            value = static_cast<int32_t>(ArgumentAddress(*a));
        } else if (IsNumberTag(base) || base == Tag::kBoolean) {
            value = ArgumentInteger(*a);
        }
    }
    SetResultInt(result, value);
}

void CmdToText(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    const ArgumentRecord* a = GivenArgument(argCount, args, 0);
    if (!a) return SetResultText(result, nullptr);
    TypeTag base = a->BaseTag();
    // An array comes as the address of the array variable.
    if (a->IsReference() && IsNumberTag(base)) {
        const int32_t* array = LoadValue<const int32_t*>(a->AsPointer());
        Text text = nullptr;
        if (array && array[0] == 1) {
            text = TextOfBytesUpToZero(ArrayElements(array),
                                       static_cast<size_t>(ArrayCount(array)) * NumberSize(base));
        }
        return SetResultText(result, text);
    }
    const void* p = ArgumentValueAddress(*a);
    switch (base) {
        case Tag::kByte:
            return SetResultText(result, TextOfString(std::to_string(LoadValue<uint8_t>(p))));
        case Tag::kShort:
            return SetResultText(result, TextOfString(std::to_string(LoadValue<int16_t>(p))));
        case Tag::kInteger:
            return SetResultText(result, TextOfString(std::to_string(LoadValue<int32_t>(p))));
        case Tag::kLong:
            return SetResultText(
                result,
                TextOfString(std::to_string(static_cast<long long>(LoadValue<int64_t>(p)))));
        case Tag::kFloat:
            return SetResultText(result, TextOfString(FormatDouble(LoadValue<float>(p), 7)));
        case Tag::kDouble:
            return SetResultText(result, TextOfString(FormatDouble(LoadValue<double>(p), 15)));
        case Tag::kBoolean:
            return SetResultText(result, CopyText(LoadValue<int32_t>(p) != 0 ? "真" : "假"));
        case Tag::kDateTime:
            return SetResultText(result, TextOfString(FormatDateTime(LoadValue<double>(p))));
        case Tag::kText:
            return SetResultText(result, CopyText(ArgumentText(argCount, args, 0)));
        case Tag::kByteSet: {
            const ByteSetHeader* set = ArgumentByteSet(argCount, args, 0);
            return SetResultText(
                result,
                TextOfBytesUpToZero(ByteSetBytes(set), static_cast<size_t>(ByteSetLength(set))));
        }
        default:
            return SetResultText(result, nullptr);
    }
}
