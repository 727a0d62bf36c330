#include "engine/ItemsControl.h"

bool ItemsControl::OnPointerRelease(UINT message, int x, int y, LRESULT& result) {
    if (message == WM_CAPTURECHANGED) {
        if (pointer_.CaptureLost(scroller_)) Invalidate();
        return false;
    }
    const int activated = pointer_.Release(scroller_, Wrapper(), x, y,
                                           [this](int px, int py) { return HitTest(px, py); });
    Invalidate();
    if (activated >= 0) Raise(EngineCode::kItemActivated, activated);
    result = 0;
    return true;
}

void ItemsControl::OnPointerMove(int x, int y) {
    UpdateExtent();
    if (pointer_.Move(scroller_, x, y, ClientSize().cx,
                      [this](int px, int py) { return HitTest(px, py); }))
        Invalidate();
}

void ItemsControl::Perform(int item) {
    if (item >= 0 && item < ItemCount()) Raise(EngineCode::kItemActivated, item);
}

void ItemsControl::ItemsChanged() {
    pointer_.hover = pointer_.pressed = -1;
    UpdateExtent();
    Invalidate();
    NotifyAccessible(EVENT_OBJECT_REORDER, Wrapper(), -1);
}
