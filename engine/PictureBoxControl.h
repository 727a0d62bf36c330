// A picture box: its stored picture centred (or stretched) on the window's
// face; without a picture a thin box is drawn as a separator line.
#pragma once
#include "engine/Control.h"

class PictureBoxControl : public Control {
  public:
    PictureBoxControl(const EngineCreationContext& context, EngineEventCallback callback,
                      AttributeSet attributes);
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  protected:
    void Paint(Canvas& canvas) override;

  private:
    PictureRef picture_;
};
