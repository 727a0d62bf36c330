// The icon list: items as picture and title in a grid that fills the
// control, scrolling when they do not fit. A click or Enter activates an
// item, a right click asks for the context menu.
#pragma once
#include <string>
#include <vector>

#include "engine/ItemsControl.h"

class IcoListboxControl : public ItemsControl {
  public:
    IcoListboxControl(const EngineCreationContext& context, EngineEventCallback callback,
                      AttributeSet attributes);

    // position: 0-based place; -1 (or beyond the end) appends. Returns the
    // new item's index.
    int32_t InsertItem(int32_t position, int32_t value1, int32_t value2, PictureRef picture,
                       std::wstring title);
    // index -1 removes every item; an index out of range removes nothing.
    void DeleteItem(int32_t index);
    int32_t Count() const { return int32_t(items_.size()); }
    // The size the list draws its pictures at.
    int IconSide() const;
    static constexpr int kDefaultIconSide = 48;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    LONG AccessibleRole() const override { return ROLE_SYSTEM_LIST; }
    int ItemCount() const override { return Count(); }
    LONG ItemRole() const override { return ROLE_SYSTEM_LISTITEM; }
    std::wstring ItemName(int item) const override { return items_[item].title; }
    RECT ItemBox(int item) const override;
    bool ItemSelected(int item) const override { return item == Current(); }
    int FocusedItem() const override { return Current(); }
    const wchar_t* ActionName(int item) const override { return item >= 0 ? L"打开" : nullptr; }

  protected:
    void Paint(Canvas& canvas) override;
    void OnAttributeChanged(int index) override;
    void OnMouseLeft() override;
    void OnWrapperChanged(bool resized) override;

  private:
    struct Item {
        std::wstring title;
        PictureRef picture;
        int32_t value1;
        int32_t value2;
    };
    struct Layout {
        int columns, cellWidth, cellHeight, left, iconSize;
    };
    Layout ComputeLayout() const;
    PixelRect CellRect(const Layout& layout, int index) const;  // content coordinates
    int HitTest(int x, int y) const override;
    void UpdateExtent() override;
    int Current() const { return attributes_.Word(AttrIndex::kSelected, -1); }
    void SetCurrent(int index);
    void MoveCurrent(int key);
    void PaintPlaceholder(Surface& s, const PixelRect& box) const;

    std::vector<Item> items_;
};
