#include "engine/ReadableMemory.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>

size_t ReadableExtent(const void* p, size_t cap) {
    constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY |
                                PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    const uint8_t* at = static_cast<const uint8_t*>(p);
    size_t total = 0;
    while (at && total < cap) {
        MEMORY_BASIC_INFORMATION info;
        if (!VirtualQuery(at, &info, sizeof info) || info.State != MEM_COMMIT ||
            (info.Protect & (PAGE_GUARD | PAGE_NOACCESS)) || !(info.Protect & kReadable))
            break;
        const size_t available =
            size_t(static_cast<const uint8_t*>(info.BaseAddress) + info.RegionSize - at);
        total += available;
        at += available;
    }
    return std::min(total, cap);
}
