#include "engine/WindowExControl.h"

#include <commctrl.h>

#include <algorithm>

namespace {
constexpr UINT_PTR kHostSubclassId = 0x5E18;
constexpr UINT_PTR kHoverTimerId = 0x5E19;
constexpr UINT kHoverPollMs = 100;
// Windows up to this size are buttons: their face is a rounded highlight
// inset from the edge; larger ones are panels framed by a border line.
constexpr int kButtonFaceMaxSide = 96;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                          DWORD_PTR reference) {
    auto* face = FindControlOf<WindowExControl>(EngineControl(reference), ControlKind::WindowEx);
    if (!face) {
        if (message == WM_NCDESTROY) RemoveWindowSubclass(window, HostProc, kHostSubclassId);
        return DefSubclassProc(window, message, wParam, lParam);
    }
    BusyScope busy(face);
    LRESULT result = 0;
    if (face->HostMessage(window, message, wParam, lParam, result)) return result;
    return DefSubclassProc(window, message, wParam, lParam);
}
}  // namespace

namespace {
// The shape (alpha) of an image region, filled with white.
PixelImage WhiteThrough(const PixelImage& image, const PixelRect& source) {
    PixelImage white;
    white.width = source.width;
    white.height = source.height;
    white.pixels.resize(size_t(source.width) * source.height);
    for (int y = 0; y < source.height; ++y)
        for (int x = 0; x < source.width; ++x) {
            const uint32_t alpha = image.At(source.x + x, source.y + y) >> 24;
            white.pixels[size_t(y) * source.width + x] =
                alpha << 24 | alpha << 16 | alpha << 8 | alpha;
        }
    return white;
}
}  // namespace

int WindowExControl::Opacity() const {
    return std::clamp(attributes_.Word(AttrIndex::kOpacity), 0, 255);
}

void WindowExControl::RenderFace(Surface& s, int x, int y, int width, int height) const {
    // The base is the skin background with its own alpha (a window with blur
    // behind shows through it); the frame (or, without a frame image, a
    // plain highlight) goes over it at the opacity.
    ClearRect(s, x, y, width, height);
    FillRect(s, x, y, width, height, theme_.background);
    const int opacity = Opacity();
    if (opacity <= 0) return;
    const bool button = std::max(width, height) <= kButtonFaceMaxSide;
    PartDraw frame;
    if (theme_.Part(SkinPartId::kFrame, PartState::kNormal, frame)) {
        if (button) {
            // On a button the frame gives the highlight its shape; the light
            // itself is white, so any frame reads as a hover glow.
            if (highlight_.Empty()) highlight_ = WhiteThrough(*frame.image, frame.source);
            DrawNineGrid(s, highlight_, PixelRect{0, 0, highlight_.width, highlight_.height},
                         frame.marginX, frame.marginY,
                         PixelRect{x + 2, y + 2, width - 4, height - 4}, opacity);
        } else {
            DrawNineGrid(s, *frame.image, frame.source, frame.marginX, frame.marginY,
                         PixelRect{x, y, width, height}, opacity);
        }
    } else if (button) {
        FillRoundRect(s, float(x + 2), float(y + 2), float(width - 4), float(height - 4),
                      float(theme_.cornerRadius), 0xFFFFFFFF, opacity);
    } else {
        StrokeRoundRect(s, float(x), float(y), float(width), float(height), 0.0f, 1.0f,
                        theme_.border, opacity);
    }
}

AccessibleSource* WindowExControl::Accessibility() {
    RECT client{};
    if (!hookedHost_ || !GetClientRect(hookedHost_, &client)) return nullptr;
    return std::max(client.right, client.bottom) <= kButtonFaceMaxSide ? this : nullptr;
}

void WindowExControl::Perform(int item) {
    if (item >= 0 || !hookedHost_) return;
    // The window's owner reacts to the click itself, as it does to the mouse.
    RECT client{};
    GetClientRect(hookedHost_, &client);
    const LPARAM centre = MAKELPARAM(client.right / 2, client.bottom / 2);
    PostMessageW(hookedHost_, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    PostMessageW(hookedHost_, WM_LBUTTONUP, 0, centre);
}

void WindowExControl::Paint(Canvas& canvas) {
    PaintBackground(canvas);
}

bool WindowExControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_NCHITTEST) {
        result = HTTRANSPARENT;
        return true;
    }
    return Control::OnMessage(message, wParam, lParam, result);
}

void WindowExControl::ApplyVisibility() {
    // The skin root works through the window it sits on (its face is the
    // whole window's), so its own small wrapper stays hidden whatever the
    // visible attribute says: shown, it would only cover what lies beneath.
    // The attribute decides whether the window is skinned at all.
    HWND wrapper = Wrapper();
    if (wrapper && (GetWindowLongPtrW(wrapper, GWL_STYLE) & WS_VISIBLE))
        ShowWindow(wrapper, SW_HIDE);
    if (Visible()) {
        HookHost();
    } else {
        UnhookHost();
    }
}

void WindowExControl::OnAttributeChanged(int index) {
    if (index == AttrIndex::kVisible) ApplyVisibility();
    if (hookedHost_) RedrawWindow(hookedHost_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void WindowExControl::HookHost() {
    HWND host = Host();
    if (hookedHost_ || !host || HasHostFace(host)) return;
    if (!SetWindowSubclass(host, HostProc, kHostSubclassId, DWORD_PTR(Handle()))) return;
    hookedHost_ = host;
    SetHostFace(host, Handle());
    // A skinned window draws its own face: no caption or frame of the
    // system's, and children clipped out so the face never flickers over them.
    LONG_PTR style = GetWindowLongPtrW(host, GWL_STYLE);
    LONG_PTR newStyle = style | WS_CLIPCHILDREN;
    if (!(style & WS_CHILD)) newStyle &= ~LONG_PTR(WS_CAPTION | WS_THICKFRAME);
    const LONG_PTR exStyle = GetWindowLongPtrW(host, GWL_EXSTYLE);
    const LONG_PTR newExStyle = exStyle & ~LONG_PTR(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE |
                                                    WS_EX_CLIENTEDGE | WS_EX_STATICEDGE);
    if (newStyle != style) SetWindowLongPtrW(host, GWL_STYLE, newStyle);
    if (newExStyle != exStyle) SetWindowLongPtrW(host, GWL_EXSTYLE, newExStyle);
    if (newStyle != style || newExStyle != exStyle)
        SetWindowPos(host, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(host, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void WindowExControl::UnhookHost() {
    if (!hookedHost_) return;
    if (IsWindow(hookedHost_)) {
        KillTimer(hookedHost_, kHoverTimerId);
        RemoveWindowSubclass(hookedHost_, HostProc, kHostSubclassId);
        RedrawWindow(hookedHost_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    ClearHostFace(hookedHost_);
    hookedHost_ = nullptr;
    hovered_ = false;
}

void WindowExControl::Teardown() {
    UnhookHost();
    Control::Teardown();
}

bool WindowExControl::HostMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam,
                                  LRESULT& result) {
    switch (message) {
        case WM_ERASEBKGND:
            result = 1;
            return true;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(host, &ps);
            RECT client{};
            GetClientRect(host, &client);
            if (dc) {
                Canvas canvas(dc, client.right, client.bottom);
                if (canvas.Ok()) {
                    RenderFace(canvas.Pixels(), 0, 0, client.right, client.bottom);
                    canvas.PresentTo(dc, 0, 0);
                }
            }
            EndPaint(host, &ps);
            result = 0;
            return true;
        }
        case WM_PRINTCLIENT: {
            RECT client{};
            GetClientRect(host, &client);
            Canvas canvas(reinterpret_cast<HDC>(wParam), client.right, client.bottom);
            if (canvas.Ok()) {
                RenderFace(canvas.Pixels(), 0, 0, client.right, client.bottom);
                canvas.PresentTo(reinterpret_cast<HDC>(wParam), 0, 0);
            }
            result = 0;
            return true;
        }
        case WM_MOUSEMOVE:
            OnHostMouse(true);
            return false;
        case WM_MOUSELEAVE:
            CheckLeave();
            return false;
        case WM_MOUSEWHEEL:
            if (!ForwardWheel(wParam, lParam)) return false;
            result = 0;
            return true;
        case WM_TIMER:
            if (wParam != kHoverTimerId) return false;
            CheckLeave();
            result = 0;
            return true;
        case WM_SIZE:
            RedrawWindow(host, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
            return false;
        case WM_NCDESTROY:
            UnhookHost();
            return false;
        default:
            break;
    }
    if (AccessibleSource* source = Accessibility()) {
        if (message == WM_GETOBJECT)
            return AnswerAccessibleRequest(*source, wParam, lParam, result);
        if (message == AccessibleActionMessage()) {
            Perform(int(wParam));
            result = 0;
            return true;
        }
    }
    return false;
}

void WindowExControl::OnHostMouse(bool overHost) {
    if (!hookedHost_) return;
    // Leave tracking only for the window itself: over a child control the
    // mouse is not on it, and tracking would report a leave at once.
    if (overHost) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hookedHost_, 0};
        TrackMouseEvent(&track);
    }
    if (hovered_) return;
    hovered_ = true;
    // Leaving is confirmed by polling as well: moving onto a child window
    // ends the host's own tracking although the mouse is still over it.
    SetTimer(hookedHost_, kHoverTimerId, kHoverPollMs, nullptr);
    Raise(EngineCode::kHover, 1);
}

void WindowExControl::CheckLeave() {
    if (!hovered_ || !hookedHost_) return;
    POINT cursor;
    RECT bounds;
    if (GetCursorPos(&cursor) && GetWindowRect(hookedHost_, &bounds) && PtInRect(&bounds, cursor)) {
        HWND under = WindowFromPoint(cursor);
        if (under == hookedHost_ || IsChild(hookedHost_, under)) return;
    }
    hovered_ = false;
    KillTimer(hookedHost_, kHoverTimerId);
    Raise(EngineCode::kHover, 0);
}
