// Stands in natively for the runtime's value blocks (the process heap on
// Windows): malloc and free, no constant data; a failed allocation aborts,
// where the runtime reports its error and ends the program.
#include "runtime/values/Memory.h"

#include <cstdlib>

void ReportAllocationFailure(uint64_t) {
    std::abort();
}

void SetConstantDataRange(const void*, uint32_t) {}

uint32_t ConstantBytesFrom(const void*) {
    return 0;
}

bool IsConstantData(const void*) {
    return false;
}

void* AllocateBlock(uint32_t size) {
    void* block = std::malloc(size ? size : 1);
    if (!block) ReportAllocationFailure(size);
    return block;
}

void* ReallocateBlock(void* block, uint32_t size) {
    void* moved = std::realloc(block, size ? size : 1);
    if (!moved) ReportAllocationFailure(size);
    return moved;
}

void FreeBlock(void* block) {
    std::free(block);
}
