// The whole road of a program's icon: the program's file bytes (read as the
// system's loader reads a data file), the product's walk to the first icon
// group, the ".ico" file it writes, read back whole into the byte set the
// program hands to the engine's LoadImageEx, decoded and drawn where the icon
// list draws it.
#include <vector>

#include "fuzz/FuzzPictures.h"
#include "fuzz/PeImageModule.h"
#include "runtime/library/icon/ModuleIcons.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const PeImageModule module(data, size);
    if (!module.Loaded()) return 0;
    const ModuleIcon icon = ReadModuleIcon(module, 1);
    // No image: nothing is written, the read gives the empty byte set.
    const std::vector<uint8_t> file =
        icon.images.empty() ? std::vector<uint8_t>() : WriteIconFile(icon.images);
    FUZZ_CHECK(file.size() <= kMaxIconFileBytes);
    const std::vector<uint8_t> block = ByteSetBlock(file.data(), file.size());
    const PictureRef picture = file.empty()
                                   ? PictureFromByteSet(nullptr, 0)
                                   : PictureFromByteSet(block.data(), block.size(), kPanelListUse);
    if (file.empty()) FUZZ_CHECK(picture && picture->Empty());
    if (picture) DrawLikeTheLists(*picture);
    return 0;
}
