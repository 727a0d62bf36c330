// The ".ico" file format and the icon-group directory of a module, as pure
// byte code (no Win32 calls), so that it can be exercised on any host.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// One image of an icon, with the fields of its directory entry.
struct IconImage {
    uint8_t width = 0;   // 0 stands for 256
    uint8_t height = 0;  // 0 stands for 256
    uint8_t colorCount = 0;
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    std::vector<uint8_t> data;  // bitmap header + colour table + bits, or a whole PNG
};

// One member of an RT_GROUP_ICON directory (14-byte entries).
struct IconGroupMember {
    uint8_t width = 0;
    uint8_t height = 0;
    uint8_t colorCount = 0;
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    uint32_t bytesInRes = 0;
    uint16_t id = 0;  // RT_ICON resource name
};

constexpr size_t kIconFileHeaderSize = 6;
constexpr size_t kIconFileEntrySize = 16;
constexpr size_t kIconGroupEntrySize = 14;
constexpr size_t kBitmapInfoHeaderSize = 40;
// The most one icon file may hold. Real icons stay far below it (a full set
// up to 256 x 256 in 32 bits is under 1 MiB); a damaged or hostile group
// could otherwise name its images over and over into hundreds of megabytes.
constexpr size_t kMaxIconFileBytes = size_t(16) << 20;

bool IsPngImage(const uint8_t* data, size_t size);

// Reads a group directory. A count that claims more entries than the resource
// holds is cut to the entries that lie wholly inside it. False when the header
// itself is missing or not an icon group.
bool ParseIconGroup(const uint8_t* data, size_t size, std::vector<IconGroupMember>* members);

// Builds the file image of one icon picture. A PNG is copied unchanged and takes
// its fields from `entry` (the group's or file's own directory entry). A bitmap
// takes its fields from its own header, whose image-size field is written as 0.
// False when the bytes are neither a PNG nor a bitmap whose header fits.
bool MakeIconImage(const uint8_t* data, size_t size, const IconImage& entry, IconImage* image);

// Finds the bytes of the icon image resource `id` of a module; false when the
// module has none by that id.
using IconResourceLookup = std::function<bool(uint16_t id, const uint8_t** data, size_t* size)>;

// The images of one icon group, in the group's order. Members whose image is
// missing or damaged are left out so that one bad member does not cost the
// whole icon; so are members that name an image already taken and members
// that would take the file past kMaxIconFileBytes. A directory that is no
// icon group gives no image.
std::vector<IconImage> CollectGroupImages(const uint8_t* directory, size_t size,
                                          const IconResourceLookup& findImage);

// Reads an icon file: header (reserved 0, type 1), entries and every image by
// its offset and size. Any entry or image outside the data refuses the file.
bool ReadIconFile(const uint8_t* data, size_t size, std::vector<IconImage>* images);

// The bytes of an icon file holding the images in order.
std::vector<uint8_t> WriteIconFile(const std::vector<IconImage>& images);
