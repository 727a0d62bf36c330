// Value arrays: dimension count, dimension sizes, then the elements.
#pragma once
#include <cstdint>

#include "runtime/values/Memory.h"

// A ValueArray block: 32-bit dimension count n, n dimension sizes, then the
// elements in row order. Arrays of texts and byte sets own their elements.
using ValueArray = int32_t*;

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

// RuntimeHelper 2: if *arrayVariable lies in constant data, replace it by a
// heap copy of the whole block (header and elements).
void MakeArrayWritable(uint32_t elementSize, void** arrayVariable);

// A text array kept only for a while: its texts and block freed when it goes.
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
