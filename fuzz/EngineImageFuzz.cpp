// The engine's LoadImageEx as the program calls it: the bytes of an ".ico"
// file or a picture in a byte-set block, decoded for the panel's icon list
// (GDI+ replaced by a native stand-in), then drawn at the icon lists' sizes.
// The same bytes are also made into a picture while no list exists (every
// frame kept), and the raw input is taken as a block of its own, header
// words and all.
#include <cstring>

#include "fuzz/FuzzPictures.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> block = ByteSetBlock(data, size);
    const PictureRef picture = PictureFromByteSet(block.data(), block.size(), kPanelListUse);
    if (size == 0) FUZZ_CHECK(picture && picture->Empty());
    if (picture) DrawLikeTheLists(*picture);

    if (const PictureRef unlisted = PictureFromByteSet(block.data(), block.size()))
        DrawLikeTheLists(*unlisted);

    const std::vector<uint8_t> raw(data, data + size);
    if (const PictureRef whole = PictureFromByteSet(raw.data(), raw.size()))
        DrawLikeTheLists(*whole);
    return 0;
}
