// The list box: rows of picture and text (from its stored items), a
// selected row, scrolling, and a report when the user changes the selection.
#pragma once
#include <string>
#include <vector>

#include "engine/Control.h"
#include "engine/Scroller.h"

class ListboxControl : public Control {
  public:
    ListboxControl(const EngineCreationContext& context, EngineEventCallback callback,
                   AttributeSet attributes);
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    int32_t Count() const { return int32_t(rows_.size()); }

  protected:
    void Paint(Canvas& canvas) override;
    void OnAttributeChanged(int index) override;
    void OnWrapperChanged(bool resized) override;
    void OnMouseLeft() override;

  private:
    struct Row {
        std::wstring text;
        PictureRef picture;
        int height;
        uint32_t colour;
    };
    int RowTop(int index) const;
    int HitTest(int x, int y) const;
    void UpdateExtent();
    int Selected() const { return attributes_.Word(AttrIndex::kSelected, -1); }

    std::vector<Row> rows_;
    Scroller scroller_;
    int hover_ = -1;
    bool barHot_ = false;
};
