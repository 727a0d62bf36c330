// The skin root of a window: paints the window's face (its skin background
// and, over it, the skin's frame as a highlight whose strength is the
// opacity attribute) and reports the mouse entering and leaving the window.
#pragma once
#include "engine/Control.h"

class WindowExControl : public Control, public AccessibleSource {
  public:
    WindowExControl(const EngineCreationContext& context, EngineEventCallback callback,
                    AttributeSet attributes)
        : Control(ControlKind::WindowEx, context, callback, std::move(attributes)) {}

    void Teardown() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // The face of the whole window, drawn with its client origin at (x, y).
    void RenderFace(Surface& s, int x, int y, int width, int height) const override;
    bool HostMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void OnHostMouse(bool overHost) override;
    void CheckLeave();
    int Opacity() const;

    // A button-sized window it skins is a push button named by the window's
    // text; a click is its default action.
    AccessibleSource* Accessibility() override;
    HWND AccessibleWindow() const override { return hookedHost_; }
    LONG AccessibleRole() const override { return ROLE_SYSTEM_PUSHBUTTON; }
    const wchar_t* ActionName(int item) const override { return item < 0 ? L"按下" : nullptr; }
    void Perform(int item) override;

  protected:
    void Paint(Canvas& canvas) override;
    void OnAttributeChanged(int index) override;
    void ApplyVisibility() override;

  private:
    void HookHost();
    void UnhookHost();

    HWND hookedHost_ = nullptr;
    bool hovered_ = false;
    mutable PixelImage highlight_;  // the frame's shape in white, made on first use
};
