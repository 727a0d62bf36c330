// The vertical toolbar: one button per inserted title, hover and pressed
// feedback, a clear selected look, and a click reported with the button's
// 0-based index.
#pragma once
#include <string>
#include <vector>

#include "engine/ItemsControl.h"

class ToolbarControl : public ItemsControl {
  public:
    ToolbarControl(const EngineCreationContext& context, EngineEventCallback callback,
                   AttributeSet attributes)
        : ItemsControl(ControlKind::Toolbar, context, callback, std::move(attributes)) {}

    // position: 1-based place; 0, negative or beyond the end appends.
    void InsertButton(int32_t position, int32_t value1, int32_t value2, std::wstring title);
    // index -1 removes every button; an index out of range removes nothing.
    void DeleteButton(int32_t index);
    int32_t Count() const { return int32_t(buttons_.size()); }
    void SetSelected(int32_t index, bool selected);
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // The buttons choose what the window shows next to them, as page tabs do.
    LONG AccessibleRole() const override { return ROLE_SYSTEM_PAGETABLIST; }
    int ItemCount() const override { return Count(); }
    LONG ItemRole() const override { return ROLE_SYSTEM_PAGETAB; }
    std::wstring ItemName(int item) const override { return buttons_[item].title; }
    RECT ItemBox(int item) const override;
    bool ItemSelected(int item) const override { return buttons_[item].selected; }
    const wchar_t* ActionName(int item) const override { return item >= 0 ? L"切换" : nullptr; }

  protected:
    void Paint(Canvas& canvas) override;
    void OnMouseLeft() override;
    void OnWrapperChanged(bool resized) override;

  private:
    struct Button {
        std::wstring title;
        bool selected = false;
        int32_t value1 = 0;
        int32_t value2 = 0;
    };
    int ButtonHeight() const;
    int ButtonTop(int index) const;
    int HitTest(int x, int y) const override;
    int ContentHeight() const;
    void UpdateExtent() override;
    int FaceRight(int clientWidth) const;

    std::vector<Button> buttons_;
};
