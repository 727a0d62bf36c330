// The byte-level readers behind the text, conversion and byte-set commands.
// They work on plain byte ranges and call no system function, so they can be
// exercised on any host.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Full-width GBK characters to their half-width forms: 0xA3 0xA1..0xFE to
// (second byte - 0x80), 0xA1 0xA1 to a space, 0xA1 0xAB to "~", 0xA1 0xEE and
// 0xA1 0xEF to "*". Other double-byte characters stay; a lead byte at the
// very end ends the walk (it is dropped).
std::string FullWidthToHalfWidth(const char* text);

// The decimal number at the start of `text` (blanks skipped, optional sign,
// digits, fraction, exponent); 0 when nothing is readable.
double ReadDecimalNumber(const char* text);
// The decimal integer at the start of `text`; saturates at the 32-bit range.
int32_t ReadDecimalInteger(const char* text);

// One piece of a split text: offset and length in bytes.
struct TextPiece {
    size_t offset;
    size_t length;
};
// Splits `length` bytes at every occurrence of `delimiter`, stepping over
// double-byte characters; `maxCount` < 0 means no limit.
std::vector<TextPiece> SplitTextPieces(const char* text, size_t length, const char* delimiter,
                                       size_t delimiterLength, int32_t maxCount);

// Sizes of the values a byte set can hold, by type code (1-9); 0 otherwise.
uint32_t ByteSetValueSize(int32_t typeCode);

// What one read from a byte set gives.
struct ByteSetRead {
    uint8_t value[8] = {};     // non-text types, missing high bytes zero
    size_t textOffset = 0;     // text type: where the text starts
    size_t textLength = 0;     //   and its length without a terminator
    int32_t nextPosition = 0;  // 1-based position after the read; -1 at the end
    bool positionChanged = false;
};
// Reads one value of `typeCode` (1-10) at the 1-based `position` of `length`
// bytes. A position below 1 reads nothing and leaves it unchanged.
ByteSetRead ReadByteSetValue(const uint8_t* bytes, int32_t length, int32_t typeCode,
                             int32_t position);

// Case-aware comparison of two GBK texts: a double-byte character compares as
// one unit and is never case-folded; ASCII letters fold when !caseSensitive.
int CompareGbkText(const char* a, const char* b, bool caseSensitive);

// "a" to "z" become "A" to "Z"; double-byte characters are copied unchanged.
std::string UpperCaseGbk(const char* text);
