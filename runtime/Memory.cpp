// Value blocks: every block comes from the process heap, and blocks inside
// the program's constant data are shared, so they are never freed or resized
// in place.
#include <windows.h>
#include <cstring>
#include "runtime/RuntimeError.h"
#include "runtime/Values.h"

namespace {

const char* gConstantStart = nullptr;
uint32_t gConstantSize = 0;

[[noreturn]] void ReportAllocationFailure(uint32_t size) {
    ReportRuntimeErrorFormat(0, 0, "分配 %d 字节内存失败!", static_cast<int32_t>(size));
}

// Bytes from p to the end of the constant data (p must lie inside it).
uint32_t ConstantBytesFrom(const void* p) {
    return static_cast<uint32_t>(gConstantStart + gConstantSize - static_cast<const char*>(p));
}

}  // namespace

void SetConstantDataRange(const void* start, uint32_t size) {
    gConstantStart = static_cast<const char*>(start);
    gConstantSize = start ? size : 0;
}

bool IsConstantData(const void* p) {
    if (!p || !gConstantStart) return false;
    // Compared as integers: the pointers need not belong to one object.
    uintptr_t address = reinterpret_cast<uintptr_t>(p);
    uintptr_t start = reinterpret_cast<uintptr_t>(gConstantStart);
    return address >= start && address - start < gConstantSize;
}

void* AllocateBlock(uint32_t size) {
    void* block = HeapAlloc(GetProcessHeap(), 0, size);
    if (!block) ReportAllocationFailure(size);
    return block;
}

void* ReallocateBlock(void* block, uint32_t size) {
    if (!block) return AllocateBlock(size);
    if (IsConstantData(block)) {
        void* copy = AllocateBlock(size);
        uint32_t available = ConstantBytesFrom(block);
        std::memcpy(copy, block, size < available ? size : available);
        return copy;
    }
    void* moved = HeapReAlloc(GetProcessHeap(), 0, block, size);
    if (!moved) ReportAllocationFailure(size);
    return moved;
}

void FreeBlock(void* block) {
    if (!block || IsConstantData(block)) return;
    HeapFree(GetProcessHeap(), 0, block);
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
