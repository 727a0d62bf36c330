// The icons of a program or library, as the icon command reads them: its icon
// groups in the order the system enumerates them, and the images each group
// names. Pure code over an interface: the product reads the module through
// the system's loader, the fuzzers through a reader of the file's bytes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/library/icon/IconFile.h"

// The kind of a file as the icon command tells it: the last three bytes of
// its path with A-Z lowered ("ico", "exe", "dll", "icl", "bmp", ...).
std::string FileKindOf(const char* path);

constexpr uint16_t kResourceTypeIcon = 3;
constexpr uint16_t kResourceTypeIconGroup = 14;

// A resource name as the enumeration reports it: a number, or a text in the
// ANSI code page (which may be empty).
struct ResourceName {
    bool named = false;
    uint16_t id = 0;
    std::string text;
};

class IconModule {
  public:
    virtual ~IconModule() = default;
    // The names of the module's icon groups, in enumeration order.
    virtual std::vector<ResourceName> IconGroupNames() const = 0;
    // The bytes of resource `name` of `type`; false when there is none. The
    // bytes stay valid as long as the module.
    virtual bool FindResourceBytes(const ResourceName& name, uint16_t type, const uint8_t** data,
                                   size_t* size) const = 0;
};

struct ModuleIcon {
    int32_t groupCount = 0;
    std::vector<IconImage> images;  // of the group asked for, in its order
};

// Counts the module's icon groups and, when `number` (from 1) names one of
// them, collects that group's images; number 0 only counts.
ModuleIcon ReadModuleIcon(const IconModule& module, int32_t number);
