// A control's stored attribute block, for every control kind: a block is
// used whole or not at all, and what was read stores back to bytes that
// read the same again.
#include <vector>

#include "engine/AttributeBlock.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    for (int k = 0; k < 5; ++k) {
        const ControlKind kind = ControlKind(k);
        const AttributeSet set = ParseAttributeBlock(kind, bytes.data(), bytes.size());
        FUZZ_CHECK(int(set.values.size()) == AttributeCount(kind));
        if (!set.fromStore) continue;
        std::vector<uint8_t> stored = {uint8_t(kAttributeFormatVersion), 0, 0, 0};
        for (int i = 0; i < 4; ++i) stored.push_back(uint8_t(uint32_t(set.pageWord) >> (8 * i)));
        const std::vector<uint8_t> values = SerialiseValues(set);
        stored.insert(stored.end(), values.begin(), values.end());
        const AttributeSet again = ParseAttributeBlock(kind, stored.data(), stored.size());
        FUZZ_CHECK(again.fromStore && again.pageWord == set.pageWord);
        for (size_t i = 0; i < set.values.size(); ++i) {
            FUZZ_CHECK(again.values[i].word == set.values[i].word);
            FUZZ_CHECK(again.values[i].bytes == set.values[i].bytes);
        }
    }
    return 0;
}
