// The ".ico" file reader on arbitrary files, as the icon command reads a
// file it is given: every image it accepts lies inside the file, and what it
// accepts writes back to a file that reads the same.
#include <vector>

#include "fuzz/FuzzInput.h"
#include "runtime/library/icon/IconFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    std::vector<IconImage> stored;
    if (!ReadIconFile(bytes.data(), bytes.size(), &stored)) {
        FUZZ_CHECK(stored.empty());
        return 0;
    }
    std::vector<IconImage> images;
    for (const IconImage& entry : stored) {
        FUZZ_CHECK(entry.data.size() <= bytes.size());
        IconImage image;
        if (MakeIconImage(entry.data.data(), entry.data.size(), entry, &image))
            images.push_back(std::move(image));
    }
    const std::vector<uint8_t> file = WriteIconFile(images);
    std::vector<IconImage> back;
    FUZZ_CHECK(ReadIconFile(file.data(), file.size(), &back));
    FUZZ_CHECK(back.size() == images.size());
    for (size_t i = 0; i < images.size(); ++i) FUZZ_CHECK(back[i].data == images[i].data);
    return 0;
}
