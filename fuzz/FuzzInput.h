// A cursor over a fuzz input, for drivers that cut one input into several
// arguments (a header, a delimiter, a set of resources).
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

class FuzzInput {
  public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    size_t Remaining() const { return size_ - offset_; }
    uint8_t Byte() { return offset_ < size_ ? data_[offset_++] : 0; }
    uint16_t U16() { return uint16_t(Byte() | Byte() << 8); }
    uint32_t U32() { return uint32_t(U16()) | uint32_t(U16()) << 16; }
    // At most `count` bytes, as an exact-size copy: a read one byte past it is caught.
    std::vector<uint8_t> Take(size_t count) {
        if (count > Remaining()) count = Remaining();
        std::vector<uint8_t> bytes(data_ + offset_, data_ + offset_ + count);
        offset_ += count;
        return bytes;
    }
    std::vector<uint8_t> Rest() { return Take(Remaining()); }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t offset_ = 0;
};

// A broken property of a parser: abort, so that libFuzzer keeps the input.
#define FUZZ_CHECK(condition)           \
    do {                                \
        if (!(condition)) std::abort(); \
    } while (0)
