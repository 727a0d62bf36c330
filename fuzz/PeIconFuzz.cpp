// A program's icon as the icon command writes it to the scratch ".ico" file:
// the program's file bytes read as the system's loader reads a data file
// (fuzz/PeImageModule), then the product's own walk: the icon groups in
// enumeration order, the first group's images, the icon file. Whatever the
// program holds, the file stays within kMaxIconFileBytes, names no image
// twice, and reads back with exactly the images collected.
#include <vector>

#include "fuzz/FuzzInput.h"
#include "fuzz/PeImageModule.h"
#include "runtime/library/icon/ModuleIcons.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const PeImageModule module(data, size);
    if (!module.Loaded()) return 0;
    const ModuleIcon counted = ReadModuleIcon(module, 0);
    const ModuleIcon icon = ReadModuleIcon(module, 1);
    FUZZ_CHECK(counted.images.empty() && counted.groupCount == icon.groupCount);
    if (icon.groupCount == 0) FUZZ_CHECK(icon.images.empty());

    const std::vector<uint8_t> file = WriteIconFile(icon.images);
    FUZZ_CHECK(file.size() <= kMaxIconFileBytes);
    std::vector<IconImage> back;
    FUZZ_CHECK(ReadIconFile(file.data(), file.size(), &back));
    FUZZ_CHECK(back.size() == icon.images.size());
    for (size_t i = 0; i < back.size(); ++i) FUZZ_CHECK(back[i].data == icon.images[i].data);
    return 0;
}
