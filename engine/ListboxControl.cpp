#include "engine/ListboxControl.h"

#include <windowsx.h>

#include <algorithm>

#include "engine/StoredListItems.h"

namespace {
constexpr int kPadding = 4;
}

ListboxControl::ListboxControl(const EngineCreationContext& context, EngineEventCallback callback,
                               AttributeSet attributes)
    : Control(ControlKind::Listbox, context, callback, std::move(attributes)) {
    const int defaultHeight =
        std::clamp(int(attributes_.Word(AttrIndex::kItemHeight, 30)), 16, 200);
    if (const std::vector<uint8_t>* stored = attributes_.Block(AttrIndex::kStoredItems)) {
        if (auto items = ParseStoredListItems(stored->data(), stored->size())) {
            for (const StoredListItem& item : *items) {
                Row row;
                row.text = WideFromUtf16(item.text);
                row.picture = item.picture.empty()
                                  ? nullptr
                                  : DecodePicture(item.picture.data(), item.picture.size());
                row.height =
                    item.height > 0 ? std::clamp(int(item.height), 16, 200) : defaultHeight;
                row.colour = item.textColour;
                rows_.push_back(std::move(row));
            }
        }
    }
    const int selected = Selected();
    if (selected < -1 || selected >= int(rows_.size()))
        attributes_.values[AttrIndex::kSelected].word = -1;
}

int ListboxControl::RowTop(int index) const {
    int top = kPadding;
    for (int i = 0; i < index && i < int(rows_.size()); ++i) top += rows_[i].height;
    return top - scroller_.Offset();
}

int ListboxControl::HitTest(int x, int y) const {
    const SIZE size = ClientSize();
    if (x < 0 || x >= size.cx - (scroller_.Needed() ? Scroller::kBarWidth : 0)) return -1;
    int top = kPadding - scroller_.Offset();
    for (int i = 0; i < int(rows_.size()); ++i) {
        if (y >= top && y < top + rows_[i].height) return i;
        top += rows_[i].height;
    }
    return -1;
}

void ListboxControl::UpdateExtent() {
    int content = 2 * kPadding;
    for (const Row& row : rows_) content += row.height;
    scroller_.SetExtent(content, int(ClientSize().cy));
}

void ListboxControl::OnWrapperChanged(bool resized) {
    UpdateExtent();
    Control::OnWrapperChanged(resized);
}

void ListboxControl::OnAttributeChanged(int index) {
    if (index == AttrIndex::kSelected && (Selected() < -1 || Selected() >= int(rows_.size())))
        attributes_.values[AttrIndex::kSelected].word = -1;
    Control::OnAttributeChanged(index);
}

void ListboxControl::OnMouseLeft() {
    if (hover_ != -1 || barHot_) {
        hover_ = -1;
        barHot_ = false;
        Invalidate();
    }
}

bool ListboxControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    switch (message) {
        case WM_MOUSEMOVE: {
            UpdateExtent();
            const bool barHot = scroller_.OnBar(x, ClientSize().cx) || scroller_.Dragging();
            const int hit = scroller_.Dragging() ? -1 : HitTest(x, y);
            if (scroller_.MouseMove(y) || hit != hover_ || barHot != barHot_) {
                hover_ = hit;
                barHot_ = barHot;
                Invalidate();
            }
            break;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            UpdateExtent();
            result = 0;
            if (scroller_.PressBar(Wrapper(), x, y, ClientSize().cx)) {
                Invalidate();
                return true;
            }
            const int hit = HitTest(x, y);
            if (hit >= 0 && hit != Selected()) {
                attributes_.values[AttrIndex::kSelected].word = hit;
                scroller_.Reveal(RowTop(hit) + scroller_.Offset(), rows_[hit].height);
                Invalidate();
                Raise(EngineCode::kSelectionChanged, hit);
            }
            return true;
        }
        case WM_LBUTTONUP:
            if (scroller_.MouseUp()) {
                ReleaseCapture();
                Invalidate();
            }
            result = 0;
            return true;
        case WM_CAPTURECHANGED:
            if (scroller_.MouseUp()) Invalidate();
            break;
        case WM_MOUSEWHEEL:
            return OnWheel(wParam, lParam, result, [this](WPARAM turn) {
                UpdateExtent();
                const int step = 3 * int(attributes_.Word(AttrIndex::kItemHeight, 30));
                if (scroller_.ScrollByWheel(turn, step)) Invalidate();
            });
        default:
            break;
    }
    return Control::OnMessage(message, wParam, lParam, result);
}

void ListboxControl::Paint(Canvas& canvas) {
    UpdateExtent();
    Surface& s = canvas.Pixels();
    PaintBackground(canvas);
    const int right = s.width - (scroller_.Needed() ? Scroller::kBarWidth : 0);
    const float radius = float(theme_.cornerRadius);
    int top = kPadding - scroller_.Offset();
    for (int i = 0; i < int(rows_.size()); ++i) {
        const Row& row = rows_[i];
        const int rowTop = top;
        top += row.height;
        if (rowTop + row.height <= 0 || rowTop >= s.height) continue;
        const bool selected = i == Selected();
        if (selected || i == hover_)
            FillRoundRect(s, float(kPadding), float(rowTop + 1), float(right - 2 * kPadding),
                          float(row.height - 2), radius,
                          selected ? theme_.selectedFill : theme_.hoverFill);
        int textLeft = kPadding + 10;
        if (row.picture) {
            const int side = std::max(8, row.height - 10);
            DrawPictureCentred(s, *row.picture, side,
                               PixelRect{textLeft, rowTop, side, row.height});
            textLeft += side + 8;
        }
        const uint32_t colour = selected                           ? theme_.selectedText
                                : row.colour == kDefaultTextColour ? theme_.text
                                                                   : row.colour;
        RECT box{textLeft, rowTop, right - kPadding - 6, rowTop + row.height};
        canvas.Text(row.text, box, colour, theme_.fontSize, false,
                    DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    }
    scroller_.Paint(canvas.Pixels(), theme_, barHot_);
}
