// Value blocks: every block comes from the process heap; blocks inside the
// program's constant data are shared, never freed or written.
#pragma once
#include <cstdint>

// Failure to allocate is the runtime error "分配 %d 字节内存失败!".
void* AllocateBlock(uint32_t size);
// Null allocates; a block in constant data is copied (up to the end of the
// constant data) into a new block; otherwise resized in place or moved.
void* ReallocateBlock(void* block, uint32_t size);
// Null and blocks inside the program's constant data are ignored.
void FreeBlock(void* block);

// The program's constant data range (from the program image header). Values
// pointing into it are shared: never freed, never written.
void SetConstantDataRange(const void* start, uint32_t size);
bool IsConstantData(const void* p);
// Bytes from p to the end of the constant data; 0 when p lies outside it.
uint32_t ConstantBytesFrom(const void* p);

// The runtime error "分配 %d 字节内存失败!" for a block of `size` bytes that
// cannot be had (also for sizes no block can have).
[[noreturn]] void ReportAllocationFailure(uint64_t size);

// A block kept only for a while: freed when the holder goes.
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
