// Value blocks: every block comes from the process heap, and blocks inside
// the program's constant data are shared, so they are never freed or resized
// in place.
#include <windows.h>
#include <cstring>
#include "runtime/process/RuntimeError.h"
#include "runtime/process/RuntimeMessages.h"
#include "runtime/values/Memory.h"

namespace {

const char* gConstantStart = nullptr;
uint32_t gConstantSize = 0;

}  // namespace

void ReportAllocationFailure(uint64_t size) {
    // The message shows the size as a signed 32-bit number.
    ReportRuntimeErrorFormat(0, 0, RuntimeMessage::kAllocationFailed, static_cast<int32_t>(size));
}

void SetConstantDataRange(const void* start, uint32_t size) {
    gConstantStart = static_cast<const char*>(start);
    gConstantSize = start ? size : 0;
}

uint32_t ConstantBytesFrom(const void* p) {
    if (!IsConstantData(p)) return 0;
    return static_cast<uint32_t>(gConstantStart + gConstantSize - static_cast<const char*>(p));
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
