// The property door: common properties 0-7 from the live window or the
// definition, type-specific ones through the element's type. The program
// also moves windows from worker threads, so the geometry paths use only
// Win32 calls that work across threads and store definition words whole.
#include <algorithm>
#include "runtime/windows/Properties.h"
#include "runtime/process/RuntimeError.h"
#include "runtime/process/RuntimeMessages.h"
#include "runtime/values/Values.h"
#include "runtime/windows/WindowRuntime.h"

namespace {

constexpr int32_t kPositionLimit = 32627;
constexpr int32_t kFirstTypeProperty = 8;

// Menu entries have four properties of their own.
constexpr int32_t kMenuPropText = 0;
constexpr int32_t kMenuPropShown = 1;
constexpr int32_t kMenuPropDisabled = 2;
constexpr int32_t kMenuPropChecked = 3;

void StoreWhole(int32_t* target, int32_t value) {
    __atomic_store_n(target, value, __ATOMIC_SEQ_CST);
}
int32_t LoadWhole(const int32_t* source) {
    return __atomic_load_n(source, __ATOMIC_SEQ_CST);
}

int64_t PointerValue(const void* p) {
    return static_cast<int64_t>(reinterpret_cast<intptr_t>(p));
}
const void* ValuePointer(int64_t v) {
    return reinterpret_cast<const void*>(static_cast<intptr_t>(v));
}

struct Target {
    WindowDefinition* window = nullptr;
    ElementDefinition* element = nullptr;
    LiveWindow* live = nullptr;
    HWND hwnd = nullptr;                  // the element's native window when loaded
    RuntimeWindowObject object = 0;       // its runtime window object
    const ComponentType* type = nullptr;  // null for the runtime's own types
};

Target Resolve(uint32_t windowId, uint32_t componentId) {
    Target t;
    t.window = FindWindowDefinition(windowId);
    if (!t.window) {
        ReportRuntimeErrorText(RuntimeMessage::kWindowOfComponentNotLoaded,
                               static_cast<int32_t>(windowId), static_cast<int32_t>(componentId));
    }
    t.element = FindElement(t.window, componentId);
    if (!t.element) {
        ReportRuntimeErrorText(RuntimeMessage::kWindowOrComponentGone,
                               static_cast<int32_t>(windowId), static_cast<int32_t>(componentId));
    }
    t.live = FindLiveWindow(windowId);
    if (!t.live) return t;
    if (t.element == &t.window->elements[0]) {
        t.hwnd = t.live->hwnd;
        t.object = t.live->object;
    } else if (LiveComponent* component = FindLiveComponent(t.live, t.element->componentId)) {
        t.hwnd = IsWindow(component->hwnd) ? component->hwnd : nullptr;
        t.object = component->object;
        t.type = component->type;
    }
    return t;
}

// The window's rectangle in its parent's client coordinates (screen
// coordinates for a top-level window).
RECT PlacedRect(HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    HWND parent = GetAncestor(hwnd, GA_PARENT);
    if (parent && parent != GetDesktopWindow()) {
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    }
    return rect;
}

int64_t ReadCommon(const Target& t, int32_t index) {
    const ElementDefinition& e = *t.element;
    if (t.hwnd && index <= kPropHeight) {
        RECT r = PlacedRect(t.hwnd);
        switch (index) {
            case kPropLeft:
                return r.left;
            case kPropTop:
                return r.top;
            case kPropWidth:
                return r.right - r.left;
            default:
                return r.bottom - r.top;
        }
    }
    switch (index) {
        case kPropLeft:
            return LoadWhole(&e.left);
        case kPropTop:
            return LoadWhole(&e.top);
        case kPropWidth:
            return LoadWhole(&e.width);
        case kPropHeight:
            return LoadWhole(&e.height);
        case kPropTag:
            return PointerValue(CopyText(e.tag.c_str()));
        case kPropShown:
            return t.hwnd ? (IsWindowVisible(t.hwnd) ? 1 : 0) : (e.Shown() ? 1 : 0);
        case kPropDisabled:
            return t.hwnd ? (IsWindowEnabled(t.hwnd) ? 0 : 1) : (e.Disabled() ? 1 : 0);
        case kPropCursor:
            return PointerValue(
                MakeByteSet(e.cursor.data(), static_cast<int32_t>(e.cursor.size())));
        default:
            return 0;
    }
}

void SetFlag(ElementDefinition* e, uint32_t flag, bool on) {
    uint32_t flags = on ? (e->flags | flag) : (e->flags & ~flag);
    __atomic_store_n(&e->flags, flags, __ATOMIC_SEQ_CST);
}

void WriteCommon(const Target& t, int32_t index, int64_t value) {
    ElementDefinition& e = *t.element;
    int32_t v = static_cast<int32_t>(value);
    switch (index) {
        case kPropLeft:
        case kPropTop: {
            v = std::clamp(v, -kPositionLimit, kPositionLimit);
            StoreWhole(index == kPropLeft ? &e.left : &e.top, v);
            if (!t.hwnd) return;
            RECT r = PlacedRect(t.hwnd);
            int32_t left = index == kPropLeft ? v : r.left;
            int32_t top = index == kPropTop ? v : r.top;
            MoveWindow(t.hwnd, left, top, r.right - r.left, r.bottom - r.top, TRUE);
            return;
        }
        case kPropWidth:
        case kPropHeight: {
            v = std::clamp(v, 0, kPositionLimit);
            StoreWhole(index == kPropWidth ? &e.width : &e.height, v);
            if (!t.hwnd) return;
            RECT r{};
            GetWindowRect(t.hwnd, &r);
            int32_t width = index == kPropWidth ? v : r.right - r.left;
            int32_t height = index == kPropHeight ? v : r.bottom - r.top;
            SetWindowPos(t.hwnd, nullptr, 0, 0, width, height,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            return;
        }
        case kPropTag:
            e.tag = TextOrEmpty(static_cast<const char*>(ValuePointer(value)));
            return;
        case kPropShown:
            SetFlag(&e, kElementShown, v != 0);
            if (t.hwnd) ShowWindow(t.hwnd, v ? SW_SHOW : SW_HIDE);
            return;
        case kPropDisabled:
            SetFlag(&e, kElementDisabled, v != 0);
            if (t.hwnd) EnableWindow(t.hwnd, v ? FALSE : TRUE);
            return;
        case kPropCursor: {
            auto* cursor = static_cast<const ByteSetHeader*>(ValuePointer(value));
            const uint8_t* bytes = ByteSetBytes(cursor);
            e.cursor.assign(bytes, bytes + ByteSetLength(cursor));
            return;
        }
        default:
            return;
    }
}

int64_t ReadMenuProperty(const ElementDefinition& e, int32_t index) {
    switch (index) {
        case kMenuPropText:
            return PointerValue(CopyText(e.menu.text.c_str()));
        case kMenuPropShown:
            return (e.menu.flags & kMenuHidden) ? 0 : 1;
        case kMenuPropDisabled:
            return (e.menu.flags & kMenuDisabled) ? 1 : 0;
        case kMenuPropChecked:
            return (e.menu.flags & kMenuChecked) ? 1 : 0;
        default:
            return 0;
    }
}

void RebuildMenuBar(LiveWindow* live) {
    if (!live) return;
    HMENU fresh = BuildMenuBar(*live->definition);
    SetMenu(live->hwnd, fresh);
    if (live->menu) DestroyMenu(live->menu);
    live->menu = fresh;
}

void WriteMenuProperty(const Target& t, int32_t index, int64_t value) {
    MenuEntry& menu = t.element->menu;
    uint32_t flags = menu.flags;
    bool on = static_cast<int32_t>(value) != 0;
    switch (index) {
        case kMenuPropText: {
            const char* text = TextOrEmpty(static_cast<const char*>(ValuePointer(value)));
            if (menu.text == text) return;
            menu.text = text;
            break;
        }
        case kMenuPropShown:
            flags = on ? (flags & ~kMenuHidden) : (flags | kMenuHidden);
            break;
        case kMenuPropDisabled:
            flags = on ? (flags | kMenuDisabled) : (flags & ~kMenuDisabled);
            break;
        case kMenuPropChecked:
            flags = on ? (flags | kMenuChecked) : (flags & ~kMenuChecked);
            break;
        default:
            return;
    }
    if (index != kMenuPropText) {
        if (flags == menu.flags) return;
        menu.flags = flags;
    }
    RebuildMenuBar(t.live);
}

}  // namespace

int64_t ReadProperty(uint32_t windowId, uint32_t componentId, int32_t index, int32_t element) {
    (void)element;  // no common property is an array; type properties are read whole
    Target t = Resolve(windowId, componentId);
    if (t.element->isMenuEntry) return ReadMenuProperty(*t.element, index);
    if (index < kFirstTypeProperty) return ReadCommon(t, index);
    if (!t.live) {
        ReportRuntimeErrorText(RuntimeMessage::kReadWindowNotLoaded, static_cast<int32_t>(windowId),
                               static_cast<int32_t>(componentId));
    }
    int64_t value = 0;
    if (t.type && t.type->readProperty && t.object) {
        t.type->readProperty(t.object, index - kFirstTypeProperty, &value);
    }
    return value;
}

void WriteProperty(uint32_t windowId, uint32_t componentId, int32_t index, int32_t element,
                   int64_t value) {
    (void)element;
    Target t = Resolve(windowId, componentId);
    if (t.element->isMenuEntry) {
        WriteMenuProperty(t, index, value);
        return;
    }
    if (index < kFirstTypeProperty) {
        WriteCommon(t, index, value);
        return;
    }
    if (!t.live) {
        ReportRuntimeErrorText(RuntimeMessage::kWriteWindowNotLoaded,
                               static_cast<int32_t>(windowId), static_cast<int32_t>(componentId));
    }
    if (t.type && t.type->propertyWritten && t.object) {
        t.type->propertyWritten(t.object, index - kFirstTypeProperty, &value);
    }
}
