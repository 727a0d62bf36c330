// A skin descriptor: header, value section (colours and metrics), part
// records (which image region draws which part in which state) and the
// embedded PNG images.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace SkinValue {
constexpr int kBackground = 0;
constexpr int kBorder = 1;
constexpr int kText = 2;
constexpr int kHoverFill = 3;
constexpr int kSelectedFill = 4;
constexpr int kSelectedText = 5;
constexpr int kAccent = 6;
constexpr int kFontSize = 7;
constexpr int kCornerRadius = 8;
constexpr int kCount = 9;
}  // namespace SkinValue

namespace SkinPartId {
constexpr int32_t kFrame = 1;
constexpr int32_t kScrollUp = 2;
constexpr int32_t kScrollDown = 3;
constexpr int32_t kScrollThumb = 4;
constexpr int32_t kScrollTrack = 5;
constexpr int32_t kButtonFace = 6;
constexpr int32_t kSelectionMark = 7;
constexpr int32_t kCaptionButton = 8;
}  // namespace SkinPartId

namespace PartState {
constexpr int32_t kNormal = 0;
constexpr int32_t kHover = 1;
constexpr int32_t kPressed = 2;
constexpr int32_t kSelected = 3;
constexpr int32_t kDisabled = 4;
}  // namespace PartState

struct SkinPart {
    int32_t id, state, image, x, y, width, height, marginX, marginY;
};

struct SkinImageRef {
    size_t offset;  // from the descriptor start
    size_t length;
};

struct SkinDescriptor {
    int32_t format = 0;
    int32_t kind = 0;
    std::u16string name;
    std::vector<uint32_t> values;  // exactly SkinValue::kCount entries (missing ones 0)
    bool hasValue[SkinValue::kCount] = {};
    std::vector<SkinPart> parts;
    std::vector<SkinImageRef> images;
};

constexpr size_t kSkinHeaderSize = 56;

// Checks every count, offset and length against the descriptor's own total
// length and the bytes given; nullopt for anything inconsistent.
std::optional<SkinDescriptor> ParseSkinDescriptor(const uint8_t* data, size_t size);
