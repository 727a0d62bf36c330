#include "engine/Scroller.h"

#include <algorithm>

void Scroller::SetExtent(int content, int view) {
    content_ = std::max(0, content);
    view_ = std::max(0, view);
    ScrollTo(offset_);
}

bool Scroller::ScrollTo(int offset) {
    const int clamped = std::clamp(offset, 0, std::max(0, content_ - view_));
    if (clamped == offset_) return false;
    offset_ = clamped;
    return true;
}

bool Scroller::Reveal(int top, int height) {
    if (top < offset_) return ScrollTo(top);
    if (top + height > offset_ + view_) return ScrollTo(top + height - view_);
    return false;
}

PixelRect Scroller::Thumb(int clientWidth) const {
    const int track = std::max(1, view_ - 4);
    const int length = std::max(24, int(int64_t(track) * view_ / std::max(1, content_)));
    const int range = std::max(1, content_ - view_);
    const int top = 2 + int(int64_t(track - std::min(length, track)) * offset_ / range);
    return PixelRect{clientWidth - kBarWidth + 2, top, kBarWidth - 4, std::min(length, track)};
}

bool Scroller::MouseDown(int x, int y, int clientWidth) {
    if (!OnBar(x, clientWidth)) return false;
    const PixelRect thumb = Thumb(clientWidth);
    if (y >= thumb.y && y < thumb.y + thumb.height) {
        dragging_ = true;
        dragStartY_ = y;
        dragStartOffset_ = offset_;
    } else {
        ScrollBy(y < thumb.y ? -view_ : view_);
    }
    return true;
}

bool Scroller::MouseMove(int y) {
    if (!dragging_) return false;
    const int track = std::max(1, view_ - 4);
    const int length = std::max(24, int(int64_t(track) * view_ / std::max(1, content_)));
    const int travel = std::max(1, track - std::min(length, track));
    ScrollTo(dragStartOffset_ + int(int64_t(y - dragStartY_) * (content_ - view_) / travel));
    return true;
}

bool Scroller::MouseUp() {
    const bool was = dragging_;
    dragging_ = false;
    return was;
}

void Scroller::Paint(Surface& s, const Theme& theme, bool hot) const {
    if (!Needed()) return;
    const PixelRect track{s.width - kBarWidth + 2, 2, kBarWidth - 4, view_ - 4};
    const PixelRect thumb = Thumb(s.width);
    PartDraw part;
    if (theme.Part(SkinPartId::kScrollTrack, PartState::kNormal, part)) {
        DrawNineGrid(s, *part.image, part.source, part.marginX, part.marginY, track,
                     hot ? 255 : 160);
    } else {
        FillRoundRect(s, float(track.x), float(track.y), float(track.width), float(track.height),
                      track.width / 2.0f, theme.text, hot ? 28 : 14);
    }
    const int32_t thumbState = dragging_ ? PartState::kPressed
                               : hot     ? PartState::kHover
                                         : PartState::kNormal;
    if (theme.Part(SkinPartId::kScrollThumb, thumbState, part) ||
        theme.Part(SkinPartId::kScrollThumb, PartState::kNormal, part)) {
        DrawNineGrid(s, *part.image, part.source, part.marginX, part.marginY, thumb);
    } else {
        FillRoundRect(s, float(thumb.x), float(thumb.y), float(thumb.width), float(thumb.height),
                      thumb.width / 2.0f, theme.text,
                      dragging_ ? 150
                      : hot     ? 120
                                : 80);
    }
}
