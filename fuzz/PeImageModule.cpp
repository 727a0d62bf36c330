#include "fuzz/PeImageModule.h"

#include <algorithm>

namespace {
constexpr size_t kPage = 4096;
constexpr uint32_t kHighBit = 0x80000000u;
// Neutral, Chinese (PRC), Chinese, English (US): the languages the system
// tries for a lookup without a language on a Chinese desktop.
constexpr uint16_t kLanguages[] = {0x0000, 0x0804, 0x0004, 0x0409};

// The ANSI form of a UTF-16 name, as the enumeration reports it (cut at its
// first NUL by the caller's text), and back.
std::string AnsiOf(const std::vector<uint16_t>& wide) {
    std::string text;
    for (uint16_t c : wide) {
        if (c == 0) break;
        text.push_back(c < 0x80 ? char(c) : '?');
    }
    return text;
}

std::vector<uint16_t> UpperWideOf(const std::string& text) {
    std::vector<uint16_t> wide;
    for (unsigned char c : text) {
        uint16_t w = c < 0x80 ? c : '?';
        if (w >= 'a' && w <= 'z') w = uint16_t(w - 'a' + 'A');
        wide.push_back(w);
    }
    return wide;
}

// "#123": the system's decimal reading (leading blanks and a sign allowed,
// stopping at the first other byte); false when the value needs more than 16 bits.
bool NumberName(const std::string& text, uint16_t* id) {
    size_t i = 1;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10 + uint32_t(text[i] - '0');
    if (negative) value = 0u - value;
    if (value > 0xFFFF) return false;
    *id = uint16_t(value);
    return true;
}
}  // namespace

PeImageModule::PeImageModule(const uint8_t* data, size_t size) {
    if (!data || size == 0) return;
    mapped_.assign(data, data + size);
    mapped_.resize((size + kPage - 1) / kPage * kPage, 0);
    if (!Readable(0, 64) || U16(0) != 0x5A4D) return;
    const int32_t ntOffset = int32_t(U32(0x3C));
    if (ntOffset < 0 || !Readable(uint64_t(ntOffset), 24) || U32(uint64_t(ntOffset)) != 0x4550)
        return;
    nt_ = uint64_t(ntOffset);
    headersValid_ = true;

    const uint64_t optional = nt_ + 24;
    if (!Readable(optional, 2)) return;
    const uint16_t magic = U16(optional);
    uint64_t countField, directories;
    if (magic == 0x20B) {
        countField = optional + 108;
        directories = optional + 112;
    } else if (magic == 0x10B) {
        countField = optional + 92;
        directories = optional + 96;
    } else {
        return;
    }
    if (!Readable(countField, 4) || U32(countField) <= 2) return;
    const uint64_t resourceEntry = directories + 2 * 8;
    if (!Readable(resourceEntry, 8) || !Readable(optional + 60, 4)) return;
    const uint32_t address = U32(resourceEntry);
    if (address == 0) return;
    if (address < U32(optional + 60)) {
        resourceRoot_ = address;
        return;
    }
    resourceRoot_ = RvaToOffset(address);
}

bool PeImageModule::Readable(uint64_t offset, uint64_t length) const {
    return offset <= mapped_.size() && length <= mapped_.size() - offset;
}

uint32_t PeImageModule::U32(uint64_t offset) const {
    const uint8_t* p = mapped_.data() + offset;
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint16_t PeImageModule::U16(uint64_t offset) const {
    const uint8_t* p = mapped_.data() + offset;
    return uint16_t(p[0] | p[1] << 8);
}

uint64_t PeImageModule::RvaToOffset(uint32_t rva) const {
    if (!Readable(nt_ + 4, 20)) return kNone;
    const uint16_t sections = U16(nt_ + 6);
    const uint64_t first = nt_ + 24 + U16(nt_ + 20);
    for (uint16_t i = 0; i < sections; ++i) {
        const uint64_t section = first + 40 * uint64_t(i);
        if (!Readable(section, 40)) return kNone;
        const uint32_t start = U32(section + 12), rawSize = U32(section + 16);
        // The system adds in 32 bits.
        if (start <= rva && uint32_t(start + rawSize) > rva)
            return uint64_t(U32(section + 20)) + (rva - start);
    }
    return kNone;
}

bool PeImageModule::EntryCounts(uint64_t directory, size_t* named, size_t* ids) const {
    if (directory == kNone || !Readable(directory, 16)) return false;
    *named = U16(directory + 12);
    *ids = U16(directory + 14);
    return true;
}

bool PeImageModule::ReadEntry(uint64_t directory, size_t index, Entry* entry) const {
    const uint64_t at = directory + 16 + 8 * uint64_t(index);
    if (!Readable(at, 8)) return false;
    const uint32_t name = U32(at), target = U32(at + 4);
    entry->named = (name & kHighBit) != 0;
    entry->nameOrId = name & ~kHighBit;
    entry->directory = (target & kHighBit) != 0;
    entry->target = target & ~kHighBit;
    return true;
}

bool PeImageModule::FindById(uint64_t directory, uint16_t id, bool wantDirectory,
                             uint64_t* found) const {
    *found = kNone;
    size_t named, ids;
    if (!EntryCounts(directory, &named, &ids)) return false;
    long low = long(named), high = long(named + ids) - 1;
    while (low <= high) {
        const long middle = (low + high) / 2;
        Entry entry;
        if (!ReadEntry(directory, size_t(middle), &entry)) return false;
        const uint16_t entryId = uint16_t(entry.nameOrId);
        if (entryId == id) {
            if (entry.directory == wantDirectory) *found = resourceRoot_ + entry.target;
            return true;
        }
        if (entryId > id) {
            high = middle - 1;
        } else {
            low = middle + 1;
        }
    }
    return true;
}

bool PeImageModule::FindByName(uint64_t directory, const std::vector<uint16_t>& name,
                               bool wantDirectory, uint64_t* found) const {
    *found = kNone;
    size_t named, ids;
    if (!EntryCounts(directory, &named, &ids)) return false;
    long low = 0, high = long(named) - 1;
    while (low <= high) {
        const long middle = (low + high) / 2;
        Entry entry;
        if (!ReadEntry(directory, size_t(middle), &entry)) return false;
        const uint64_t text = resourceRoot_ + entry.nameOrId;
        if (!Readable(text, 2)) return false;
        const size_t length = U16(text);
        // The system's bounded comparison of 16-bit characters, reading
        // only as far as it compares.
        int difference = 0;
        if (length > 0) {
            size_t i = 0;
            for (;;) {
                if (!Readable(text + 2 + 2 * i, 2)) return false;
                const uint16_t stored = U16(text + 2 + 2 * i);
                const uint16_t asked = i < name.size() ? name[i] : 0;
                if (i + 1 >= length || asked == 0 || asked != stored) {
                    difference = int(asked) - int(stored);
                    break;
                }
                ++i;
            }
        }
        if (difference == 0 && name.size() == length) {
            if (entry.directory == wantDirectory) *found = resourceRoot_ + entry.target;
            return true;
        }
        if (difference < 0) {
            high = middle - 1;
        } else {
            low = middle + 1;
        }
    }
    return true;
}

bool PeImageModule::FindFirst(uint64_t directory, bool wantDirectory, uint64_t* found) const {
    *found = kNone;
    size_t named, ids;
    if (!EntryCounts(directory, &named, &ids)) return false;
    for (size_t i = 0; i < named + ids; ++i) {
        Entry entry;
        if (!ReadEntry(directory, i, &entry)) return false;
        if (entry.directory == wantDirectory) {
            *found = resourceRoot_ + entry.target;
            return true;
        }
    }
    return true;
}

bool PeImageModule::FindEntry(const ResourceName& name, uint16_t type, uint64_t* dataEntry) const {
    uint64_t typeDirectory, nameDirectory;
    if (!FindById(resourceRoot_, type, true, &typeDirectory) || typeDirectory == kNone)
        return false;
    bool read;
    if (!name.named) {
        read = FindById(typeDirectory, name.id, true, &nameDirectory);
    } else if (!name.text.empty() && name.text[0] == '#') {
        uint16_t id;
        if (!NumberName(name.text, &id)) return false;
        read = FindById(typeDirectory, id, true, &nameDirectory);
    } else {
        read = FindByName(typeDirectory, UpperWideOf(name.text), true, &nameDirectory);
    }
    if (!read || nameDirectory == kNone) return false;
    for (uint16_t language : kLanguages) {
        if (!FindById(nameDirectory, language, false, dataEntry)) return false;
        if (*dataEntry != kNone) return true;
    }
    return FindFirst(nameDirectory, false, dataEntry) && *dataEntry != kNone;
}

std::vector<ResourceName> PeImageModule::IconGroupNames() const {
    std::vector<ResourceName> names;
    uint64_t groups;
    if (resourceRoot_ == kNone || !FindById(resourceRoot_, kResourceTypeIconGroup, true, &groups) ||
        groups == kNone)
        return names;
    size_t named, ids;
    if (!EntryCounts(groups, &named, &ids)) return names;
    for (size_t i = 0; i < named + ids; ++i) {
        Entry entry;
        if (!ReadEntry(groups, i, &entry)) break;
        ResourceName name;
        if (entry.named) {
            const uint64_t text = resourceRoot_ + entry.nameOrId;
            if (!Readable(text, 2)) break;
            const size_t length = U16(text);
            if (!Readable(text + 2, 2 * uint64_t(length))) break;
            std::vector<uint16_t> wide(length);
            for (size_t k = 0; k < length; ++k) wide[k] = U16(text + 2 + 2 * k);
            name.named = true;
            name.text = AnsiOf(wide);
        } else {
            name.id = uint16_t(entry.nameOrId);
        }
        names.push_back(std::move(name));
    }
    return names;
}

bool PeImageModule::FindResourceBytes(const ResourceName& name, uint16_t type, const uint8_t** data,
                                      size_t* size) const {
    uint64_t dataEntry;
    if (resourceRoot_ == kNone || !FindEntry(name, type, &dataEntry)) return false;
    if (!Readable(dataEntry, 8)) return false;
    const uint64_t offset = RvaToOffset(U32(dataEntry));
    if (offset == kNone) return false;
    const uint64_t stated = U32(dataEntry + 4);
    if (offset >= mapped_.size()) {
        *data = mapped_.data() + mapped_.size();
        *size = 0;
        return true;
    }
    *data = mapped_.data() + offset;
    *size = size_t(std::min<uint64_t>(stated, mapped_.size() - offset));
    return true;
}
