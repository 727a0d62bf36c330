// The pointer over a scrolling set of items (toolbar buttons, icon-list
// cells): the item under it, the item pressed, and whether the scroll bar is
// hot. Shared by the controls that activate an item on a click.
#pragma once
#include <windows.h>

#include "engine/Scroller.h"

struct ItemPointer {
    int hover = -1;
    int pressed = -1;
    bool barHot = false;

    // The pointer moved; true when what is drawn changed.
    template <typename HitTest>
    bool Move(Scroller& scroller, int x, int y, int clientWidth, HitTest hitTest) {
        const bool dragged = scroller.MouseMove(y);
        const bool hot = scroller.OnBar(x, clientWidth) || scroller.Dragging();
        const int hit = scroller.Dragging() ? -1 : hitTest(x, y);
        if (!dragged && hit == hover && hot == barHot) return false;
        hover = hit;
        barHot = hot;
        return true;
    }

    // The pointer left the control; true when what is drawn changed.
    bool Leave() {
        if (hover == -1 && !barHot) return false;
        hover = -1;
        barHot = false;
        return true;
    }

    // The left button went up: ends a press or a scroll-bar drag and gives the
    // capture back. Returns the item to activate -- pressed and released over
    // the same item -- or -1.
    template <typename HitTest>
    int Release(Scroller& scroller, HWND wrapper, int x, int y, HitTest hitTest) {
        const int wasPressed = pressed;
        pressed = -1;
        scroller.MouseUp();
        if (GetCapture() == wrapper) ReleaseCapture();
        return wasPressed >= 0 && hitTest(x, y) == wasPressed ? wasPressed : -1;
    }

    // The capture went elsewhere mid-press; true when what is drawn changed.
    bool CaptureLost(Scroller& scroller) {
        if (!scroller.MouseUp() && pressed < 0) return false;
        pressed = -1;
        return true;
    }
};
