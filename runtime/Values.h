// The value model shared by the runtime, the program and the skin library:
// texts, byte sets and arrays as plain heap blocks with fixed layouts, so that
// they can cross module boundaries unchanged.
#pragma once
#include <cstddef>
#include <cstdint>
#include <initializer_list>

// A Text is a pointer to NUL-terminated bytes in the ANSI code page (GBK,
// double-byte characters allowed). Null is the empty text; a producer never
// hands out a block that holds only the terminator.
using Text = char*;

// A ByteSet block: 32-bit 1, 32-bit byte count, then the bytes. Null is the
// empty byte set. (The layout of a one-dimensional byte array.)
struct ByteSetHeader {
    int32_t dimensions;  // always 1
    int32_t length;
};
using ByteSet = ByteSetHeader*;

// A ValueArray block: 32-bit dimension count n, n dimension sizes, then the
// elements in row order. Arrays of texts and byte sets own their elements.
using ValueArray = int32_t*;

// --- Memory: every block comes from the process heap. -------------------------
// Failure to allocate is the runtime error "分配 %d 字节内存失败!".
void* AllocateBlock(uint32_t size);
// Null allocates; a block in constant data is copied (up to the end of the
// constant data) into a new block; otherwise resized in place or moved.
void* ReallocateBlock(void* block, uint32_t size);
// Null and blocks inside the program's constant data are ignored.
void FreeBlock(void* block);
// RuntimeHelper 2: if *arrayVariable lies in constant data, replace it by a
// heap copy of the whole block (header and elements).
void MakeArrayWritable(uint32_t elementSize, void** arrayVariable);

// The program's constant data range (from the program image header). Values
// pointing into it are shared: never freed, never written.
void SetConstantDataRange(const void* start, uint32_t size);
bool IsConstantData(const void* p);

// --- Texts ------------------------------------------------------------------
// New text of `count` bytes; null when bytes is null or count < 1.
Text MakeText(const char* bytes, int32_t count);
// Copy up to the terminator; null for null or "".
Text CopyText(const char* text);
// Bytes before the terminating NUL; 0 for null.
int32_t TextLength(const char* text);
// Unsigned byte-wise comparison, null counting as empty: <0, 0, >0.
int TextCompare(const char* a, const char* b);
// New text made of the pieces in order (null pieces count as empty).
Text TextConcat(std::initializer_list<const char*> pieces);
// Never null: "" for the empty text, for handing to C APIs.
inline const char* TextOrEmpty(const char* text) { return text ? text : ""; }

// --- Byte sets --------------------------------------------------------------
ByteSet MakeByteSet(const void* bytes, int32_t count);  // null for count < 1
inline int32_t ByteSetLength(const ByteSetHeader* b) { return b ? b->length : 0; }
inline const uint8_t* ByteSetBytes(const ByteSetHeader* b) {
    return b ? reinterpret_cast<const uint8_t*>(b + 1) : nullptr;
}

// --- Arrays -----------------------------------------------------------------
// One-dimensional array of `count` zeroed elements of `elementSize` bytes.
ValueArray NewArray(uint32_t elementSize, int32_t count);
// Element count (product of the dimensions); 0 for null.
int32_t ArrayCount(const int32_t* array);
// Address of the first element.
void* ArrayElements(int32_t* array);
const void* ArrayElements(const int32_t* array);
template <typename T>
T* ArrayData(ValueArray array) {
    return static_cast<T*>(ArrayElements(array));
}
// Appends one element (copied bytewise) to a one-dimensional array, which may
// move; *array may be null (a new array is made).
void ArrayAppend(ValueArray* array, const void* element, uint32_t elementSize);
// Inserts at 0-based position (0..count), shifting the rest up.
void ArrayInsert(ValueArray* array, int32_t position, const void* element, uint32_t elementSize);
// Frees an array of the element type `elementTag` (a TypeTag): for texts and
// byte sets every element first, then the block. Constant arrays are kept.
void FreeArray(uint32_t elementTag, ValueArray array);
// Frees every text of a text array, then the block.
void FreeTextArray(ValueArray array);
// Frees the texts of a text array and leaves it with 0 elements.
void ClearTextArray(ValueArray* array);

// --- Numbers ----------------------------------------------------------------
// Double to 32-bit integer, truncating toward zero (also for negatives).
int32_t TruncateToInteger(double value);

// --- Ownership holders for code that keeps a block only for a while. ----------
template <typename T>
class OwnedBlock {
public:
    OwnedBlock() = default;
    explicit OwnedBlock(T block) : block_(block) {}
    OwnedBlock(const OwnedBlock&) = delete;
    OwnedBlock& operator=(const OwnedBlock&) = delete;
    OwnedBlock(OwnedBlock&& o) noexcept : block_(o.Release()) {}
    OwnedBlock& operator=(OwnedBlock&& o) noexcept {
        Reset(o.Release());
        return *this;
    }
    ~OwnedBlock() { FreeBlock(block_); }
    T Get() const { return block_; }
    T Release() {
        T b = block_;
        block_ = nullptr;
        return b;
    }
    void Reset(T block = nullptr) {
        FreeBlock(block_);
        block_ = block;
    }
    T* Put() {
        Reset();
        return &block_;
    }
    explicit operator bool() const { return block_ != nullptr; }

private:
    T block_ = nullptr;
};
using OwnedText = OwnedBlock<Text>;
using OwnedByteSet = OwnedBlock<ByteSet>;

class OwnedTextArray {
public:
    OwnedTextArray() = default;
    explicit OwnedTextArray(ValueArray a) : array_(a) {}
    OwnedTextArray(const OwnedTextArray&) = delete;
    OwnedTextArray& operator=(const OwnedTextArray&) = delete;
    ~OwnedTextArray() { FreeTextArray(array_); }
    ValueArray Get() const { return array_; }
    ValueArray* Put() { return &array_; }
    ValueArray Release() {
        ValueArray a = array_;
        array_ = nullptr;
        return a;
    }
    int32_t Count() const { return ArrayCount(array_); }
    const char* At(int32_t i) const { return ArrayData<char*>(array_)[i]; }

private:
    ValueArray array_ = nullptr;
};
