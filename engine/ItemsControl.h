// A control whose items follow one pointer (the toolbar's buttons, the icon
// list's cells): a press and a release over the same item activate it.
#pragma once
#include "engine/Control.h"
#include "engine/ItemPointer.h"
#include "engine/Scroller.h"

class ItemsControl : public Control, public AccessibleSource {
  public:
    using Control::Control;

    // Its items are the accessible object's children; their default action
    // is the activation a click gives.
    AccessibleSource* Accessibility() override { return this; }
    HWND AccessibleWindow() const override { return Wrapper(); }
    int ItemAt(int x, int y) const override { return HitTest(x, y); }
    void Perform(int item) override;

  protected:
    // The item at (x, y) in client coordinates, or -1.
    virtual int HitTest(int x, int y) const = 0;
    // Brings the scroller up to date with the content's height.
    virtual void UpdateExtent() = 0;
    // The pointer moved over the control: hover and the scroll bar follow it.
    void OnPointerMove(int x, int y);
    // Items came or went: the pointer's marks, the scroller and the look
    // follow, and assistive technology hears of it.
    void ItemsChanged();
    // The left button's release (activates the item released over) and a lost
    // capture; true when the message is answered (result set), false to pass
    // it on.
    bool OnPointerRelease(UINT message, int x, int y, LRESULT& result);

    Scroller scroller_;
    ItemPointer pointer_;
};
