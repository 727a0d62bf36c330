// A bounded little-endian reader over untrusted bytes. Every read checks the
// remaining length first, so parsers built on it never run past the end.
// Pure byte handling: no Win32 here, so the parsers can be fuzzed natively.
#pragma once
#include <cstddef>
#include <cstdint>

class ByteReader {
  public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(data ? size : 0) {}

    size_t Offset() const { return offset_; }
    size_t Remaining() const { return size_ - offset_; }

    bool ReadU32(uint32_t& value) {
        if (Remaining() < 4) return false;
        const uint8_t* p = data_ + offset_;
        value = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
        offset_ += 4;
        return true;
    }
    bool ReadI32(int32_t& value) {
        uint32_t raw;
        if (!ReadU32(raw)) return false;
        value = static_cast<int32_t>(raw);
        return true;
    }
    bool ReadBytes(size_t count, const uint8_t*& bytes) {
        if (Remaining() < count) return false;
        bytes = data_ + offset_;
        offset_ += count;
        return true;
    }
    bool Skip(size_t count) {
        const uint8_t* ignored;
        return ReadBytes(count, ignored);
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t offset_ = 0;
};

inline uint32_t LoadU32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline uint16_t LoadU16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}

// True when [offset, offset + length) lies inside a buffer of `size` bytes,
// without overflowing.
inline bool RangeInside(uint64_t offset, uint64_t length, uint64_t size) {
    return offset <= size && length <= size - offset;
}
