// Places bytes so that they end exactly at an inaccessible page: a parser
// that reads one byte too far faults instead of silently reading garbage.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

class GuardedBuffer {
  public:
    explicit GuardedBuffer(const std::vector<uint8_t>& bytes) {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        const size_t page = info.dwPageSize;
        dataPages_ = (bytes.size() + page - 1) / page + 1;
        base_ = static_cast<uint8_t*>(VirtualAlloc(nullptr, (dataPages_ + 1) * page,
                                                   MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old;
        VirtualProtect(base_ + dataPages_ * page, page, PAGE_NOACCESS, &old);
        data_ = base_ + dataPages_ * page - bytes.size();
        if (!bytes.empty()) std::memcpy(data_, bytes.data(), bytes.size());
        size_ = bytes.size();
    }
    ~GuardedBuffer() { VirtualFree(base_, 0, MEM_RELEASE); }
    GuardedBuffer(const GuardedBuffer&) = delete;
    GuardedBuffer& operator=(const GuardedBuffer&) = delete;

    const uint8_t* Data() const { return data_; }
    size_t Size() const { return size_; }

  private:
    uint8_t* base_ = nullptr;
    uint8_t* data_ = nullptr;
    size_t dataPages_ = 0;
    size_t size_ = 0;
};
