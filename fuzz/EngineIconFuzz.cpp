// The engine's icon reading: the frame directory, the choice of a frame and
// the decoding of bitmap frames. Every frame it lists lies inside the file
// and decodes to exactly width x height pixels or not at all.
#include <cstdint>
#include <vector>

#include "engine/IconFile.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy: reading one byte past it is caught.
    const std::vector<uint8_t> bytes(data, data + size);
    const std::vector<IconFrameInfo> frames = ParseIconDirectory(bytes.data(), bytes.size());
    for (const IconFrameInfo& frame : frames) {
        FUZZ_CHECK(frame.offset <= bytes.size() && frame.size <= bytes.size() - frame.offset);
        FUZZ_CHECK(frame.width > 0 && frame.width <= kMaxIconSide);
        if (frame.png) continue;
        PixelImage image;
        if (DecodeIconDib(bytes.data() + frame.offset, frame.size, image))
            FUZZ_CHECK(image.pixels.size() == size_t(image.width) * size_t(image.height));
    }
    for (int target : {16, 48, 2000}) {
        const int chosen = ChooseIconFrame(frames, target);
        FUZZ_CHECK(frames.empty() ? chosen == -1 : chosen >= 0 && chosen < int(frames.size()));
    }
    // A bare bitmap frame, as an icon image resource holds it.
    PixelImage image;
    if (DecodeIconDib(bytes.data(), bytes.size(), image))
        FUZZ_CHECK(image.pixels.size() == size_t(image.width) * size_t(image.height));
    return 0;
}
