// Value arrays: dimension count, dimension sizes, then the elements. The
// program's own arrays are one-dimensional and grow one element at a time.
#include <cstring>
#include "runtime/values/Arrays.h"

namespace {

// Block size of a one-dimensional array, reporting sizes no block can have.
uint32_t OneDimensionalSize(uint32_t elementSize, int32_t count) {
    uint64_t total = 8 + static_cast<uint64_t>(count) * elementSize;
    if (total > 0xFFFFFFFFull) ReportAllocationFailure(total);
    return static_cast<uint32_t>(total);
}

// Gives *array room for `count` elements as a one-dimensional writable array,
// keeping the elements it had (in row order).
void ResizeOneDimensional(ValueArray* array, uint32_t elementSize, int32_t count) {
    int32_t old = ArrayCount(*array);
    uint32_t size = OneDimensionalSize(elementSize, count);
    if (*array && (*array)[0] == 1 && !IsConstantData(*array)) {
        *array = static_cast<ValueArray>(ReallocateBlock(*array, size));
        (*array)[1] = count;
        return;
    }
    ValueArray fresh = static_cast<ValueArray>(AllocateBlock(size));
    fresh[0] = 1;
    fresh[1] = count;
    int32_t kept = old < count ? old : count;
    if (kept > 0) {
        std::memcpy(ArrayElements(fresh), ArrayElements(*array),
                    static_cast<size_t>(kept) * elementSize);
    }
    FreeBlock(*array);
    *array = fresh;
}

}  // namespace

ValueArray NewArray(uint32_t elementSize, int32_t count) {
    if (count < 0) count = 0;
    uint32_t size = OneDimensionalSize(elementSize, count);
    ValueArray array = static_cast<ValueArray>(AllocateBlock(size));
    std::memset(array, 0, size);
    array[0] = 1;
    array[1] = count;
    return array;
}

int32_t ArrayCount(const int32_t* array) {
    if (!array || array[0] < 1) return 0;
    int64_t count = 1;
    for (int32_t i = 1; i <= array[0]; ++i) {
        if (array[i] <= 0) return 0;
        count *= array[i];
        if (count > 0x7FFFFFFF) return 0x7FFFFFFF;
    }
    return static_cast<int32_t>(count);
}

void* ArrayElements(int32_t* array) {
    return array ? array + 1 + (array[0] > 0 ? array[0] : 0) : nullptr;
}

const void* ArrayElements(const int32_t* array) {
    return array ? array + 1 + (array[0] > 0 ? array[0] : 0) : nullptr;
}

void ArrayAppend(ValueArray* array, const void* element, uint32_t elementSize) {
    ArrayInsert(array, ArrayCount(*array), element, elementSize);
}

void ArrayInsert(ValueArray* array, int32_t position, const void* element, uint32_t elementSize) {
    int32_t count = ArrayCount(*array);
    if (position < 0) position = 0;
    if (position > count) position = count;
    ResizeOneDimensional(array, elementSize, count + 1);
    char* elements = static_cast<char*>(ArrayElements(*array));
    char* slot = elements + static_cast<size_t>(position) * elementSize;
    std::memmove(slot + elementSize, slot, static_cast<size_t>(count - position) * elementSize);
    if (element) {
        std::memcpy(slot, element, elementSize);
    } else {
        std::memset(slot, 0, elementSize);
    }
}

void FreeArray(uint32_t elementTag, ValueArray array) {
    if (!array || IsConstantData(array)) return;
    uint32_t base = elementTag & ~0x20000000u;
    if (base == 0x80000004u || base == 0x80000005u) {
        void** elements = static_cast<void**>(ArrayElements(array));
        for (int32_t i = 0, n = ArrayCount(array); i < n; ++i) FreeBlock(elements[i]);
    }
    FreeBlock(array);
}

void FreeTextArray(ValueArray array) {
    FreeArray(0x80000004u, array);
}

void ClearTextArray(ValueArray* array) {
    if (!*array) return;
    if (IsConstantData(*array)) {
        *array = NewArray(sizeof(char*), 0);
        return;
    }
    char** texts = static_cast<char**>(ArrayElements(*array));
    for (int32_t i = 0, n = ArrayCount(*array); i < n; ++i) FreeBlock(texts[i]);
    ResizeOneDimensional(array, sizeof(char*), 0);
}

void MakeArrayWritable(uint32_t elementSize, void** arrayVariable) {
    if (!arrayVariable || !IsConstantData(*arrayVariable)) return;
    const int32_t* array = static_cast<const int32_t*>(*arrayVariable);
    uint64_t total = 4 + 4ull * static_cast<uint32_t>(array[0]) +
                     static_cast<uint64_t>(ArrayCount(array)) * elementSize;
    if (total > 0xFFFFFFFFull) ReportAllocationFailure(0xFFFFFFFFu);
    uint32_t size = static_cast<uint32_t>(total);
    char* copy = static_cast<char*>(AllocateBlock(size));
    // A header that claims more than the constant data holds gets the rest
    // zeroed instead of reading past the range.
    uint32_t available = ConstantBytesFrom(array);
    uint32_t copied = size < available ? size : available;
    std::memcpy(copy, array, copied);
    std::memset(copy + copied, 0, size - copied);
    *arrayVariable = copy;
}
