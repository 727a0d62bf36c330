// An engine control: the skinned face of one wrapper window. The engine
// subclasses the wrapper (so a control that should let clicks through to
// the window below can do so) and paints it double-buffered from the
// control's attributes and skin.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/Accessible.h"
#include "engine/AttributeBlock.h"
#include "engine/Canvas.h"
#include "engine/Theme.h"
#include "engine/SkinEngineInterface.h"

class Control {
  public:
    Control(ControlKind kind, const EngineCreationContext& context, EngineEventCallback callback,
            AttributeSet attributes);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    ControlKind Kind() const { return kind_; }
    EngineControl Handle() const { return handle_; }
    HWND Wrapper() const { return wrapper_; }
    HWND Host() const { return wrapper_ ? GetParent(wrapper_) : nullptr; }
    bool Destroyed() const { return destroyed_; }
    const Theme& Skin() const { return theme_; }

    // Hooks the control onto its wrapper; false when the wrapper is no window.
    bool Attach(EngineControl handle);
    // Lets go of every window the control hooked; the control is dead after.
    virtual void Teardown();
    // The wrapper is going away (WM_NCDESTROY reached the engine first).
    void DetachWrapper();

    // 0x2801 / 0x2802 / 0x2803.
    bool SetAttribute(int index, int32_t value);
    bool GetAttribute(int index, int64_t* value) const;
    const EngineBlockAnswer* BlockAnswer();

    // Reacts to a message of the wrapper; false hands it on to the wrapper's
    // own procedure.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    virtual void OnWrapperChanged(bool resized);
    // A window's face (its skin root) paints the whole window behind the
    // other controls, with the window's client origin at (x, y), and hears of
    // the mouse over them. Other controls are no face.
    virtual void RenderFace(Surface&, int, int, int, int) const {}
    virtual void OnHostMouse(bool) {}
    void Invalidate();
    void RefreshCaches();
    // What the control tells assistive technology; null: nothing of its own
    // (the system describes the window).
    virtual AccessibleSource* Accessibility() { return nullptr; }

    // Busy while one of the control's messages is being handled: a control
    // destroyed by an event handler is freed only when that unwinds.
    int busy = 0;

  protected:
    virtual void Paint(Canvas& canvas) = 0;
    virtual void OnAttributeChanged(int index);
    // The window's face under the control (the skin root's), then the
    // control's own background colour.
    void PaintBackground(Canvas& canvas);
    int32_t Raise(int32_t code, int32_t a1 = 0, int32_t a2 = 0, int32_t a3 = 0, int32_t a4 = 0);
    bool Visible() const { return attributes_.Word(AttrIndex::kVisible) != 0; }
    virtual void ApplyVisibility();
    void TrackLeave();
    // Hands a wheel turn to the engine control under the pointer when that
    // is another one (the wheel goes to the focused window, not the one the
    // user is looking at). True when it was handed on.
    bool ForwardWheel(WPARAM wParam, LPARAM lParam);
    // WM_MOUSEWHEEL: passed on to the list under the pointer when that is
    // another one, else `scroll` (given the message's wParam) moves this
    // control's content. Answered with 0.
    template <typename Scroll>
    bool OnWheel(WPARAM wParam, LPARAM lParam, LRESULT& result, Scroll scroll) {
        result = 0;
        if (!ForwardWheel(wParam, lParam)) scroll(wParam);
        return true;
    }
    virtual void OnMouseLeft() {}
    SIZE ClientSize() const;

    AttributeSet attributes_;
    Theme theme_;

  private:
    void PaintTo(HDC dc);

    ControlKind kind_;
    EngineControl handle_ = 0;
    HWND wrapper_;
    uint32_t componentId_;
    uint32_t windowId_;
    int32_t eventBase_;
    EngineEventCallback callback_;
    bool destroyed_ = false;
    bool subclassed_ = false;
    bool trackingLeave_ = false;
    std::vector<uint8_t> answer_;
};

// Control handles are registry keys, never pointers, so a stale or forged
// handle is recognised and ignored.
EngineControl RegisterControl(std::unique_ptr<Control> control);
Control* FindControl(EngineControl handle);
template <typename T>
T* FindControlOf(EngineControl handle, ControlKind kind) {
    Control* control = FindControl(handle);
    return control && control->Kind() == kind ? static_cast<T*>(control) : nullptr;
}
Control* FindControlOfWrapper(HWND wrapper);
// The face control of each host window that has one (one per window).
bool HasHostFace(HWND host);
void SetHostFace(HWND host, EngineControl face);
void ClearHostFace(HWND host);
void DestroyControl(EngineControl handle);
// Frees a control whose destruction waited for its handlers to unwind.
void ReleaseIfDead(Control* control);
size_t LiveControlCount();
void ForEachControl(const std::function<void(Control&)>& action);

class BusyScope {
  public:
    explicit BusyScope(Control* control) : control_(control) { ++control_->busy; }
    ~BusyScope() {
        if (--control_->busy == 0 && control_->Destroyed()) ReleaseIfDead(control_);
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    Control* control_;
};

// Text of the program (ANSI code page) as UTF-16 for drawing.
std::wstring WideFromAnsi(const char* text, size_t length);
std::wstring WideFromUtf16(const std::u16string& text);
