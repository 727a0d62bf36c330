// A program's file bytes read the way the system's loader reads a module
// loaded as a data file, for the icon command's resource walk: the file
// mapped as it is (zero-filled to the end of its last page), headers and
// sections, the resource directory, and the lookups the system answers:
//   - the icon groups enumerated in stored order, named entries first as
//     they are stored, a text name cut at its first NUL;
//   - a lookup by name or number searches the sorted entries by halving, as
//     the system does, so an entry stored out of order may not be found; a
//     text name is upper-cased first and "#123" names the number 123;
//   - the language tried first is neutral, then Chinese (PRC), Chinese,
//     English (US), then the first entry;
//   - a structure that lies outside the mapping ends the lookup (the system
//     catches the fault), and an enumeration stops there;
//   - a resource's bytes are cut at the end of the mapping (the product
//     cuts them there too).
// Stand-in where it differs: resource names are converted between UTF-16
// and the ANSI code page for ASCII only; other characters become '?', as
// in a code page that lacks them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/library/icon/ModuleIcons.h"

class PeImageModule : public IconModule {
  public:
    explicit PeImageModule(const uint8_t* data, size_t size);

    // False when the system would refuse to load the file as a data file.
    bool Loaded() const { return headersValid_; }

    std::vector<ResourceName> IconGroupNames() const override;
    bool FindResourceBytes(const ResourceName& name, uint16_t type, const uint8_t** data,
                           size_t* size) const override;

  private:
    static constexpr uint64_t kNone = ~uint64_t(0);
    struct Entry {
        bool named;
        uint32_t nameOrId;  // offset of the name from the root, or the id
        bool directory;
        uint32_t target;  // offset from the root
    };
    bool Readable(uint64_t offset, uint64_t length) const;
    uint32_t U32(uint64_t offset) const;
    uint16_t U16(uint64_t offset) const;
    uint64_t RvaToOffset(uint32_t rva) const;
    bool ReadEntry(uint64_t directory, size_t index, Entry* entry) const;
    bool EntryCounts(uint64_t directory, size_t* named, size_t* ids) const;
    // The offset of the matching entry's target, kNone when not found; false
    // when a structure lies outside the mapping.
    bool FindById(uint64_t directory, uint16_t id, bool wantDirectory, uint64_t* found) const;
    bool FindByName(uint64_t directory, const std::vector<uint16_t>& name, bool wantDirectory,
                    uint64_t* found) const;
    bool FindFirst(uint64_t directory, bool wantDirectory, uint64_t* found) const;
    bool FindEntry(const ResourceName& name, uint16_t type, uint64_t* dataEntry) const;

    std::vector<uint8_t> mapped_;
    uint64_t nt_ = 0;
    bool headersValid_ = false;
    uint64_t resourceRoot_ = kNone;  // offset of the resource directory in the mapping
};
