#include "engine/Accessible.h"

#include <new>

namespace {

// The system's own object for the window answers what the engine does not
// change (the parent, the window's place and state, navigation out of it).
struct StandardObject {
    IAccessible* object = nullptr;
    explicit StandardObject(HWND window) {
        if (FAILED(CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&object))))
            object = nullptr;
    }
    ~StandardObject() {
        if (object) object->Release();
    }
    StandardObject(const StandardObject&) = delete;
    StandardObject& operator=(const StandardObject&) = delete;
};

VARIANT ChildVariant(int item) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = item < 0 ? CHILDID_SELF : item + 1;
    return v;
}

HRESULT TextResult(const std::wstring& text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (text.empty()) return S_FALSE;
    *out = SysAllocStringLen(text.data(), UINT(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT Nothing(VARIANT* out) {
    if (!out) return E_POINTER;
    VariantInit(out);
    return S_FALSE;
}

// The object lives as long as its clients hold it, possibly longer than the
// control: it answers "not connected" once the control is gone or has let
// go of its window.
class ControlAccessible final : public IAccessible {
  public:
    explicit ControlAccessible(AccessibleSource& source)
        : source_(source.Liveness()), window_(source.AccessibleWindow()), standard_(window_) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) ||
            iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return ULONG(left);
    }

    // Clients reach every member through the vtable; there is no type library.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent) return E_POINTER;
        *parent = nullptr;
        return standard_.object ? standard_.object->get_accParent(parent) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (!count) return E_POINTER;
        AccessibleSource* source = Source();
        *count = source ? source->ItemCount() : 0;
        return source ? S_OK : CO_E_OBJNOTCONNECTED;
    }
    // The items are simple elements, not objects of their own.
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        int item;
        HRESULT valid = Item(child, &item);
        return FAILED(valid) ? valid : item >= 0 ? S_FALSE : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        int item;
        AccessibleSource* source;
        HRESULT valid = Item(child, &item, &source);
        if (FAILED(valid)) return valid;
        return TextResult(item >= 0 ? source->ItemName(item) : source->AccessibleName(), name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* value) override {
        return TextResult(std::wstring(), value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* text) override {
        return TextResult(std::wstring(), text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!role) return E_POINTER;
        VariantInit(role);
        int item;
        AccessibleSource* source;
        HRESULT valid = Item(child, &item, &source);
        if (FAILED(valid)) return valid;
        role->vt = VT_I4;
        role->lVal = item >= 0 ? source->ItemRole() : source->AccessibleRole();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!state) return E_POINTER;
        VariantInit(state);
        int item;
        AccessibleSource* source;
        HRESULT valid = Item(child, &item, &source);
        if (FAILED(valid)) return valid;
        state->vt = VT_I4;
        state->lVal = item >= 0 ? ItemState(*source, item) : OwnState();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override {
        return TextResult(std::wstring(), help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
        if (topic) *topic = 0;
        return TextResult(std::wstring(), file);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* keys) override {
        return TextResult(std::wstring(), keys);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        AccessibleSource* source = Source();
        if (!source) return CO_E_OBJNOTCONNECTED;
        if (GetFocus() != window_) return Nothing(focus);
        *focus = ChildVariant(source->FocusedItem());
        return S_OK;
    }
    // One selected item at most (the list's current item, the toolbar's
    // selected button).
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        AccessibleSource* source = Source();
        if (!source) return CO_E_OBJNOTCONNECTED;
        for (int i = 0; i < source->ItemCount(); ++i) {
            if (source->ItemSelected(i)) {
                *selection = ChildVariant(i);
                return S_OK;
            }
        }
        return Nothing(selection);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        int item;
        AccessibleSource* source;
        HRESULT valid = Item(child, &item, &source);
        if (FAILED(valid)) return valid;
        const wchar_t* name = source->ActionName(item);
        return TextResult(name ? name : L"", action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        if (!left || !top || !width || !height) return E_POINTER;
        int item;
        AccessibleSource* source;
        HRESULT valid = Item(child, &item, &source);
        if (FAILED(valid)) return valid;
        RECT box{};
        if (item >= 0) {
            box = source->ItemBox(item);
            MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&box), 2);
        } else {
            GetWindowRect(window_, &box);
        }
        *left = box.left;
        *top = box.top;
        *width = box.right - box.left;
        *height = box.bottom - box.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        if (!end) return E_POINTER;
        VariantInit(end);
        int item;
        AccessibleSource* source;
        HRESULT valid = Item(start, &item, &source);
        if (FAILED(valid)) return valid;
        const int count = source->ItemCount();
        int next = -2;
        if (item < 0) {
            if (direction == NAVDIR_FIRSTCHILD)
                next = count > 0 ? 0 : -2;
            else if (direction == NAVDIR_LASTCHILD)
                next = count - 1;
            else if (standard_.object)
                return standard_.object->accNavigate(direction, start, end);
        } else if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN ||
                   direction == NAVDIR_RIGHT) {
            next = item + 1 < count ? item + 1 : -2;
        } else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP ||
                   direction == NAVDIR_LEFT) {
            next = item - 1;
        }
        if (next < 0) return S_FALSE;
        *end = ChildVariant(next);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* hit) override {
        AccessibleSource* source = Source();
        if (!source) return CO_E_OBJNOTCONNECTED;
        RECT window{};
        GetWindowRect(window_, &window);
        const POINT screen{x, y};
        if (!PtInRect(&window, screen)) return Nothing(hit);
        POINT client = screen;
        ScreenToClient(window_, &client);
        *hit = ChildVariant(source->ItemAt(client.x, client.y));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        int item;
        AccessibleSource* source;
        HRESULT valid = Item(child, &item, &source);
        if (FAILED(valid)) return valid;
        if (!source->ActionName(item)) return DISP_E_MEMBERNOTFOUND;
        return PostMessageW(window_, AccessibleActionMessage(), WPARAM(item), 0) ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  private:
    ~ControlAccessible() = default;

    AccessibleSource* Source() const {
        AccessibleSource* source = *source_;
        return source && source->AccessibleWindow() == window_ && IsWindow(window_) ? source
                                                                                    : nullptr;
    }
    // The item a VARIANT names: -1 for the object itself.
    HRESULT Item(const VARIANT& child, int* item, AccessibleSource** out = nullptr) const {
        AccessibleSource* source = Source();
        if (!source) return CO_E_OBJNOTCONNECTED;
        if (out) *out = source;
        if (child.vt != VT_I4) return E_INVALIDARG;
        if (child.lVal == CHILDID_SELF) {
            *item = -1;
            return S_OK;
        }
        if (child.lVal < 1 || child.lVal > source->ItemCount()) return E_INVALIDARG;
        *item = child.lVal - 1;
        return S_OK;
    }
    LONG OwnState() const {
        VARIANT self = ChildVariant(-1), state;
        VariantInit(&state);
        if (standard_.object && SUCCEEDED(standard_.object->get_accState(self, &state)) &&
            state.vt == VT_I4)
            return state.lVal;
        return STATE_SYSTEM_FOCUSABLE | (GetFocus() == window_ ? STATE_SYSTEM_FOCUSED : 0);
    }
    LONG ItemState(const AccessibleSource& source, int item) const {
        LONG state = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
        if (source.ItemSelected(item)) state |= STATE_SYSTEM_SELECTED;
        if (GetFocus() == window_ && source.FocusedItem() == item) state |= STATE_SYSTEM_FOCUSED;
        RECT client{}, box = source.ItemBox(item), seen{};
        GetClientRect(window_, &client);
        if (!IntersectRect(&seen, &client, &box)) state |= STATE_SYSTEM_OFFSCREEN;
        return state;
    }

    LONG references_ = 1;
    std::shared_ptr<AccessibleSource* const> source_;
    HWND window_;
    StandardObject standard_;
};

}  // namespace

std::wstring AccessibleSource::AccessibleName() const {
    wchar_t text[256] = {};
    HWND window = AccessibleWindow();
    const int length = window ? GetWindowTextW(window, text, 256) : 0;
    return std::wstring(text, size_t(length > 0 ? length : 0));
}

bool AnswerAccessibleRequest(AccessibleSource& source, WPARAM wParam, LPARAM lParam,
                             LRESULT& result) {
    // The object id arrives as a 32-bit value, sign-extended on x86_64.
    if (static_cast<LONG>(lParam) != OBJID_CLIENT) return false;
    auto* object = new (std::nothrow) ControlAccessible(source);
    if (!object) return false;
    result = LresultFromObject(__uuidof(IAccessible), wParam, object);
    object->Release();
    return true;
}

void NotifyAccessible(DWORD event, HWND window, int item) {
    if (window) NotifyWinEvent(event, window, OBJID_CLIENT, item < 0 ? CHILDID_SELF : item + 1);
}

UINT AccessibleActionMessage() {
    static const UINT message = RegisterWindowMessageW(L"SkinEngineAccessibleAction");
    return message;
}
