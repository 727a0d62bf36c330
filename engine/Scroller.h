// Vertical scrolling of a list: the offset, the slim bar at the right edge
// (drawn from the skin's track and thumb parts when it has them), thumb
// dragging and paging by clicks on the track.
#pragma once
#include <windows.h>

#include "engine/Pixels.h"
#include "engine/Theme.h"

class Scroller {
  public:
    static constexpr int kBarWidth = 10;

    void SetExtent(int content, int view);
    bool Needed() const { return content_ > view_; }
    int Offset() const { return offset_; }
    bool ScrollTo(int offset);  // true when the offset changed
    bool ScrollBy(int delta) { return ScrollTo(offset_ + delta); }
    // A mouse wheel message's turn (its wParam), `step` pixels per notch.
    bool ScrollByWheel(WPARAM wParam, int step) {
        return ScrollBy(-GET_WHEEL_DELTA_WPARAM(wParam) * step / WHEEL_DELTA);
    }
    // Brings [top, top + height) into view.
    bool Reveal(int top, int height);

    // Mouse on the bar (x, y in the control's client). Down returns true when
    // the bar took the press; Move returns true while dragging.
    bool MouseDown(int x, int y, int clientWidth);
    // MouseDown, and the mouse captured by `wrapper` when the bar took it.
    bool PressBar(HWND wrapper, int x, int y, int clientWidth) {
        if (!MouseDown(x, y, clientWidth)) return false;
        SetCapture(wrapper);
        return true;
    }
    bool MouseMove(int y);
    bool MouseUp();
    bool Dragging() const { return dragging_; }
    bool OnBar(int x, int clientWidth) const { return Needed() && x >= clientWidth - kBarWidth; }

    void Paint(Surface& s, const Theme& theme, bool hot) const;

  private:
    PixelRect Thumb(int clientWidth) const;

    int content_ = 0;
    int view_ = 0;
    int offset_ = 0;
    bool dragging_ = false;
    int dragStartY_ = 0;
    int dragStartOffset_ = 0;
};
