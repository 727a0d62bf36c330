// A skin descriptor: every image and part it accepts lies inside the bytes given.
#include <vector>

#include "engine/SkinDescriptor.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    const auto skin = ParseSkinDescriptor(bytes.data(), bytes.size());
    if (!skin) return 0;
    FUZZ_CHECK(skin->values.size() == size_t(SkinValue::kCount));
    for (const SkinImageRef& image : skin->images)
        FUZZ_CHECK(image.offset <= bytes.size() && image.length <= bytes.size() - image.offset);
    return 0;
}
