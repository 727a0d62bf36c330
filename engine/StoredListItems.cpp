#include "engine/StoredListItems.h"

#include "engine/ByteReader.h"

std::optional<std::vector<StoredListItem>> ParseStoredListItems(const uint8_t* data, size_t size) {
    ByteReader reader(data, size);
    uint32_t one, count;
    if (!reader.ReadU32(one) || one != 1 || !reader.ReadU32(count)) return std::nullopt;
    // Every item takes at least 20 bytes, which bounds an absurd count
    // before anything is allocated for it.
    if (count > reader.Remaining() / 20) return std::nullopt;
    std::vector<StoredListItem> items(count);
    for (StoredListItem& item : items) {
        uint32_t pictureLength, textLength, zero, colour;
        int32_t height;
        const uint8_t* picture;
        const uint8_t* text;
        if (!reader.ReadU32(pictureLength) || !reader.ReadBytes(pictureLength, picture) ||
            !reader.ReadU32(textLength) || !reader.ReadBytes(textLength, text) ||
            !reader.ReadU32(zero) || !reader.ReadI32(height) || !reader.ReadU32(colour))
            return std::nullopt;
        item.picture.assign(picture, picture + pictureLength);
        for (uint32_t i = 0; i + 1 < textLength; i += 2) {
            char16_t c = char16_t(LoadU16(text + i));
            if (c == 0) break;
            item.text.push_back(c);
        }
        item.height = height;
        item.textColour = colour;
    }
    return items;
}
