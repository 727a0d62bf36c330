#include "engine/Picture.h"

#include <algorithm>
#include <cstring>

#include "engine/GdiplusDecoder.h"
#include "engine/IconFile.h"

namespace {
std::map<int32_t, PictureRef> gPictures;
int32_t gNextPictureHandle = 0x1000;
}  // namespace

void Picture::AddFrame(PixelImage frame, int bitCount) {
    const int width = frame.width, height = frame.height;
    frames_.push_back(Frame{std::move(frame), bitCount, width, height, {}, false});
}

void Picture::AddPendingFrame(int width, int height, std::vector<uint8_t> png) {
    frames_.push_back(Frame{PixelImage{}, 32, width, height, std::move(png), false});
}

const PixelImage* Picture::FrameFor(int maxSide) const {
    // A pending frame that fails to decode drops out and the choice is made again.
    for (;;) {
        std::vector<IconFrameInfo> infos;
        std::vector<size_t> candidates;
        for (size_t i = 0; i < frames_.size(); ++i) {
            const Frame& f = frames_[i];
            if (f.failed) continue;
            IconFrameInfo info;
            info.width = f.width;
            info.height = f.height;
            info.bitCount = f.bitCount;
            infos.push_back(info);
            candidates.push_back(i);
        }
        const int chosen = ChooseIconFrame(infos, maxSide);
        if (chosen < 0) return nullptr;
        Frame& frame = frames_[candidates[size_t(chosen)]];
        if (frame.png.empty()) return &frame.image;
        PixelImage decoded;
        if (DecodeWithGdiplus(frame.png.data(), frame.png.size(), decoded)) {
            frame.image = std::move(decoded);
            frame.width = frame.image.width;
            frame.height = frame.image.height;
        } else {
            frame.failed = true;
        }
        std::vector<uint8_t>().swap(frame.png);
    }
}

const PixelImage* Picture::Fitted(int width, int height) const {
    if (width <= 0 || height <= 0) return nullptr;
    auto found = fitted_.find({width, height});
    if (found != fitted_.end()) return &found->second;
    const PixelImage* frame = FrameFor(std::max(width, height));
    if (!frame || frame->Empty()) return nullptr;
    // Never enlarge a small picture beyond twice its size: it would only blur.
    const double scale =
        std::min({double(width) / frame->width, double(height) / frame->height, 2.0});
    const int w = std::max(1, int(frame->width * scale + 0.5)),
              h = std::max(1, int(frame->height * scale + 0.5));
    PixelImage image = (w == frame->width && h == frame->height)
                           ? *frame
                           : Resample(*frame, PixelRect{0, 0, frame->width, frame->height}, w, h);
    if (fitted_.size() >= 8) fitted_.clear();
    return &(fitted_[{width, height}] = std::move(image));
}

PictureRef DecodePicture(const uint8_t* bytes, size_t size) {
    auto picture = std::make_shared<Picture>();
    if (!bytes || size == 0) return picture;
    if (LooksLikeIcon(bytes, size)) {
        const std::vector<IconFrameInfo> infos = ParseIconDirectory(bytes, size);
        std::vector<PixelImage> bitmaps(infos.size());
        std::vector<bool> decoded(infos.size(), false);
        bool anyBitmap = false;
        for (size_t i = 0; i < infos.size(); ++i) {
            if (infos[i].png) continue;
            decoded[i] = DecodeIconDib(bytes + infos[i].offset, infos[i].size, bitmaps[i]);
            anyBitmap = anyBitmap || decoded[i];
        }
        // With a bitmap frame to fall back on, PNG frames wait until drawn;
        // without one they are decoded now, so undecodable bytes still give null.
        for (size_t i = 0; i < infos.size(); ++i) {
            const IconFrameInfo& info = infos[i];
            const uint8_t* frameBytes = bytes + info.offset;
            if (!info.png) {
                if (decoded[i]) picture->AddFrame(std::move(bitmaps[i]), info.bitCount);
            } else if (anyBitmap) {
                picture->AddPendingFrame(info.width, info.height,
                                         std::vector<uint8_t>(frameBytes, frameBytes + info.size));
            } else {
                PixelImage frame;
                if (DecodeWithGdiplus(frameBytes, info.size, frame))
                    picture->AddFrame(std::move(frame), info.bitCount);
            }
        }
        return picture->Empty() ? nullptr : picture;
    }
    PixelImage image;
    if (!DecodeWithGdiplus(bytes, size, image)) return nullptr;
    picture->AddFrame(std::move(image), 32);
    return picture;
}

PictureRef PictureFromByteSet(const uint8_t* block, size_t readable) {
    // The empty byte set is a valid picture that draws nothing.
    if (!block) return DecodePicture(nullptr, 0);
    if (readable < 8) return nullptr;
    int32_t header[2];
    std::memcpy(header, block, sizeof header);
    if (header[0] != 1 || header[1] < 0 || size_t(header[1]) > readable - 8) return nullptr;
    return DecodePicture(block + 8, size_t(header[1]));
}

bool DrawPictureCentred(Surface& s, const Picture& picture, int side, const PixelRect& box,
                        int opacity) {
    const PixelImage* image = picture.Fitted(side, side);
    if (!image) return false;
    DrawImage(s, *image, PixelRect{0, 0, image->width, image->height},
              PixelRect{box.x + (box.width - image->width) / 2,
                        box.y + (box.height - image->height) / 2, image->width, image->height},
              opacity);
    return true;
}

int32_t RegisterPicture(PictureRef picture) {
    if (!picture) return 0;
    do {
        gNextPictureHandle = gNextPictureHandle >= 0x7FFFFFF0 ? 0x1000 : gNextPictureHandle + 1;
    } while (gPictures.count(gNextPictureHandle));
    gPictures[gNextPictureHandle] = std::move(picture);
    return gNextPictureHandle;
}

PictureRef FindPicture(int32_t handle) {
    auto found = gPictures.find(handle);
    return found == gPictures.end() ? nullptr : found->second;
}

bool ReleasePicture(int32_t handle) {
    return gPictures.erase(handle) > 0;
}

size_t LivePictureCount() {
    return gPictures.size();
}
