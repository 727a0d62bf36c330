#include "engine/SkinDescriptor.h"

#include <cstring>

#include "engine/ByteReader.h"

namespace {
constexpr uint8_t kMagic[12] = {0xFF, 0xD8, 0xFF, 0xE1, 0x00, 'S', 'k', 'i', 'n', 'U', 'i', '+'};
// Generous limits: the stored skins are a few kilobytes with a handful of
// parts; anything far beyond is damage, not a skin.
constexpr uint32_t kMaxParts = 4096;
constexpr uint32_t kMaxImages = 256;
constexpr uint32_t kMaxValues = 4096;
constexpr uint32_t kPartSize = 36;

std::u16string ReadUtf16(const uint8_t* p, size_t bytes) {
    std::u16string text;
    for (size_t i = 0; i + 1 < bytes; i += 2) {
        char16_t c = char16_t(LoadU16(p + i));
        if (c == 0) break;
        text.push_back(c);
    }
    return text;
}
}  // namespace

std::optional<SkinDescriptor> ParseSkinDescriptor(const uint8_t* data, size_t size) {
    if (!data || size < kSkinHeaderSize || std::memcmp(data, kMagic, sizeof kMagic) != 0)
        return std::nullopt;
    ByteReader reader(data + 12, size - 12);
    uint32_t format, total, kind, imageCount, imageOffset, partCount, partOffset, valueCount,
        valueOffset, nameLength, labelLength;
    reader.ReadU32(format);
    reader.ReadU32(total);
    reader.ReadU32(kind);
    reader.ReadU32(imageCount);
    reader.ReadU32(imageOffset);
    reader.ReadU32(partCount);
    reader.ReadU32(partOffset);
    reader.ReadU32(valueCount);
    reader.ReadU32(valueOffset);
    reader.ReadU32(nameLength);
    if (!reader.ReadU32(labelLength)) return std::nullopt;
    if (total < kSkinHeaderSize || total > size) return std::nullopt;
    if (partCount > kMaxParts || imageCount > kMaxImages || valueCount > kMaxValues)
        return std::nullopt;
    if (!RangeInside(kSkinHeaderSize, uint64_t(nameLength) + labelLength, total) ||
        !RangeInside(valueOffset, uint64_t(valueCount) * 4, total) ||
        !RangeInside(partOffset, uint64_t(partCount) * kPartSize, total) ||
        !RangeInside(imageOffset, uint64_t(imageCount) * 24, total))
        return std::nullopt;

    SkinDescriptor skin;
    skin.format = int32_t(format);
    skin.kind = int32_t(kind);
    skin.name = ReadUtf16(data + kSkinHeaderSize, nameLength);
    skin.values.assign(SkinValue::kCount, 0);
    for (uint32_t i = 0; i < valueCount && i < uint32_t(SkinValue::kCount); ++i) {
        skin.values[i] = LoadU32(data + valueOffset + 4 * i);
        skin.hasValue[i] = true;
    }
    for (uint32_t i = 0; i < partCount; ++i) {
        const uint8_t* p = data + partOffset + kPartSize * i;
        int32_t w[9];
        for (int k = 0; k < 9; ++k) w[k] = int32_t(LoadU32(p + 4 * k));
        skin.parts.push_back(SkinPart{w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7], w[8]});
    }
    // Image section: digests, then lengths, then offsets, then the images.
    const uint8_t* lengths = data + imageOffset + 16 * size_t(imageCount);
    const uint8_t* offsets = lengths + 4 * size_t(imageCount);
    for (uint32_t i = 0; i < imageCount; ++i) {
        uint32_t length = LoadU32(lengths + 4 * i);
        uint32_t offset = LoadU32(offsets + 4 * i);
        if (!RangeInside(offset, length, total)) return std::nullopt;
        skin.images.push_back(SkinImageRef{offset, length});
    }
    return skin;
}
