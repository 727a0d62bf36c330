// The items a list box stores: a list is read whole or refused, and no item
// claims more bytes than the list holds.
#include <vector>

#include "engine/StoredListItems.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    const auto items = ParseStoredListItems(bytes.data(), bytes.size());
    if (!items) return 0;
    size_t total = 8;
    for (const StoredListItem& item : *items) {
        total += 20 + item.picture.size() + 2 * item.text.size();
        FUZZ_CHECK(total <= bytes.size());
    }
    return 0;
}
