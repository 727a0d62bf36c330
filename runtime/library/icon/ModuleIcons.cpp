#include "runtime/library/icon/ModuleIcons.h"

#include <cstring>

std::string FileKindOf(const char* path) {
    const size_t length = path ? std::strlen(path) : 0;
    std::string kind(length >= 3 ? path + length - 3 : (path ? path : ""));
    for (char& c : kind) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return kind;
}

ModuleIcon ReadModuleIcon(const IconModule& module, int32_t number) {
    ModuleIcon icon;
    const std::vector<ResourceName> groups = module.IconGroupNames();
    icon.groupCount = static_cast<int32_t>(groups.size());
    if (number < 1 || number > icon.groupCount) return icon;
    const uint8_t* directory = nullptr;
    size_t directorySize = 0;
    if (!module.FindResourceBytes(groups[size_t(number) - 1], kResourceTypeIconGroup, &directory,
                                  &directorySize))
        return icon;
    icon.images = CollectGroupImages(
        directory, directorySize, [&module](uint16_t id, const uint8_t** data, size_t* size) {
            ResourceName image;
            image.id = id;
            return module.FindResourceBytes(image, kResourceTypeIcon, data, size);
        });
    return icon;
}
