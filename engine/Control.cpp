#include "engine/Control.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <map>

namespace {
constexpr UINT_PTR kWrapperSubclassId = 0x5E17;

std::map<EngineControl, std::unique_ptr<Control>> gControls;
std::map<HWND, EngineControl> gHostFaces;
// Controls destroyed while one of their own messages was still being handled.
std::vector<std::unique_ptr<Control>> gDeadControls;
EngineControl gNextControl = 0x5C000000;

Control* FaceOf(HWND host) {
    auto found = host ? gHostFaces.find(host) : gHostFaces.end();
    return found == gHostFaces.end() ? nullptr
                                     : FindControlOf<Control>(found->second, ControlKind::WindowEx);
}

// Paints the face of `host` (when a skin root is on it) with the host's
// client origin at (x, y); false when the window has no skin root.
bool PaintHostFace(HWND host, Surface& s, int x, int y) {
    Control* face = FaceOf(host);
    if (!face) return false;
    RECT client{};
    GetClientRect(host, &client);
    face->RenderFace(s, x, y, client.right, client.bottom);
    return true;
}

// Mouse movement seen over a control of `host`: the window is hovered.
void NoteMouseOverHost(HWND host) {
    if (Control* face = FaceOf(host)) {
        BusyScope busy(face);
        face->OnHostMouse(false);
    }
}

LRESULT CALLBACK WrapperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR reference) {
    Control* control = FindControl(EngineControl(reference));
    if (!control || control->Wrapper() != window)
        return DefSubclassProc(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        control->DetachWrapper();
        return DefSubclassProc(window, message, wParam, lParam);
    }
    BusyScope busy(control);
    LRESULT result = 0;
    if (control->OnMessage(message, wParam, lParam, result)) return result;
    if (control->Destroyed()) return 0;
    return DefSubclassProc(window, message, wParam, lParam);
}
}  // namespace

std::wstring WideFromAnsi(const char* text, size_t length) {
    if (!text || length == 0) return std::wstring();
    const int count = MultiByteToWideChar(CP_ACP, 0, text, int(length), nullptr, 0);
    std::wstring wide(size_t(std::max(count, 0)), L'\0');
    if (count > 0) MultiByteToWideChar(CP_ACP, 0, text, int(length), &wide[0], count);
    return wide;
}

std::wstring WideFromUtf16(const std::u16string& text) {
    return std::wstring(text.begin(), text.end());
}

Control::Control(ControlKind kind, const EngineCreationContext& context,
                 EngineEventCallback callback, AttributeSet attributes)
    : attributes_(std::move(attributes)),
      theme_(LoadTheme(attributes_.Block(AttrIndex::kSkin))),
      kind_(kind),
      wrapper_(context.wrapper),
      componentId_(context.componentId),
      windowId_(context.windowId),
      eventBase_(context.eventBase),
      callback_(callback) {}

bool Control::Attach(EngineControl handle) {
    handle_ = handle;
    if (!wrapper_ || !IsWindow(wrapper_)) return false;
    subclassed_ =
        SetWindowSubclass(wrapper_, WrapperProc, kWrapperSubclassId, DWORD_PTR(handle)) != FALSE;
    SetPropA(wrapper_, kEngineControlProperty, reinterpret_cast<HANDLE>(handle));
    ApplyVisibility();
    return true;
}

void Control::Teardown() {
    destroyed_ = true;
    if (wrapper_ && IsWindow(wrapper_)) {
        if (subclassed_) RemoveWindowSubclass(wrapper_, WrapperProc, kWrapperSubclassId);
        if (GetPropA(wrapper_, kEngineControlProperty) == reinterpret_cast<HANDLE>(handle_))
            RemovePropA(wrapper_, kEngineControlProperty);
    }
    subclassed_ = false;
    wrapper_ = nullptr;
}

void Control::DetachWrapper() {
    if (subclassed_) RemoveWindowSubclass(wrapper_, WrapperProc, kWrapperSubclassId);
    subclassed_ = false;
}

bool Control::SetAttribute(int index, int32_t value) {
    if (index < 0 || index >= int(attributes_.values.size()) || attributes_.values[index].isBlock)
        return false;
    attributes_.values[index].word = value;
    OnAttributeChanged(index);
    return true;
}

bool Control::GetAttribute(int index, int64_t* value) const {
    if (!value || index < 0 || index >= int(attributes_.values.size())) return false;
    const AttributeValue& v = attributes_.values[index];
    *value = v.isBlock ? int64_t(v.bytes.size()) : int64_t(v.word);
    return true;
}

const EngineBlockAnswer* Control::BlockAnswer() {
    const std::vector<uint8_t> values = SerialiseValues(attributes_);
    answer_.assign(sizeof(EngineBlockAnswer), 0);
    EngineBlockAnswer head{0, int32_t(values.size())};
    std::memcpy(answer_.data(), &head, sizeof head);
    answer_.insert(answer_.end(), values.begin(), values.end());
    return reinterpret_cast<const EngineBlockAnswer*>(answer_.data());
}

void Control::OnAttributeChanged(int index) {
    if (index == AttrIndex::kVisible) ApplyVisibility();
    Invalidate();
}

void Control::ApplyVisibility() {
    if (!wrapper_) return;
    const bool shown = (GetWindowLongPtrW(wrapper_, GWL_STYLE) & WS_VISIBLE) != 0;
    if (Visible() != shown) ShowWindow(wrapper_, Visible() ? SW_SHOWNA : SW_HIDE);
}

void Control::Invalidate() {
    if (wrapper_) InvalidateRect(wrapper_, nullptr, FALSE);
}

void Control::RefreshCaches() {
    Invalidate();
}

void Control::OnWrapperChanged(bool) {
    Invalidate();
}

SIZE Control::ClientSize() const {
    RECT r{};
    if (wrapper_) GetClientRect(wrapper_, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void Control::TrackLeave() {
    if (trackingLeave_ || !wrapper_) return;
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, wrapper_, 0};
    trackingLeave_ = TrackMouseEvent(&track) != FALSE;
}

bool Control::ForwardWheel(WPARAM wParam, LPARAM lParam) {
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    HWND under = WindowFromPoint(at);
    if (!under || under == wrapper_) return false;
    Control* target = FindControlOfWrapper(under);
    if (!target || target == this || target->Kind() == ControlKind::WindowEx ||
        target->Kind() == ControlKind::PictureBox)
        return false;
    SendMessageW(under, WM_MOUSEWHEEL, wParam, lParam);
    return true;
}

bool Control::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    AccessibleSource* source = Accessibility();
    if (source && source->AccessibleWindow() == wrapper_) {
        if (message == WM_GETOBJECT)
            return AnswerAccessibleRequest(*source, wParam, lParam, result);
        if (message == AccessibleActionMessage()) {
            source->Perform(int(wParam));
            result = 0;
            return true;
        }
    }
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(wrapper_, &ps);
            if (dc) PaintTo(dc);
            EndPaint(wrapper_, &ps);
            result = 0;
            return true;
        }
        case WM_PRINTCLIENT:
            PaintTo(reinterpret_cast<HDC>(wParam));
            result = 0;
            return true;
        case WM_ERASEBKGND:
            result = 1;
            return true;
        case WM_MOUSEMOVE:
            TrackLeave();
            NoteMouseOverHost(Host());
            return false;
        case WM_MOUSELEAVE:
            trackingLeave_ = false;
            OnMouseLeft();
            return false;
        case WM_SIZE:
            OnWrapperChanged(true);
            return false;
        case kMsgWindowBuilt:
            ApplyVisibility();
            return false;
        default:
            return false;
    }
}

void Control::PaintTo(HDC dc) {
    const SIZE size = ClientSize();
    Canvas canvas(dc, size.cx, size.cy);
    if (!canvas.Ok()) return;
    Paint(canvas);
    canvas.PresentTo(dc, 0, 0);
}

void Control::PaintBackground(Canvas& canvas) {
    Surface& s = canvas.Pixels();
    POINT origin{0, 0};
    HWND host = Host();
    if (host) MapWindowPoints(wrapper_, host, &origin, 1);
    if (!PaintHostFace(host, s, -origin.x, -origin.y)) {
        FillRect(s, 0, 0, s.width, s.height, 0xFF000000);
        FillRect(s, 0, 0, s.width, s.height, theme_.background);
    }
}

int32_t Control::Raise(int32_t code, int32_t a1, int32_t a2, int32_t a3, int32_t a4) {
    if (!callback_ || destroyed_) return 0;
    return callback_(handle_, code, a1, a2, a3, a4);
}

EngineControl RegisterControl(std::unique_ptr<Control> control) {
    do {
        gNextControl = gNextControl >= 0x5CFFFFF0 ? 0x5C000001 : gNextControl + 1;
    } while (gControls.count(gNextControl));
    Control* raw = control.get();
    gControls[gNextControl] = std::move(control);
    if (!raw->Attach(gNextControl)) {
        gControls.erase(gNextControl);
        return 0;
    }
    return gNextControl;
}

Control* FindControl(EngineControl handle) {
    auto found = gControls.find(handle);
    return found == gControls.end() ? nullptr : found->second.get();
}

Control* FindControlOfWrapper(HWND wrapper) {
    if (!wrapper || !IsWindow(wrapper)) return nullptr;
    Control* control =
        FindControl(reinterpret_cast<EngineControl>(GetPropA(wrapper, kEngineControlProperty)));
    return control && control->Wrapper() == wrapper ? control : nullptr;
}

void DestroyControl(EngineControl handle) {
    auto found = gControls.find(handle);
    if (found == gControls.end()) return;
    std::unique_ptr<Control> control = std::move(found->second);
    gControls.erase(found);
    control->Teardown();
    if (control->busy > 0) gDeadControls.push_back(std::move(control));
}

void ReleaseIfDead(Control* control) {
    auto found =
        std::find_if(gDeadControls.begin(), gDeadControls.end(),
                     [control](const std::unique_ptr<Control>& c) { return c.get() == control; });
    if (found != gDeadControls.end()) gDeadControls.erase(found);
}

size_t LiveControlCount() {
    return gControls.size();
}

void ForEachControl(const std::function<void(Control&)>& action) {
    std::vector<EngineControl> handles;
    for (auto& entry : gControls) handles.push_back(entry.first);
    for (EngineControl handle : handles)
        if (Control* control = FindControl(handle)) action(*control);
}

bool HasHostFace(HWND host) {
    return gHostFaces.count(host) != 0;
}

void SetHostFace(HWND host, EngineControl face) {
    gHostFaces[host] = face;
}

void ClearHostFace(HWND host) {
    gHostFaces.erase(host);
}
