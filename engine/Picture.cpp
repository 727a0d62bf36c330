#include "engine/Picture.h"

#include <algorithm>
#include <cstring>

#include "engine/GdiplusDecoder.h"
#include "engine/IconFile.h"

namespace {
std::map<int32_t, PictureRef> gPictures;
int32_t gNextPictureHandle = 0x1000;
}  // namespace

namespace {
// The largest side the system's decoder is asked to decode.
constexpr uint32_t kMaxPictureSide = 8192;

// A frame is never enlarged beyond twice its own size: it would only blur.
constexpr double kMaxEnlargement = 2.0;

// The size a frame is drawn at inside width x height, keeping its
// proportions; `enlarged` is how far its pixels are enlarged already.
std::pair<int, int> FittedSize(const PixelImage& frame, double enlarged, int width, int height) {
    const double scale = std::min(
        {double(width) / frame.width, double(height) / frame.height, kMaxEnlargement / enlarged});
    return {std::max(1, int(frame.width * scale + 0.5)),
            std::max(1, int(frame.height * scale + 0.5))};
}

PixelImage FittedCopy(const PixelImage& frame, int w, int h) {
    return Resample(frame, PixelRect{0, 0, frame.width, frame.height}, w, h);
}

}  // namespace

bool Picture::Decode(Frame& frame) const {
    const uint8_t* bytes = frame.source ? frame.source : frame.compressed.data();
    const size_t size = frame.source ? frame.sourceSize : frame.compressed.size();
    PixelImage image;
    frame.decoded =
        frame.png ? DecodeWithGdiplus(bytes, size, image) : DecodeIconDib(bytes, size, image);
    frame.failed = !frame.decoded;
    if (frame.decoded) {
        frame.image = std::move(image);
        frame.width = frame.image.width;
        frame.height = frame.image.height;
    }
    std::vector<uint8_t>().swap(frame.compressed);
    frame.source = nullptr;
    return frame.decoded;
}

int Picture::Choose(int maxSide, const std::vector<bool>& excluded) const {
    std::vector<IconFrameInfo> infos;
    std::vector<int> candidates;
    for (size_t i = 0; i < frames_.size(); ++i) {
        const Frame& f = frames_[i];
        if (f.failed || (i < excluded.size() && excluded[i])) continue;
        IconFrameInfo info;
        info.width = f.width;
        info.height = f.height;
        info.bitCount = f.bitCount;
        infos.push_back(info);
        candidates.push_back(int(i));
    }
    const int chosen = ChooseIconFrame(infos, maxSide);
    return chosen < 0 ? -1 : candidates[size_t(chosen)];
}

void Picture::Settle() const {
    if (sides_.empty()) return;
    std::vector<bool> keep(frames_.size(), false);
    for (const int side : sides_) {
        // The frames that can be drawn at this side, in the order they would be.
        std::vector<bool> excluded(frames_.size(), false);
        std::vector<int> chain;
        for (;;) {
            const int k = Choose(side, excluded);
            if (k < 0) {
                // Nothing decoded stands behind the compressed frames: they
                // decode now, and the first that does is the one drawn.
                std::vector<int> waiting;
                waiting.swap(chain);
                for (const int w : waiting) {
                    if (Decode(frames_[size_t(w)])) {
                        chain.push_back(w);
                        break;
                    }
                }
                break;
            }
            Frame& frame = frames_[size_t(k)];
            if (frame.png && !frame.decoded) {
                excluded[size_t(k)] = true;
                chain.push_back(k);
                continue;
            }
            if (!frame.decoded && !Decode(frame)) continue;
            chain.push_back(k);
            break;
        }
        for (const int k : chain) keep[size_t(k)] = true;
    }
    std::vector<Frame> kept;
    for (size_t i = 0; i < frames_.size(); ++i)
        if (keep[i] && !frames_[i].failed) kept.push_back(std::move(frames_[i]));
    frames_ = std::move(kept);
    // Drawn at one size and nothing left to choose from: what is kept is
    // what is drawn.
    if (sides_.size() == 1 && frames_.size() == 1 && frames_[0].decoded) {
        Frame& frame = frames_[0];
        const auto [w, h] = FittedSize(frame.image, frame.enlarged, sides_[0], sides_[0]);
        if (w != frame.width || h != frame.height) {
            frame.enlarged *= double(w) / frame.width;
            frame.image = FittedCopy(frame.image, w, h);
            frame.width = w;
            frame.height = h;
        }
    }
}

const Picture::Frame* Picture::DecodedFrameFor(int maxSide) const {
    // A compressed frame that fails to decode drops out and the choice is made again.
    for (;;) {
        const int k = Choose(maxSide, {});
        if (k < 0) return nullptr;
        Frame& frame = frames_[size_t(k)];
        if (frame.decoded) return &frame;
        Decode(frame);
        Settle();
    }
}

const PixelImage* Picture::FrameFor(int maxSide) const {
    const Frame* frame = DecodedFrameFor(maxSide);
    return frame ? &frame->image : nullptr;
}

const PixelImage* Picture::Fitted(int width, int height) const {
    if (width <= 0 || height <= 0) return nullptr;
    auto found = fitted_.find({width, height});
    if (found != fitted_.end()) return &found->second;
    const Frame* chosen = DecodedFrameFor(std::max(width, height));
    if (!chosen || chosen->image.Empty()) return nullptr;
    const PixelImage& frame = chosen->image;
    const auto [w, h] = FittedSize(frame, chosen->enlarged, width, height);
    if (w == frame.width && h == frame.height) return &frame;
    if (fitted_.size() >= 8) fitted_.clear();
    return &(fitted_[{width, height}] = FittedCopy(frame, w, h));
}

size_t Picture::HeldBytes() const {
    size_t bytes = 0;
    for (const Frame& f : frames_) bytes += f.image.pixels.size() * 4 + f.compressed.size();
    for (const auto& entry : fitted_) bytes += entry.second.pixels.size() * 4;
    return bytes;
}

PictureRef DecodePicture(const uint8_t* bytes, size_t size, const PictureUse& use) {
    auto picture = std::make_shared<Picture>();
    if (!bytes || size == 0) return picture;
    std::vector<Picture::Frame>& frames = picture->frames_;
    if (LooksLikeIcon(bytes, size)) {
        for (const IconFrameInfo& info : ParseIconDirectory(bytes, size)) {
            Picture::Frame frame;
            frame.bitCount = info.bitCount;
            frame.width = info.width;
            frame.height = info.height;
            frame.png = info.png;
            frame.source = bytes + info.offset;
            frame.sourceSize = info.size;
            frames.push_back(std::move(frame));
        }
        if (!use.sides.empty()) {
            picture->sides_ = use.sides;
            picture->Settle();
        } else {
            // Every frame is kept. With a bitmap frame to fall back on, PNG
            // frames wait until drawn; without one they are decoded now, so
            // undecodable bytes still give null.
            bool anyBitmap = false;
            for (Picture::Frame& frame : frames)
                if (!frame.png) anyBitmap = picture->Decode(frame) || anyBitmap;
            for (Picture::Frame& frame : frames)
                if (frame.png && !anyBitmap) picture->Decode(frame);
            std::vector<Picture::Frame> kept;
            for (Picture::Frame& frame : frames)
                if (!frame.failed) kept.push_back(std::move(frame));
            frames = std::move(kept);
        }
    } else {
        Picture::Frame frame;
        frame.png = true;  // GDI+ reads it, whatever the format
        frame.source = bytes;
        frame.sourceSize = size;
        uint32_t width = 0, height = 0;
        const bool later = use.decodePngWhenDrawn && ReadPngSize(bytes, size, width, height) &&
                           width > 0 && height > 0 && width <= kMaxPictureSide &&
                           height <= kMaxPictureSide;
        frame.width = int(width);
        frame.height = int(height);
        if (!later && !picture->Decode(frame)) return nullptr;
        frames.push_back(std::move(frame));
        picture->sides_ = use.sides;
        picture->Settle();
    }
    // A frame still compressed keeps its own copy of its bytes.
    for (Picture::Frame& frame : frames) {
        if (frame.source) frame.compressed.assign(frame.source, frame.source + frame.sourceSize);
        frame.source = nullptr;
    }
    return frames.empty() ? nullptr : picture;
}

PictureRef DecodeProgramPicture(const uint8_t* bytes, size_t size, const PictureUse& use) {
    // Small enough to keep the bytes for an exact comparison.
    constexpr size_t kSharedMaxBytes = 4096;
    constexpr size_t kSharedEntries = 8;
    struct Shared {
        std::vector<uint8_t> bytes;
        std::vector<int> sides;
        std::weak_ptr<const Picture> picture;
    };
    static std::vector<Shared> shared;
    static size_t next = 0;
    if (!bytes || size == 0 || size > kSharedMaxBytes) return DecodePicture(bytes, size, use);
    for (const Shared& entry : shared) {
        if (entry.bytes.size() != size || entry.sides != use.sides ||
            std::memcmp(entry.bytes.data(), bytes, size) != 0)
            continue;
        if (PictureRef picture = entry.picture.lock()) return picture;
    }
    PictureRef picture = DecodePicture(bytes, size, use);
    if (!picture) return picture;
    Shared entry{std::vector<uint8_t>(bytes, bytes + size), use.sides, picture};
    if (shared.size() < kSharedEntries) {
        shared.push_back(std::move(entry));
    } else {
        shared[next] = std::move(entry);
        next = (next + 1) % kSharedEntries;
    }
    return picture;
}

PictureRef PictureFromByteSet(const uint8_t* block, size_t readable, const PictureUse& use) {
    // The empty byte set is a valid picture that draws nothing.
    if (!block) return DecodePicture(nullptr, 0);
    if (readable < 8) return nullptr;
    int32_t header[2];
    std::memcpy(header, block, sizeof header);
    if (header[0] != 1 || header[1] < 0 || size_t(header[1]) > readable - 8) return nullptr;
    return DecodeProgramPicture(block + 8, size_t(header[1]), use);
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
