// The data blocks the program builds for an insert (CreateBinEx): a title
// and six values. The engine owns them; the insert that receives one takes
// it over. Unknown pointers are never dereferenced.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

struct BinBlock {
    std::wstring title;
    int32_t marker = 0;
    int32_t values[6] = {};
};

void* CreateBin(std::wstring title, int32_t marker, const int32_t (&values)[6]);
// The block behind `data` if the engine made it and nobody took it yet.
std::unique_ptr<BinBlock> TakeBin(void* data);
size_t PendingBinCount();
