// Texts and byte sets as heap blocks. An empty value is always null, so a
// consumer never has to tell an empty block from a missing one.
#include <cstring>
#include "runtime/values/Texts.h"

Text MakeText(const char* bytes, int32_t count) {
    if (!bytes || count < 1 || bytes[0] == 0) return nullptr;
    Text text = static_cast<Text>(AllocateBlock(static_cast<uint32_t>(count) + 1));
    std::memcpy(text, bytes, static_cast<size_t>(count));
    text[count] = 0;
    return text;
}

Text CopyText(const char* text) {
    return MakeText(text, TextLength(text));
}

int32_t TextLength(const char* text) {
    if (!text) return 0;
    size_t n = std::strlen(text);
    return n > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int32_t>(n);
}

int TextCompare(const char* a, const char* b) {
    const unsigned char* x = reinterpret_cast<const unsigned char*>(a ? a : "");
    const unsigned char* y = reinterpret_cast<const unsigned char*>(b ? b : "");
    while (*x && *x == *y) {
        ++x;
        ++y;
    }
    return static_cast<int>(*x) - static_cast<int>(*y);
}

Text TextConcat(std::initializer_list<const char*> pieces) {
    uint64_t total = 0;
    for (const char* piece : pieces) total += static_cast<uint32_t>(TextLength(piece));
    if (total == 0) return nullptr;
    // The sum of several texts can exceed what a block size can say.
    if (total >= 0xFFFFFFFFull) ReportAllocationFailure(total + 1);
    Text text = static_cast<Text>(AllocateBlock(static_cast<uint32_t>(total) + 1));
    char* out = text;
    for (const char* piece : pieces) {
        int32_t n = TextLength(piece);
        if (n) std::memcpy(out, piece, static_cast<size_t>(n));
        out += n;
    }
    *out = 0;
    return text;
}

ByteSet MakeByteSet(const void* bytes, int32_t count) {
    if (count < 1) return nullptr;
    ByteSet set = static_cast<ByteSet>(
        AllocateBlock(static_cast<uint32_t>(count) + static_cast<uint32_t>(sizeof(ByteSetHeader))));
    set->dimensions = 1;
    set->length = count;
    uint8_t* data = reinterpret_cast<uint8_t*>(set + 1);
    if (bytes) {
        std::memcpy(data, bytes, static_cast<size_t>(count));
    } else {
        std::memset(data, 0, static_cast<size_t>(count));
    }
    return set;
}
