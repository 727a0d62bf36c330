// Native fuzzing of the engine's pure parsers (they use no Win32), outside
// the cross build. With libFuzzer:
//   clang++ -std=c++17 -g -fsanitize=fuzzer,address,undefined -I. \
//     tests/engine/fuzz/EngineParserFuzz.cpp
//     engine/{AttributeBlock,SkinDescriptor,StoredListItems,IconFile,Pixels}.cpp
// Without it (random inputs shaped like each format):
//   g++ -std=c++17 -g -fsanitize=address,undefined -DQD_FUZZ_STANDALONE -I. <same sources>
#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/AttributeBlock.h"
#include "engine/IconFile.h"
#include "engine/SkinDescriptor.h"
#include "engine/StoredListItems.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy: reading one byte past it is caught.
    const std::vector<uint8_t> bytes(data, data + size);
    for (int kind = 0; kind < 5; ++kind)
        ParseAttributeBlock(ControlKind(kind), bytes.data(), bytes.size());
    if (auto skin = ParseSkinDescriptor(bytes.data(), bytes.size()))
        for (const SkinImageRef& image : skin->images)
            if (image.length) (void)bytes.at(image.offset + image.length - 1);
    ParseStoredListItems(bytes.data(), bytes.size());
    for (const IconFrameInfo& frame : ParseIconDirectory(bytes.data(), bytes.size())) {
        PixelImage image;
        if (!frame.png) DecodeIconDib(bytes.data() + frame.offset, frame.size, image);
    }
    PixelImage image;
    DecodeIconDib(bytes.data(), bytes.size(), image);
    return 0;
}

#ifdef QD_FUZZ_STANDALONE
#include <cstdio>
#include <random>

int main() {
    std::mt19937 random(1);
    const uint8_t skinMagic[12] = {0xFF, 0xD8, 0xFF, 0xE1, 0, 'S', 'k', 'i', 'n', 'U', 'i', '+'};
    for (int round = 0; round < 200000; ++round) {
        std::vector<uint8_t> b(random() % 400);
        for (uint8_t& x : b) x = uint8_t(random());
        // Small header words make it past the first checks more often.
        const size_t n = b.size();
        if (round % 3 == 0 && n >= 56) {
            std::memcpy(b.data(), skinMagic, 12);
            for (size_t i = 16; i < 56; i += 4)
                b[i + 1] = random() % 2 ? b[i + 1] : 0, b[i + 2] = b[i + 3] = 0;
        } else if (round % 3 == 1 && n >= 8) {
            b[0] = 12, b[1] = b[2] = b[3] = 0;
            for (size_t i = 8; i + 4 <= n; i += 4)
                if (random() % 2) b[i + 1] = b[i + 2] = b[i + 3] = 0;
        } else if (n >= 22) {
            b[0] = b[1] = b[3] = b[5] = 0, b[2] = 1, b[4] = uint8_t(random() % 4);
            for (size_t i = 6; i + 16 <= n && i < 70; i += 16)
                b[i + 13] = b[i + 14] = b[i + 15] = 0;
        }
        LLVMFuzzerTestOneInput(b.data(), b.size());
    }
    std::puts("no fault");
    return 0;
}
#endif
