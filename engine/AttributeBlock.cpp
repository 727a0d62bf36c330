#include "engine/AttributeBlock.h"

#include "engine/ByteReader.h"

int AttributeCount(ControlKind kind) {
    switch (kind) {
        case ControlKind::WindowEx:
            return 21;
        case ControlKind::IcoListbox:
            return 22;
        default:
            return 17;
    }
}

int32_t BlockMarker(ControlKind kind, int index) {
    if (index == AttrIndex::kSkin) return kMarkerSkin;
    switch (kind) {
        case ControlKind::WindowEx:
            return index >= 3 && index <= 5 ? kMarkerSkin : 0;  // caption-button skins
        case ControlKind::PictureBox:
            return index == AttrIndex::kImage ? kMarkerImage : 0;
        case ControlKind::Listbox:
            return index == AttrIndex::kStoredItems ? kMarkerListItems : 0;
        default:
            return 0;
    }
}

bool IsBlockIndex(ControlKind kind, int index) {
    return BlockMarker(kind, index) != 0;
}

AttributeSet DefaultAttributes(ControlKind kind) {
    AttributeSet set;
    const int count = AttributeCount(kind);
    set.values.resize(count);
    for (int i = 0; i < count; ++i) {
        if (IsBlockIndex(kind, i)) {
            set.values[i].isBlock = true;
            set.values[i].word = BlockMarker(kind, i);
        }
    }
    set.values[AttrIndex::kVisible].word = 1;
    switch (kind) {
        case ControlKind::WindowEx:
            set.values[AttrIndex::kOpacity].word = 255;
            break;
        case ControlKind::Toolbar:
            set.values[AttrIndex::kButtonHeight].word = 36;
            break;
        case ControlKind::Listbox:
            set.values[AttrIndex::kItemHeight].word = 30;
            set.values[AttrIndex::kSelected].word = -1;
            break;
        case ControlKind::IcoListbox:
            set.values[AttrIndex::kIconSize].word = 48;
            set.values[AttrIndex::kSelected].word = -1;
            break;
        case ControlKind::PictureBox:
            break;
    }
    return set;
}

AttributeSet ParseAttributeBlock(ControlKind kind, const uint8_t* data, size_t size) {
    AttributeSet set = DefaultAttributes(kind);
    ByteReader reader(data, size);
    int32_t version = 0, pageWord = 0;
    if (!reader.ReadI32(version) || version != kAttributeFormatVersion || !reader.ReadI32(pageWord))
        return set;
    AttributeSet stored = set;
    stored.pageWord = pageWord;
    for (int i = 0; i < int(stored.values.size()); ++i) {
        AttributeValue& value = stored.values[i];
        int32_t word;
        if (!reader.ReadI32(word)) return set;
        if (!value.isBlock) {
            value.word = word;
            continue;
        }
        uint32_t length;
        const uint8_t* bytes;
        if (!reader.ReadU32(length) || !reader.ReadBytes(length, bytes)) return set;
        // A block stored under another marker is kept out of use but still
        // skipped by its length, so the values after it stay readable.
        if (word == value.word && length > 0) value.bytes.assign(bytes, bytes + length);
    }
    stored.fromStore = true;
    return stored;
}

static void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v >> 16));
    out.push_back(uint8_t(v >> 24));
}

std::vector<uint8_t> SerialiseValues(const AttributeSet& set) {
    std::vector<uint8_t> out;
    for (const AttributeValue& value : set.values) {
        PutU32(out, uint32_t(value.word));
        if (value.isBlock) {
            PutU32(out, uint32_t(value.bytes.size()));
            out.insert(out.end(), value.bytes.begin(), value.bytes.end());
        }
    }
    return out;
}
