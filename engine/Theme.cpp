#include "engine/Theme.h"

#include <algorithm>

bool Theme::Part(int32_t id, int32_t state, PartDraw& out) const {
    for (const SkinPart& part : parts) {
        if (part.id != id || part.state != state) continue;
        if (part.image < 0 || part.image >= int32_t(images.size()) || !images[part.image])
            return false;
        const PixelImage* image = images[part.image]->FrameFor(0);
        if (!image || part.x < 0 || part.y < 0 || part.width <= 0 || part.height <= 0 ||
            part.width > image->width - part.x || part.height > image->height - part.y)
            return false;
        out.image = image;
        out.source = PixelRect{part.x, part.y, part.width, part.height};
        out.marginX = std::max(0, part.marginX);
        out.marginY = std::max(0, part.marginY);
        return true;
    }
    return false;
}

namespace {
// Skins carry images for states and parts that may never be drawn (a hidden
// control, a scroll bar never needed): each is decoded when first drawn.
const PictureUse kSkinImageUse{{}, true};
}  // namespace

Theme LoadTheme(const std::vector<uint8_t>* descriptor) {
    Theme theme;
    if (!descriptor) return theme;
    auto skin = ParseSkinDescriptor(descriptor->data(), descriptor->size());
    if (!skin) return theme;
    theme.fromSkin = true;
    uint32_t* colours[] = {&theme.background,   &theme.border,       &theme.text,  &theme.hoverFill,
                           &theme.selectedFill, &theme.selectedText, &theme.accent};
    for (int i = 0; i < 7; ++i)
        if (skin->hasValue[i]) *colours[i] = skin->values[i];
    if (skin->hasValue[SkinValue::kFontSize])
        theme.fontSize = std::clamp(int(skin->values[SkinValue::kFontSize]), 9, 32);
    if (skin->hasValue[SkinValue::kCornerRadius])
        theme.cornerRadius = std::clamp(int(skin->values[SkinValue::kCornerRadius]), 0, 24);
    theme.parts = skin->parts;
    for (const SkinImageRef& ref : skin->images)
        theme.images.push_back(
            DecodePicture(descriptor->data() + ref.offset, ref.length, kSkinImageUse));
    return theme;
}
