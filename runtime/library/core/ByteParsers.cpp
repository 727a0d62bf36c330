// Byte-level readers for texts and byte sets (no system calls here).
#include "runtime/library/core/ByteParsers.h"
#include <cstdlib>
#include <cstring>

namespace {

bool IsLeadByte(unsigned char c) {
    return c >= 0x80;
}
bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
bool IsBlank(unsigned char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
unsigned char FoldCase(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

}  // namespace

std::string FullWidthToHalfWidth(const char* text) {
    std::string out;
    if (!text) return out;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (*p) {
        unsigned char lead = *p;
        if (!IsLeadByte(lead)) {
            out.push_back(static_cast<char>(lead));
            ++p;
            continue;
        }
        unsigned char trail = p[1];
        if (trail == 0) break;
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            out.push_back(static_cast<char>(trail - 0x80));
        } else if (lead == 0xA1 && trail == 0xA1) {
            out.push_back(' ');
        } else if (lead == 0xA1 && trail == 0xAB) {
            out.push_back('~');
        } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
            out.push_back('*');
        } else {
            out.push_back(static_cast<char>(lead));
            out.push_back(static_cast<char>(trail));
        }
        p += 2;
    }
    return out;
}

double ReadDecimalNumber(const char* text) {
    if (!text) return 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (IsBlank(*p)) ++p;
    // Only the part that fits the grammar goes to the converter, so that
    // hexadecimal forms, "inf" and "nan" are never read.
    std::string number;
    if (*p == '+' || *p == '-') number.push_back(static_cast<char>(*p++));
    size_t digits = 0;
    while (IsDigit(*p)) {
        number.push_back(static_cast<char>(*p++));
        ++digits;
    }
    if (*p == '.') {
        number.push_back('.');
        ++p;
        while (IsDigit(*p)) {
            number.push_back(static_cast<char>(*p++));
            ++digits;
        }
    }
    if (digits == 0) return 0;
    if (*p == 'e' || *p == 'E') {
        const unsigned char* e = p + 1;
        if (*e == '+' || *e == '-') ++e;
        if (IsDigit(*e)) {
            number.append(reinterpret_cast<const char*>(p), static_cast<size_t>(e - p));
            p = e;
            while (IsDigit(*p)) number.push_back(static_cast<char>(*p++));
        }
    }
    return std::strtod(number.c_str(), nullptr);
}

int32_t ReadDecimalInteger(const char* text) {
    if (!text) return 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (IsBlank(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    int64_t value = 0;
    while (IsDigit(*p)) {
        if (value <= 0x80000000ll) value = value * 10 + (*p - '0');
        ++p;
    }
    if (negative) value = -value;
    if (value > 0x7FFFFFFFll) return 0x7FFFFFFF;
    if (value < -0x80000000ll) return static_cast<int32_t>(0x80000000u);
    return static_cast<int32_t>(value);
}

std::vector<TextPiece> SplitTextPieces(const char* text, size_t length, const char* delimiter,
                                       size_t delimiterLength, int32_t maxCount) {
    std::vector<TextPiece> pieces;
    if (!text || length == 0 || maxCount == 0) return pieces;
    if (!delimiter || delimiterLength == 0) {
        pieces.push_back({0, length});
        return pieces;
    }
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    size_t cut = 0;
    size_t i = 0;
    while (i < length) {
        if (length - i >= delimiterLength &&
            std::memcmp(bytes + i, delimiter, delimiterLength) == 0) {
            pieces.push_back({cut, i - cut});
            i += delimiterLength;
            cut = i;
            if (maxCount > 0 && pieces.size() >= static_cast<size_t>(maxCount)) return pieces;
            continue;
        }
        if (IsLeadByte(bytes[i])) {
            if (i + 1 >= length) break;
            i += 2;
        } else {
            ++i;
        }
    }
    if (cut < length) pieces.push_back({cut, length - cut});
    return pieces;
}

uint32_t ByteSetValueSize(int32_t typeCode) {
    switch (typeCode) {
        case 1:
            return 1;
        case 2:
            return 2;
        case 3:
            return 4;
        case 4:
            return 8;
        case 5:
            return 4;
        case 6:
            return 8;
        case 7:
            return 4;
        case 8:
            return 8;
        case 9:
            return static_cast<uint32_t>(sizeof(void*));
        default:
            return 0;
    }
}

ByteSetRead ReadByteSetValue(const uint8_t* bytes, int32_t length, int32_t typeCode,
                             int32_t position) {
    ByteSetRead read;
    if (!bytes || length < 0) length = 0;
    if (position < 1) {
        read.nextPosition = position;
        return read;
    }
    read.positionChanged = true;
    if (position > length) {
        read.nextPosition = -1;
        return read;
    }
    size_t start = static_cast<size_t>(position - 1);
    size_t remaining = static_cast<size_t>(length) - start;
    size_t consumed;
    if (typeCode == 10) {
        const void* zero = std::memchr(bytes + start, 0, remaining);
        read.textOffset = start;
        read.textLength =
            zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - (bytes + start))
                 : remaining;
        consumed = zero ? read.textLength + 1 : read.textLength;
    } else {
        size_t size = ByteSetValueSize(typeCode);
        consumed = remaining < size ? remaining : size;
        std::memcpy(read.value, bytes + start, consumed);
    }
    size_t next = start + consumed;  // 0-based
    read.nextPosition = next >= static_cast<size_t>(length) ? -1 : static_cast<int32_t>(next + 1);
    return read;
}

int CompareGbkText(const char* a, const char* b, bool caseSensitive) {
    const unsigned char* x = reinterpret_cast<const unsigned char*>(a ? a : "");
    const unsigned char* y = reinterpret_cast<const unsigned char*>(b ? b : "");
    for (;;) {
        unsigned char cx = *x;
        unsigned char cy = *y;
        if (cx == 0 || cy == 0) return static_cast<int>(cx) - static_cast<int>(cy);
        if (IsLeadByte(cx) || IsLeadByte(cy)) {
            // Lead bytes differ, or a lead byte meets a single-byte character.
            if (cx != cy) return static_cast<int>(cx) - static_cast<int>(cy);
            // Same lead byte: the trail bytes decide, unfolded.
            unsigned char tx = x[1];
            unsigned char ty = y[1];
            if (tx != ty) return static_cast<int>(tx) - static_cast<int>(ty);
            if (tx == 0) return 0;
            x += 2;
            y += 2;
            continue;
        }
        if (!caseSensitive) {
            cx = FoldCase(cx);
            cy = FoldCase(cy);
        }
        if (cx != cy) return static_cast<int>(cx) - static_cast<int>(cy);
        ++x;
        ++y;
    }
}

std::string UpperCaseGbk(const char* text) {
    std::string out;
    if (!text) return out;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (*p) {
        unsigned char c = *p++;
        if (IsLeadByte(c)) {
            out.push_back(static_cast<char>(c));
            if (*p) out.push_back(static_cast<char>(*p++));
        } else {
            out.push_back(static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c));
        }
    }
    return out;
}
