#include "engine/IcoListboxControl.h"

#include <windowsx.h>

#include <algorithm>

namespace {
constexpr int kTopPadding = 4;
constexpr int kIconTop = 8;
constexpr int kTitleGap = 6;
}  // namespace

IcoListboxControl::IcoListboxControl(const EngineCreationContext& context,
                                     EngineEventCallback callback, AttributeSet attributes)
    : ItemsControl(ControlKind::IcoListbox, context, callback, std::move(attributes)) {
    attributes_.values[AttrIndex::kSelected].word = -1;
}

int IcoListboxControl::IconSide() const {
    return std::clamp(int(attributes_.Word(AttrIndex::kIconSize, kDefaultIconSide)), 16, 128);
}

IcoListboxControl::Layout IcoListboxControl::ComputeLayout() const {
    const SIZE size = ClientSize();
    Layout layout;
    layout.iconSize = IconSide();
    const int titleHeight = theme_.fontSize + 8;
    const int storedWidth = attributes_.Word(AttrIndex::kCellWidth),
              storedHeight = attributes_.Word(AttrIndex::kCellHeight);
    layout.cellWidth =
        storedWidth >= 24 && storedWidth <= 400 ? storedWidth : std::max(layout.iconSize + 24, 72);
    layout.cellHeight = storedHeight >= 24 && storedHeight <= 400
                            ? storedHeight
                            : kIconTop + layout.iconSize + kTitleGap + titleHeight + 6;
    // Columns come from the full width; when the items need the scroll bar
    // the cells narrow to make room for it rather than losing a column.
    layout.columns = std::max(1, int(size.cx) / layout.cellWidth);
    const int rows = (int(items_.size()) + layout.columns - 1) / layout.columns;
    int usable = int(size.cx);
    if (2 * kTopPadding + rows * layout.cellHeight > size.cy) {
        usable = std::max(1, usable - Scroller::kBarWidth);
        layout.cellWidth = std::max(1, std::min(layout.cellWidth, usable / layout.columns));
    }
    layout.left = std::max(0, (usable - layout.columns * layout.cellWidth) / 2);
    return layout;
}

PixelRect IcoListboxControl::CellRect(const Layout& layout, int index) const {
    return PixelRect{layout.left + (index % layout.columns) * layout.cellWidth,
                     kTopPadding + (index / layout.columns) * layout.cellHeight, layout.cellWidth,
                     layout.cellHeight};
}

int IcoListboxControl::HitTest(int x, int y) const {
    const Layout layout = ComputeLayout();
    const SIZE size = ClientSize();
    if (scroller_.OnBar(x, size.cx) || x < layout.left ||
        x >= layout.left + layout.columns * layout.cellWidth)
        return -1;
    const int contentY = y + scroller_.Offset() - kTopPadding;
    if (contentY < 0 || y < 0 || y >= size.cy) return -1;
    const int index =
        (contentY / layout.cellHeight) * layout.columns + (x - layout.left) / layout.cellWidth;
    return index < int(items_.size()) ? index : -1;
}

void IcoListboxControl::UpdateExtent() {
    const Layout layout = ComputeLayout();
    const int rows = (int(items_.size()) + layout.columns - 1) / layout.columns;
    scroller_.SetExtent(rows == 0 ? 0 : 2 * kTopPadding + rows * layout.cellHeight,
                        int(ClientSize().cy));
}

int32_t IcoListboxControl::InsertItem(int32_t position, int32_t value1, int32_t value2,
                                      PictureRef picture, std::wstring title) {
    const int32_t at =
        position >= 0 && position < int32_t(items_.size()) ? position : int32_t(items_.size());
    items_.insert(items_.begin() + at, Item{std::move(title), std::move(picture), value1, value2});
    // The current item stays the same item.
    if (Current() >= at) attributes_.values[AttrIndex::kSelected].word = Current() + 1;
    ItemsChanged();
    return at;
}

void IcoListboxControl::DeleteItem(int32_t index) {
    if (index == -1) {
        items_.clear();
        attributes_.values[AttrIndex::kSelected].word = -1;
        scroller_.ScrollTo(0);
    } else if (index >= 0 && index < int32_t(items_.size())) {
        items_.erase(items_.begin() + index);
        if (Current() == index) {
            attributes_.values[AttrIndex::kSelected].word = -1;
        } else if (Current() > index) {
            attributes_.values[AttrIndex::kSelected].word = Current() - 1;
        }
    } else {
        return;
    }
    ItemsChanged();
}

void IcoListboxControl::SetCurrent(int index) {
    if (index < -1 || index >= int(items_.size())) index = -1;
    const bool changed = index != Current();
    attributes_.values[AttrIndex::kSelected].word = index;
    if (index >= 0) {
        UpdateExtent();
        const PixelRect cell = CellRect(ComputeLayout(), index);
        scroller_.Reveal(cell.y - kTopPadding, cell.height + 2 * kTopPadding);
    }
    Invalidate();
    if (changed && index >= 0) {
        // A screen reader follows the keyboard through the items.
        NotifyAccessible(EVENT_OBJECT_SELECTION, Wrapper(), index);
        if (GetFocus() == Wrapper()) NotifyAccessible(EVENT_OBJECT_FOCUS, Wrapper(), index);
    }
}

RECT IcoListboxControl::ItemBox(int item) const {
    const PixelRect cell = CellRect(ComputeLayout(), item);
    const int top = cell.y - scroller_.Offset();
    return RECT{cell.x, top, cell.x + cell.width, top + cell.height};
}

void IcoListboxControl::OnAttributeChanged(int index) {
    if (index == AttrIndex::kSelected) {
        SetCurrent(Current());
        return;
    }
    if (index >= AttrIndex::kIconSize && index <= AttrIndex::kCellHeight) UpdateExtent();
    Control::OnAttributeChanged(index);
}

void IcoListboxControl::OnWrapperChanged(bool resized) {
    UpdateExtent();
    Control::OnWrapperChanged(resized);
}

void IcoListboxControl::OnMouseLeft() {
    if (pointer_.Leave()) Invalidate();
}

void IcoListboxControl::MoveCurrent(int key) {
    if (items_.empty()) return;
    const Layout layout = ComputeLayout();
    const int count = int(items_.size()), current = Current();
    const int visibleRows = std::max(1, int(ClientSize().cy) / layout.cellHeight);
    int next = current;
    switch (key) {
        case VK_LEFT:
            next = current - 1;
            break;
        case VK_RIGHT:
            next = current + 1;
            break;
        case VK_UP:
            next = current - layout.columns;
            break;
        case VK_DOWN:
            next = current + layout.columns;
            break;
        case VK_PRIOR:
            next = current - visibleRows * layout.columns;
            break;
        case VK_NEXT:
            next = current + visibleRows * layout.columns;
            break;
        case VK_HOME:
            next = 0;
            break;
        case VK_END:
            next = count - 1;
            break;
        default:
            return;
    }
    // With no current item the keys start from the first; End still goes to the last.
    if (current < 0 && key != VK_END) next = 0;
    SetCurrent(std::clamp(next, 0, count - 1));
}

bool IcoListboxControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    switch (message) {
        case WM_GETDLGCODE:
            result = DLGC_WANTARROWS | DLGC_WANTALLKEYS;
            return true;
        case WM_MOUSEMOVE:
            OnPointerMove(x, y);
            break;
        case WM_LBUTTONDOWN: {
            UpdateExtent();
            if (GetFocus() != Wrapper()) SetFocus(Wrapper());
            result = 0;
            SetCapture(Wrapper());
            if (scroller_.MouseDown(x, y, ClientSize().cx)) {
                Invalidate();
                return true;
            }
            pointer_.pressed = HitTest(x, y);
            if (pointer_.pressed >= 0) SetCurrent(pointer_.pressed);
            Invalidate();
            return true;
        }
        case WM_LBUTTONDBLCLK:
            // The first click of a double click has activated the item already;
            // a second activation would open it twice.
            result = 0;
            return true;
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            if (OnPointerRelease(message, x, y, result)) return true;
            break;
        case WM_RBUTTONUP:
            Raise(EngineCode::kContextMenu, HitTest(x, y), x, y);
            result = 0;
            return true;
        case WM_MOUSEWHEEL:
            return OnWheel(wParam, lParam, result, [this](WPARAM turn) {
                UpdateExtent();
                if (scroller_.ScrollByWheel(turn, ComputeLayout().cellHeight)) Invalidate();
            });
        case WM_KEYDOWN:
            if (wParam == VK_RETURN) {
                if (Current() >= 0) Raise(EngineCode::kItemActivated, Current());
            } else {
                MoveCurrent(int(wParam));
            }
            result = 0;
            return true;
        case WM_SETFOCUS:
            // The focus lands on the current item, when there is one.
            if (Current() >= 0) NotifyAccessible(EVENT_OBJECT_FOCUS, Wrapper(), Current());
            Invalidate();
            break;
        case WM_KILLFOCUS:
            Invalidate();
            break;
        default:
            break;
    }
    return Control::OnMessage(message, wParam, lParam, result);
}

void IcoListboxControl::PaintPlaceholder(Surface& s, const PixelRect& box) const {
    // A neutral page: a rounded sheet with a folded corner hint and three lines.
    const float w = box.width * 0.62f, h = box.height * 0.78f;
    const float x = box.x + (box.width - w) / 2, y = box.y + (box.height - h) / 2;
    FillRoundRect(s, x, y, w, h, std::max(2.0f, w * 0.12f), theme_.text, 34);
    StrokeRoundRect(s, x, y, w, h, std::max(2.0f, w * 0.12f), 1.0f, theme_.text, 90);
    const float lineX = x + w * 0.2f, lineW = w * 0.6f, lineH = std::max(2.0f, h * 0.05f);
    for (int i = 0; i < 3; ++i)
        FillRoundRect(s, lineX, y + h * (0.3f + 0.18f * i), i == 2 ? lineW * 0.6f : lineW, lineH,
                      lineH / 2, theme_.text, 110);
}

void IcoListboxControl::Paint(Canvas& canvas) {
    UpdateExtent();
    PaintBackground(canvas);
    Surface& s = canvas.Pixels();
    const Layout layout = ComputeLayout();
    const float radius = float(theme_.cornerRadius);
    const bool focused = GetFocus() == Wrapper();
    for (int i = 0; i < int(items_.size()); ++i) {
        PixelRect cell = CellRect(layout, i);
        cell.y -= scroller_.Offset();
        if (cell.y + cell.height <= 0 || cell.y >= s.height) continue;
        const Item& item = items_[i];
        const PixelRect tile{cell.x + 3, cell.y + 2, cell.width - 6, cell.height - 4};
        if (i == Current()) {
            FillRoundRect(s, float(tile.x), float(tile.y), float(tile.width), float(tile.height),
                          radius, theme_.selectedFill);
            StrokeRoundRect(s, float(tile.x), float(tile.y), float(tile.width), float(tile.height),
                            radius, 1.0f, theme_.accent, focused ? 220 : 120);
        } else if (i == pointer_.hover || i == pointer_.pressed) {
            FillRoundRect(s, float(tile.x), float(tile.y), float(tile.width), float(tile.height),
                          radius, theme_.hoverFill);
        }
        const PixelRect iconBox{cell.x + (cell.width - layout.iconSize) / 2, cell.y + kIconTop,
                                layout.iconSize, layout.iconSize};
        if (!item.picture || !DrawPictureCentred(s, *item.picture, layout.iconSize, iconBox,
                                                 i == pointer_.pressed ? 200 : 255))
            PaintPlaceholder(s, iconBox);
        const int titleTop = iconBox.y + iconBox.height + kTitleGap - 2;
        RECT box{cell.x + 5, titleTop, cell.x + cell.width - 5,
                 std::min(int(cell.y + cell.height - 2), titleTop + theme_.fontSize + 8)};
        canvas.Text(item.title, box, i == Current() ? theme_.selectedText : theme_.text,
                    theme_.fontSize, false,
                    DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS);
    }
    scroller_.Paint(canvas.Pixels(), theme_, pointer_.barHot);
}
