#include "tests/engine/SegmentBlocks.h"

#include <cstring>
#include <vector>

#include "engine/ByteReader.h"

namespace {
constexpr uint32_t kMenuEntryType = 0x00010003;
constexpr uint32_t kSkinLibrary = 0x0002;

bool SkipText(ByteReader& r) {
    uint32_t length;
    return r.ReadU32(length) && r.Skip(length);
}

bool SkipNulText(ByteReader& r) {
    const uint8_t* byte;
    do {
        if (!r.ReadBytes(1, byte)) return false;
    } while (*byte != 0);
    return true;
}
}  // namespace

std::map<uint32_t, const uint8_t*> ControlAttributeBlocks(const uint8_t* segment, uint32_t size) {
    std::map<uint32_t, const uint8_t*> blocks;
    ByteReader r(segment, size);
    uint32_t tableSize;
    if (!r.ReadU32(tableSize) || !r.Skip(tableSize)) return blocks;
    const uint32_t windows = tableSize / 8;
    for (uint32_t w = 0; w < windows; ++w) {
        uint32_t count, tableBytes;
        if (!r.Skip(8) || !SkipText(r) || !SkipText(r) || !r.ReadU32(count) ||
            !r.ReadU32(tableBytes))
            return blocks;
        const size_t tableStart = r.Offset();
        std::vector<uint32_t> ids(count);
        for (uint32_t& id : ids) r.ReadU32(id);
        if (!r.Skip(4 * size_t(count))) return blocks;
        for (uint32_t e = 0; e < count; ++e) {
            uint32_t length;
            const uint8_t* record;
            if (!r.ReadU32(length) || !r.ReadBytes(length, record)) return blocks;
            ByteReader f(record, length);
            uint32_t type = 0, children = 0, flags = 0, events = 0;
            if (!f.ReadU32(type)) continue;
            if (type == kMenuEntryType || (type >> 16) != kSkinLibrary) continue;
            if (!f.Skip(20) || !SkipNulText(f) || !SkipNulText(f) || !f.Skip(4 + 16 + 4 + 4) ||
                !f.ReadU32(children) || !f.Skip(4 * size_t(children)) || !SkipText(f) ||
                !SkipNulText(f) || !f.Skip(4) || !f.ReadU32(flags) || !f.Skip(4) ||
                !f.ReadU32(events) || !f.Skip(8 * size_t(events)) || !f.Skip(20) || !f.Skip(20))
                continue;
            // The type's attribute data opens with 20 reserved bytes, then the block.
            blocks[ids[e]] = record + f.Offset();
        }
        ByteReader end(segment, size);
        end.Skip(tableStart + tableBytes);
        r = end;
    }
    return blocks;
}
