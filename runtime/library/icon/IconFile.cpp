#include "runtime/library/icon/IconFile.h"

#include <cstring>

namespace {

uint16_t ReadU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t ReadU32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
int32_t ReadI32(const uint8_t* p) {
    return static_cast<int32_t>(ReadU32(p));
}
void PutU16(std::vector<uint8_t>* out, uint16_t v) {
    out->push_back(static_cast<uint8_t>(v));
    out->push_back(static_cast<uint8_t>(v >> 8));
}
void PutU32(std::vector<uint8_t>* out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out->push_back(static_cast<uint8_t>(v >> (8 * i)));
}

const uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

}  // namespace

bool IsPngImage(const uint8_t* data, size_t size) {
    return data && size >= sizeof(kPngSignature) &&
           std::memcmp(data, kPngSignature, sizeof(kPngSignature)) == 0;
}

bool ParseIconGroup(const uint8_t* data, size_t size, std::vector<IconGroupMember>* members) {
    members->clear();
    if (!data || size < kIconFileHeaderSize) return false;
    if (ReadU16(data) != 0 || ReadU16(data + 2) != 1) return false;
    size_t count = ReadU16(data + 4);
    size_t fitting = (size - kIconFileHeaderSize) / kIconGroupEntrySize;
    if (count > fitting) count = fitting;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* e = data + kIconFileHeaderSize + i * kIconGroupEntrySize;
        IconGroupMember m;
        m.width = e[0];
        m.height = e[1];
        m.colorCount = e[2];
        m.planes = ReadU16(e + 4);
        m.bitCount = ReadU16(e + 6);
        m.bytesInRes = ReadU32(e + 8);
        m.id = ReadU16(e + 12);
        members->push_back(m);
    }
    return true;
}

bool MakeIconImage(const uint8_t* data, size_t size, const IconImage& entry, IconImage* image) {
    if (!data || size == 0) return false;
    if (IsPngImage(data, size)) {
        image->width = entry.width;
        image->height = entry.height;
        image->colorCount = entry.colorCount;
        image->planes = entry.planes;
        image->bitCount = entry.bitCount;
        image->data.assign(data, data + size);
        return true;
    }
    if (size < kBitmapInfoHeaderSize) return false;
    uint32_t headerSize = ReadU32(data);
    if (headerSize < kBitmapInfoHeaderSize || headerSize > size) return false;
    int32_t width = ReadI32(data + 4);
    int32_t height = ReadI32(data + 8);
    uint16_t planes = ReadU16(data + 12);
    uint16_t bitCount = ReadU16(data + 14);
    // Icon bitmaps store colour and mask rows together: the header's height is doubled.
    image->width = static_cast<uint8_t>(width);
    image->height = static_cast<uint8_t>(height / 2);
    uint32_t depth = uint32_t(planes) * bitCount;
    image->colorCount = depth < 8 ? static_cast<uint8_t>(1u << depth) : 0;
    image->planes = planes;
    image->bitCount = bitCount;
    image->data.assign(data, data + size);
    std::memset(image->data.data() + 20, 0, 4);  // biSizeImage
    return true;
}

std::vector<IconImage> CollectGroupImages(const uint8_t* directory, size_t size,
                                          const IconResourceLookup& findImage) {
    std::vector<IconImage> images;
    std::vector<IconGroupMember> members;
    if (!ParseIconGroup(directory, size, &members)) return images;
    std::vector<bool> taken(size_t(UINT16_MAX) + 1, false);
    size_t fileBytes = kIconFileHeaderSize;
    for (const IconGroupMember& m : members) {
        // An image is considered once, whatever became of it.
        if (taken[m.id]) continue;
        taken[m.id] = true;
        const uint8_t* data = nullptr;
        size_t dataSize = 0;
        if (!findImage(m.id, &data, &dataSize)) continue;
        if (dataSize > kMaxIconFileBytes - fileBytes ||
            kIconFileEntrySize > kMaxIconFileBytes - fileBytes - dataSize)
            continue;
        IconImage entry;
        entry.width = m.width;
        entry.height = m.height;
        entry.colorCount = m.colorCount;
        entry.planes = m.planes;
        entry.bitCount = m.bitCount;
        IconImage image;
        if (!MakeIconImage(data, dataSize, entry, &image)) continue;
        fileBytes += kIconFileEntrySize + dataSize;
        images.push_back(std::move(image));
    }
    return images;
}

bool ReadIconFile(const uint8_t* data, size_t size, std::vector<IconImage>* images) {
    images->clear();
    if (!data || size < kIconFileHeaderSize) return false;
    if (ReadU16(data) != 0 || ReadU16(data + 2) != 1) return false;
    size_t count = ReadU16(data + 4);
    if (count > (size - kIconFileHeaderSize) / kIconFileEntrySize) return false;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* e = data + kIconFileHeaderSize + i * kIconFileEntrySize;
        uint32_t bytes = ReadU32(e + 8);
        uint32_t offset = ReadU32(e + 12);
        if (offset > size || bytes > size - offset) {
            images->clear();
            return false;
        }
        IconImage image;
        image.width = e[0];
        image.height = e[1];
        image.colorCount = e[2];
        image.planes = ReadU16(e + 4);
        image.bitCount = ReadU16(e + 6);
        image.data.assign(data + offset, data + offset + bytes);
        images->push_back(std::move(image));
    }
    return true;
}

std::vector<uint8_t> WriteIconFile(const std::vector<IconImage>& images) {
    std::vector<uint8_t> out;
    size_t total = kIconFileHeaderSize + kIconFileEntrySize * images.size();
    for (const IconImage& image : images) total += image.data.size();
    out.reserve(total);
    PutU16(&out, 0);
    PutU16(&out, 1);
    PutU16(&out, static_cast<uint16_t>(images.size()));
    uint32_t offset =
        static_cast<uint32_t>(kIconFileHeaderSize + kIconFileEntrySize * images.size());
    for (const IconImage& image : images) {
        out.push_back(image.width);
        out.push_back(image.height);
        out.push_back(image.colorCount);
        out.push_back(0);
        PutU16(&out, image.planes);
        PutU16(&out, image.bitCount);
        PutU32(&out, static_cast<uint32_t>(image.data.size()));
        PutU32(&out, offset);
        offset += static_cast<uint32_t>(image.data.size());
    }
    for (const IconImage& image : images)
        out.insert(out.end(), image.data.begin(), image.data.end());
    return out;
}
