#include "engine/BinBlock.h"

#include <algorithm>
#include <vector>

namespace {
std::vector<std::unique_ptr<BinBlock>> gBins;
}

void* CreateBin(std::wstring title, int32_t marker, const int32_t (&values)[6]) {
    auto bin = std::make_unique<BinBlock>();
    bin->title = std::move(title);
    bin->marker = marker;
    std::copy(values, values + 6, bin->values);
    gBins.push_back(std::move(bin));
    return gBins.back().get();
}

std::unique_ptr<BinBlock> TakeBin(void* data) {
    auto found =
        std::find_if(gBins.begin(), gBins.end(),
                     [data](const std::unique_ptr<BinBlock>& b) { return b.get() == data; });
    if (found == gBins.end()) return nullptr;
    std::unique_ptr<BinBlock> bin = std::move(*found);
    gBins.erase(found);
    return bin;
}

size_t PendingBinCount() {
    return gBins.size();
}
