// The engine's LoadImageEx as the program calls it: the bytes of an ".ico"
// file or a picture in a byte-set block, decoded for the panel's icon list
// (GDI+ replaced by a native stand-in), then drawn at the icon lists' sizes.
// The raw input is also taken as a block of its own, header words and all,
// as a picture made while no list exists (every frame kept).
#include <cstring>

#include "fuzz/FuzzPictures.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> block = ByteSetBlock(data, size);
    const PictureRef picture = PictureFromByteSet(block.data(), block.size(), kPanelListUse);
    if (size == 0) FUZZ_CHECK(picture && picture->Empty());
    if (picture) DrawLikeTheLists(*picture);

    const std::vector<uint8_t> raw(data, data + size);
    if (const PictureRef whole = PictureFromByteSet(raw.data(), raw.size()))
        DrawLikeTheLists(*whole);
    return 0;
}
