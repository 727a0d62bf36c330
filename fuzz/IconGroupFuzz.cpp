// From an icon group and a module's icon images to an ".ico" file, on
// synthetic resource data: the input is a group directory followed by image
// resources (id, length, bytes). Whatever the group claims, the file written
// must read back with exactly the images collected, byte for byte.
#include <map>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "runtime/library/icon/IconFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const std::vector<uint8_t> directory = input.Take(input.U16());
    std::map<uint16_t, std::vector<uint8_t>> resources;
    while (input.Remaining() >= 4) {
        const uint16_t id = input.U16();
        resources[id] = input.Take(input.U16());
    }
    const std::vector<IconImage> images =
        CollectGroupImages(directory.data(), directory.size(),
                           [&resources](uint16_t id, const uint8_t** bytes, size_t* length) {
                               auto found = resources.find(id);
                               if (found == resources.end()) return false;
                               *bytes = found->second.data();
                               *length = found->second.size();
                               return true;
                           });
    std::vector<IconGroupMember> members;
    if (!ParseIconGroup(directory.data(), directory.size(), &members)) FUZZ_CHECK(images.empty());
    FUZZ_CHECK(images.size() <= members.size());

    const std::vector<uint8_t> file = WriteIconFile(images);
    std::vector<IconImage> back;
    FUZZ_CHECK(ReadIconFile(file.data(), file.size(), &back));
    FUZZ_CHECK(back.size() == images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        FUZZ_CHECK(back[i].data == images[i].data);
        FUZZ_CHECK(back[i].width == images[i].width && back[i].height == images[i].height);
        FUZZ_CHECK(back[i].bitCount == images[i].bitCount);
    }
    return 0;
}
