// The icon file format and icon-group directories as bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "runtime/library/icon/IconFile.h"
#include "tests/support/GuardedBuffer.h"

namespace {

void Put16(std::vector<uint8_t>* v, uint16_t x) {
    v->push_back(uint8_t(x));
    v->push_back(uint8_t(x >> 8));
}
void Put32(std::vector<uint8_t>* v, uint32_t x) {
    for (int i = 0; i < 4; ++i) v->push_back(uint8_t(x >> (8 * i)));
}
uint32_t Get32(const std::vector<uint8_t>& v, size_t at) {
    return v[at] | (v[at + 1] << 8) | (v[at + 2] << 16) | (uint32_t(v[at + 3]) << 24);
}

// A bitmap icon image: 40-byte header (height doubled), `extra` bytes of bits.
std::vector<uint8_t> Bitmap(int32_t side, uint16_t bits, size_t extra, uint32_t sizeImage = 1234) {
    std::vector<uint8_t> v;
    Put32(&v, 40);
    Put32(&v, uint32_t(side));
    Put32(&v, uint32_t(side * 2));
    Put16(&v, 1);
    Put16(&v, bits);
    Put32(&v, 0);
    Put32(&v, sizeImage);
    for (int i = 0; i < 16; ++i) v.push_back(0);
    for (size_t i = 0; i < extra; ++i) v.push_back(uint8_t(i * 7));
    return v;
}

std::vector<uint8_t> Png(size_t extra) {
    std::vector<uint8_t> v = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    for (size_t i = 0; i < extra; ++i) v.push_back(uint8_t(i));
    return v;
}

IconImage Made(const std::vector<uint8_t>& bytes, const IconImage& entry = IconImage()) {
    IconImage image;
    EXPECT_TRUE(MakeIconImage(bytes.data(), bytes.size(), entry, &image));
    return image;
}

TEST(IconImageFields, BitmapFieldsComeFromItsHeader) {
    IconImage entry;  // the directory's claims are not used for bitmaps
    entry.width = 99;
    entry.bitCount = 99;
    IconImage image = Made(Bitmap(48, 4, 100), entry);
    EXPECT_EQ(48, image.width);
    EXPECT_EQ(48, image.height);  // half the stored height
    EXPECT_EQ(16, image.colorCount);
    EXPECT_EQ(1, image.planes);
    EXPECT_EQ(4, image.bitCount);
    EXPECT_EQ(0u, Get32(image.data, 20)) << "image-size field of the header is written as 0";
    EXPECT_EQ(140u, image.data.size());

    EXPECT_EQ(2, Made(Bitmap(16, 1, 8)).colorCount);
    EXPECT_EQ(0, Made(Bitmap(16, 8, 8)).colorCount);
    EXPECT_EQ(0, Made(Bitmap(256, 32, 8)).width) << "256 does not fit a byte and reads as 0";
}

TEST(IconImageFields, DamagedImagesAreRefused) {
    IconImage image;
    std::vector<uint8_t> shortHeader = Bitmap(16, 32, 0);
    shortHeader.resize(39);
    EXPECT_FALSE(MakeIconImage(shortHeader.data(), shortHeader.size(), IconImage(), &image));
    std::vector<uint8_t> bigHeader = Bitmap(16, 32, 10);
    bigHeader[0] = 200;  // header claims more bytes than the image has
    EXPECT_FALSE(MakeIconImage(bigHeader.data(), bigHeader.size(), IconImage(), &image));
    std::vector<uint8_t> tiny = {0x89, 'P', 'N'};
    EXPECT_FALSE(MakeIconImage(tiny.data(), tiny.size(), IconImage(), &image));
    EXPECT_FALSE(MakeIconImage(nullptr, 0, IconImage(), &image));
}

TEST(IconFileLayout, WrittenEntriesAndOffsets) {
    std::vector<IconImage> images = {Made(Bitmap(32, 32, 64)), Made(Png(20)),
                                     Made(Bitmap(16, 4, 8))};
    std::vector<uint8_t> file = WriteIconFile(images);
    ASSERT_EQ(6u + 3 * 16 + 104 + 28 + 48, file.size());
    EXPECT_EQ(0, file[0] | file[1]);
    EXPECT_EQ(1, file[2] | (file[3] << 8));
    EXPECT_EQ(3, file[4] | (file[5] << 8));
    uint32_t expectedOffset = 6 + 3 * 16;
    for (size_t i = 0; i < images.size(); ++i) {
        size_t e = 6 + 16 * i;
        EXPECT_EQ(images[i].width, file[e]);
        EXPECT_EQ(images[i].height, file[e + 1]);
        EXPECT_EQ(images[i].colorCount, file[e + 2]);
        EXPECT_EQ(0, file[e + 3]);
        EXPECT_EQ(images[i].data.size(), Get32(file, e + 8));
        EXPECT_EQ(expectedOffset, Get32(file, e + 12));
        EXPECT_EQ(0, std::memcmp(file.data() + expectedOffset, images[i].data.data(),
                                 images[i].data.size()));
        expectedOffset += uint32_t(images[i].data.size());
    }

    std::vector<IconImage> back;
    ASSERT_TRUE(ReadIconFile(file.data(), file.size(), &back));
    ASSERT_EQ(3u, back.size());
    for (size_t i = 0; i < back.size(); ++i) {
        EXPECT_EQ(images[i].data, back[i].data);
        EXPECT_EQ(images[i].width, back[i].width);
        EXPECT_EQ(images[i].bitCount, back[i].bitCount);
    }
}

TEST(IconFileLayout, ReadingRefusesBadHeadersAndEveryTruncation) {
    std::vector<uint8_t> file = WriteIconFile({Made(Bitmap(16, 32, 30)), Made(Png(40))});
    std::vector<IconImage> images;
    // Each truncated file ends at an inaccessible page: reading past it faults.
    for (size_t cut = 0; cut < file.size(); ++cut) {
        GuardedBuffer truncated(std::vector<uint8_t>(file.begin(), file.begin() + cut));
        EXPECT_FALSE(ReadIconFile(truncated.Data(), truncated.Size(), &images)) << "cut at " << cut;
    }
    EXPECT_TRUE(images.empty());

    std::vector<uint8_t> bad = file;
    bad[0] = 1;
    EXPECT_FALSE(ReadIconFile(bad.data(), bad.size(), &images));
    bad = file;
    bad[2] = 2;  // a cursor file
    EXPECT_FALSE(ReadIconFile(bad.data(), bad.size(), &images));
    bad = file;
    // An offset near the top of the 32-bit range must not wrap around.
    bad[6 + 12] = 0xF0, bad[6 + 13] = 0xFF, bad[6 + 14] = 0xFF, bad[6 + 15] = 0xFF;
    EXPECT_FALSE(ReadIconFile(bad.data(), bad.size(), &images));
}

TEST(IconGroupDirectory, MembersAndClippedCount) {
    std::vector<uint8_t> group;
    Put16(&group, 0);
    Put16(&group, 1);
    Put16(&group, 5);  // claims five, holds two
    for (uint16_t id : {7, 9}) {
        group.insert(group.end(), {uint8_t(id * 2), 0, 0, 0});
        Put16(&group, 1);
        Put16(&group, 32);
        Put32(&group, 1000u + id);
        Put16(&group, id);
    }
    group.push_back(0xAA);  // a partial third entry
    std::vector<IconGroupMember> members;
    ASSERT_TRUE(ParseIconGroup(group.data(), group.size(), &members));
    ASSERT_EQ(2u, members.size());
    EXPECT_EQ(7, members[0].id);
    EXPECT_EQ(14, members[0].width);
    EXPECT_EQ(1009u, members[1].bytesInRes);
    EXPECT_EQ(9, members[1].id);

    group[2] = 2;
    EXPECT_FALSE(ParseIconGroup(group.data(), group.size(), &members));
    GuardedBuffer five(std::vector<uint8_t>(group.begin(), group.begin() + 5));
    EXPECT_FALSE(ParseIconGroup(five.Data(), five.Size(), &members));
}

// A group of `count` members naming the ids first, first + step, ...
std::vector<uint8_t> GroupOf(size_t count, uint16_t first, uint16_t step) {
    std::vector<uint8_t> group;
    Put16(&group, 0);
    Put16(&group, 1);
    Put16(&group, uint16_t(count));
    for (size_t i = 0; i < count; ++i) {
        group.insert(group.end(), {16, 16, 0, 0});
        Put16(&group, 1);
        Put16(&group, 32);
        Put32(&group, 0);
        Put16(&group, uint16_t(first + i * step));
    }
    return group;
}

// A group naming one image 65,535 times once wrote every copy (524 MB from an
// 8 KiB image); the image is taken once, in the place it first appears.
TEST(IconGroupCap, AnImageNamedAgainIsTakenOnce) {
    const std::vector<uint8_t> image = Bitmap(32, 32, 8192 - 40);
    const std::vector<uint8_t> other = Png(100);
    std::vector<uint8_t> group = GroupOf(0xFFFF, 1, 0);
    group[6 + 14 * 3 + 12] = 2;  // the fourth member names the other image
    int lookups = 0;
    const std::vector<IconImage> images = CollectGroupImages(
        group.data(), group.size(), [&](uint16_t id, const uint8_t** data, size_t* size) {
            ++lookups;
            const std::vector<uint8_t>& bytes = id == 1 ? image : other;
            *data = bytes.data();
            *size = bytes.size();
            return true;
        });
    ASSERT_EQ(2u, images.size());
    EXPECT_EQ(image.size(), images[0].data.size());
    EXPECT_EQ(other, images[1].data);
    EXPECT_EQ(2, lookups);
}

// Distinct images may still share their bytes (several resources pointing at
// one): the file stops growing at kMaxIconFileBytes, images past it are left
// out, and what was taken is written whole.
TEST(IconGroupCap, TheFileStaysWithinItsCap) {
    const std::vector<uint8_t> shared = Png(size_t(1) << 20);
    const std::vector<uint8_t> small = Bitmap(16, 32, 64, 0);
    std::vector<uint8_t> group = GroupOf(40, 1, 1);
    const std::vector<IconImage> images = CollectGroupImages(
        group.data(), group.size(), [&](uint16_t id, const uint8_t** data, size_t* size) {
            const std::vector<uint8_t>& bytes = id == 40 ? small : shared;
            *data = bytes.data();
            *size = bytes.size();
            return true;
        });
    // 15 shared images fit (6 + 15 x (16 + 1 MiB + 8) bytes), the 16th would
    // not; the small last one still does.
    ASSERT_EQ(16u, images.size());
    EXPECT_EQ(small, images.back().data);
    const std::vector<uint8_t> file = WriteIconFile(images);
    EXPECT_LE(file.size(), kMaxIconFileBytes);
    std::vector<IconImage> back;
    ASSERT_TRUE(ReadIconFile(file.data(), file.size(), &back));
    EXPECT_EQ(images.size(), back.size());

    // One image larger than the cap is never copied at all.
    const std::vector<uint8_t> huge = Png(kMaxIconFileBytes);
    group = GroupOf(1, 1, 0);
    EXPECT_TRUE(CollectGroupImages(group.data(), group.size(),
                                   [&](uint16_t, const uint8_t** data, size_t* size) {
                                       *data = huge.data();
                                       *size = huge.size();
                                       return true;
                                   })
                    .empty());
}

// Random damage must never make the readers step outside their input.
TEST(IconFileLayout, RandomDamageIsSurvived) {
    std::vector<uint8_t> file = WriteIconFile({Made(Bitmap(16, 32, 50)), Made(Png(60))});
    std::mt19937 random(12345);
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> damaged = file;
        for (int k = 0; k < 4; ++k) damaged[random() % damaged.size()] = uint8_t(random());
        damaged.resize(random() % (damaged.size() + 1));
        // The bytes end at an inaccessible page, so that an over-read faults.
        GuardedBuffer exact(damaged);
        std::vector<IconImage> images;
        if (ReadIconFile(exact.Data(), exact.Size(), &images)) {
            for (const IconImage& image : images) {
                IconImage made;
                MakeIconImage(image.data.data(), image.data.size(), image, &made);
            }
        }
        std::vector<IconGroupMember> members;
        ParseIconGroup(exact.Data(), exact.Size(), &members);
        EXPECT_LE(members.size() * kIconGroupEntrySize + kIconFileHeaderSize,
                  std::max<size_t>(exact.Size(), kIconFileHeaderSize));
    }
}

}  // namespace
