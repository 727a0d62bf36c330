#include "engine/ToolbarControl.h"

#include <windowsx.h>

#include <algorithm>

namespace {
constexpr int kPadding = 6;
constexpr int kGap = 4;
}  // namespace

int ToolbarControl::ButtonHeight() const {
    return std::clamp(int(attributes_.Word(AttrIndex::kButtonHeight, 36)), 20, 96);
}

int ToolbarControl::ButtonTop(int index) const {
    return kPadding + index * (ButtonHeight() + kGap) - scroller_.Offset();
}

int ToolbarControl::FaceRight(int clientWidth) const {
    return clientWidth - kPadding - 1 -
           (scroller_.Needed() ? Scroller::kBarWidth - kPadding + 2 : 0);
}

int ToolbarControl::ContentHeight() const {
    return buttons_.empty() ? 0
                            : 2 * kPadding + int(buttons_.size()) * (ButtonHeight() + kGap) - kGap;
}

void ToolbarControl::UpdateExtent() {
    scroller_.SetExtent(ContentHeight(), int(ClientSize().cy));
}

int ToolbarControl::HitTest(int x, int y) const {
    const SIZE size = ClientSize();
    if (x < kPadding || x >= FaceRight(size.cx) || scroller_.OnBar(x, size.cx)) return -1;
    for (int i = 0; i < int(buttons_.size()); ++i) {
        const int top = ButtonTop(i);
        if (y >= top && y < top + ButtonHeight()) return i;
    }
    return -1;
}

void ToolbarControl::InsertButton(int32_t position, int32_t value1, int32_t value2,
                                  std::wstring title) {
    const size_t at = position >= 1 && size_t(position) <= buttons_.size() ? size_t(position - 1)
                                                                           : buttons_.size();
    buttons_.insert(buttons_.begin() + at, Button{std::move(title), false, value1, value2});
    ItemsChanged();
}

void ToolbarControl::DeleteButton(int32_t index) {
    if (index == -1) {
        buttons_.clear();
        scroller_.ScrollTo(0);
    } else if (index >= 0 && index < int32_t(buttons_.size())) {
        buttons_.erase(buttons_.begin() + index);
    } else {
        return;
    }
    ItemsChanged();
}

void ToolbarControl::SetSelected(int32_t index, bool selected) {
    if (index < 0 || index >= int32_t(buttons_.size()) || buttons_[index].selected == selected)
        return;
    buttons_[index].selected = selected;
    Invalidate();
    // A screen reader says which category the user moved to.
    if (selected) NotifyAccessible(EVENT_OBJECT_SELECTION, Wrapper(), index);
}

RECT ToolbarControl::ItemBox(int item) const {
    const int top = ButtonTop(item);
    return RECT{kPadding, top, FaceRight(int(ClientSize().cx)), top + ButtonHeight()};
}

void ToolbarControl::OnMouseLeft() {
    if (pointer_.Leave()) Invalidate();
}

void ToolbarControl::OnWrapperChanged(bool resized) {
    if (resized) UpdateExtent();
    Control::OnWrapperChanged(resized);
}

bool ToolbarControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    switch (message) {
        case WM_MOUSEMOVE:
            OnPointerMove(x, y);
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            UpdateExtent();
            result = 0;
            if (scroller_.PressBar(Wrapper(), x, y, ClientSize().cx)) {
                Invalidate();
                return true;
            }
            pointer_.pressed = HitTest(x, y);
            if (pointer_.pressed >= 0) SetCapture(Wrapper());
            Invalidate();
            return true;
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            if (OnPointerRelease(message, x, y, result)) return true;
            break;
        case WM_MOUSEWHEEL:
            return OnWheel(wParam, lParam, result, [this](WPARAM turn) {
                UpdateExtent();
                if (scroller_.ScrollByWheel(turn, ButtonHeight() + kGap)) Invalidate();
            });
        default:
            break;
    }
    return Control::OnMessage(message, wParam, lParam, result);
}

void ToolbarControl::Paint(Canvas& canvas) {
    UpdateExtent();
    PaintBackground(canvas);
    Surface& s = canvas.Pixels();
    // A hairline parts the toolbar from what lies right of it.
    FillRect(s, s.width - 1, kPadding, 1, s.height - 2 * kPadding, theme_.border, 160);
    const int height = ButtonHeight();
    const float radius = float(theme_.cornerRadius);
    for (int i = 0; i < int(buttons_.size()); ++i) {
        const int top = ButtonTop(i);
        if (top + height <= 0 || top >= s.height) continue;
        const Button& button = buttons_[i];
        const PixelRect face{kPadding, top, FaceRight(s.width) - kPadding, height};
        const int32_t state = button.selected         ? PartState::kSelected
                              : i == pointer_.pressed ? PartState::kPressed
                              : i == pointer_.hover   ? PartState::kHover
                                                      : PartState::kNormal;
        PartDraw part;
        if (theme_.Part(SkinPartId::kButtonFace, state, part)) {
            DrawNineGrid(s, *part.image, part.source, part.marginX, part.marginY, face);
        } else if (state != PartState::kNormal) {
            const uint32_t fill = state == PartState::kSelected ? theme_.selectedFill
                                  : state == PartState::kPressed
                                      ? MixColour(theme_.hoverFill, theme_.selectedFill, 128)
                                      : theme_.hoverFill;
            FillRoundRect(s, float(face.x), float(face.y), float(face.width), float(face.height),
                          radius, fill);
        }
        if (button.selected) {
            if (theme_.Part(SkinPartId::kSelectionMark, PartState::kNormal, part)) {
                DrawImage(s, *part.image, part.source,
                          PixelRect{face.x + 2, top + (height - part.source.height) / 2,
                                    part.source.width, part.source.height});
            } else {
                const float barHeight = std::max(10.0f, height * 0.45f);
                FillRoundRect(s, float(face.x + 3), top + (height - barHeight) / 2, 3.0f, barHeight,
                              1.5f, theme_.accent);
            }
        }
        RECT text{face.x + 14, top, face.x + face.width - 6, top + height};
        canvas.Text(button.title, text, button.selected ? theme_.selectedText : theme_.text,
                    theme_.fontSize, button.selected,
                    DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS);
    }
    scroller_.Paint(canvas.Pixels(), theme_, pointer_.barHot);
}
