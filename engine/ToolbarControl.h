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
    int32_t Count() const { return int32_t(buttons_.size()); }
    void SetSelected(int32_t index, bool selected);
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

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
