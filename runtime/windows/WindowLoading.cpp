// Loading a window from its definition: the window, then its components
// through their element types, with events suspended while they are built;
// then the creation events and the window shown as defined.
#include "runtime/process/Runtime.h"
#include "runtime/process/RuntimeError.h"
#include "runtime/process/RuntimeMessages.h"
#include "runtime/windows/WindowRuntime.h"

namespace {

constexpr int32_t kBorderNone = 0;
constexpr int32_t kBorderFixedSingle = 2;
constexpr int32_t kStartCentred = 1;

// Keeps events suspended for as long as it lives.
class EventSuspension {
  public:
    EventSuspension() { SuspendEvents(); }
    ~EventSuspension() { Release(); }
    EventSuspension(const EventSuspension&) = delete;
    EventSuspension& operator=(const EventSuspension&) = delete;
    void Release() {
        if (active_) ResumeEvents();
        active_ = false;
    }

  private:
    bool active_ = true;
};

DWORD WindowStyle(const WindowOptions& options, bool disabled) {
    DWORD style = WS_CLIPCHILDREN;
    if (options.border == kBorderNone) {
        style |= WS_POPUP;
    } else {
        style |= WS_OVERLAPPED | WS_CAPTION;
        // Border 2 (and 1) is a fixed single frame; other borders can be sized.
        if (options.border != kBorderFixedSingle && options.border != 1) style |= WS_THICKFRAME;
        if (options.controlBox) style |= WS_SYSMENU;
        if (options.minimiseBox) style |= WS_MINIMIZEBOX;
        if (options.maximiseBox) style |= WS_MAXIMIZEBOX;
    }
    if (disabled) style |= WS_DISABLED;
    return style;
}

HBRUSH BackgroundBrush(const WindowOptions& options) {
    if (options.backgroundColour == kBackgroundSystemDefault) return nullptr;
    return CreateSolidBrush(options.backgroundColour & 0x00FFFFFFu);
}

const char* WindowClassFor(const WindowOptions& options) {
    if (options.className.empty()) return kRuntimeWindowClass;
    WNDCLASSA existing{};
    if (!GetClassInfoA(GetModuleHandleA(nullptr), options.className.c_str(), &existing)) {
        WNDCLASSA own{};
        GetClassInfoA(GetModuleHandleA(nullptr), kRuntimeWindowClass, &own);
        own.lpszClassName = options.className.c_str();
        if (!RegisterClassA(&own)) return kRuntimeWindowClass;
    }
    return options.className.c_str();
}

void CreateComponents(LiveWindow* live) {
    const WindowDefinition& definition = *live->definition;
    UINT controlId = kFirstControlId;
    for (size_t i = 1; i < definition.elements.size(); ++i) {
        const ElementDefinition& element = definition.elements[i];
        if (element.isMenuEntry) continue;
        UINT id = controlId;
        controlId += kControlIdStep;
        const ComponentType* type = FindComponentType(element.typeId);
        if (!type || !type->create) continue;
        HWND parent = live->hwnd;
        if (element.parent != 0) {
            LiveComponent* container = FindLiveComponent(live, element.parent);
            if (container) parent = container->hwnd;
        }
        ComponentCreateArgs args{};
        args.attributes = element.AttributeBlock();
        args.attributeSize = element.AttributeBlockSize();
        args.style = WS_CLIPSIBLINGS | (element.Disabled() ? WS_DISABLED : 0);
        args.parent = parent;
        args.controlId = id;
        args.menu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id));
        args.left = element.left;
        args.top = element.top;
        args.width = element.width;
        args.height = element.height;
        args.windowId = definition.windowId;
        args.componentId = element.componentId;
        RuntimeWindowObject object = type->create(args);
        HWND hwnd = WindowObjectHandle(object);
        if (!hwnd) continue;
        if (WindowObject* o = LookUpWindowObject(object)) {
            o->windowId = definition.windowId;
            o->componentId = element.componentId;
        }
        LiveComponent component;
        component.componentId = element.componentId;
        component.hwnd = hwnd;
        component.object = object;
        component.type = type;
        live->components.push_back(component);
    }
}

// Step 5: the components learn, last first, that the window is built; each
// is shown or hidden as its flag says.
void PrepareComponents(LiveWindow* live) {
    for (auto it = live->components.rbegin(); it != live->components.rend(); ++it) {
        if (IsWindow(it->hwnd)) SendMessageA(it->hwnd, kMsgComponentPrepared, 0, 0);
    }
    SendMessageA(live->hwnd, kMsgWindowPrepared, 0, 0);
    for (const LiveComponent& component : live->components) {
        const ElementDefinition* element = FindElement(live->definition, component.componentId);
        if (element && IsWindow(component.hwnd)) {
            ShowWindow(component.hwnd, element->Shown() ? SW_SHOWNA : SW_HIDE);
        }
    }
}

void RaiseCreationEvents(LiveWindow* live, HWND hwnd) {
    uint32_t windowId = live->definition->windowId;
    uint32_t self = live->definition->elements[0].componentId;
    for (int32_t event : {0, 3, 4}) {
        // A handler may close the window: later events then are not raised.
        if (!IsWindow(hwnd)) return;
        RaiseEvent(windowId, self, event);
    }
}

void ShowAsDefined(uint32_t windowId, HWND hwnd) {
    if (!IsWindow(hwnd)) return;
    const WindowDefinition* definition = FindWindowDefinition(windowId);
    if (!definition || !definition->elements[0].Shown()) return;
    ShowWindow(hwnd, SW_SHOW);
    // The window's own focus event comes from WM_SETFOCUS; a focused child
    // component gets its event here.
    HWND focus = GetFocus();
    if (focus && focus != hwnd && IsChild(hwnd, focus)) {
        uint32_t sourceWindow = 0, sourceComponent = 0;
        if (FindEventSourceOf(focus, &sourceWindow, &sourceComponent)) {
            RaiseEvent(sourceWindow, sourceComponent, -7);
        }
    }
}

void DisableOtherWindows(LiveWindow* modal) {
    for (const WindowDefinition& definition : RuntimeUiDescription().windows) {
        LiveWindow* other = FindLiveWindow(definition.windowId);
        if (!other || other == modal || !IsWindowEnabled(other->hwnd)) continue;
        EnableWindow(other->hwnd, FALSE);
        modal->disabledByModal.push_back(other->hwnd);
    }
}

void RunModalLoop(HWND hwnd) {
    while (IsWindow(hwnd)) {
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            WaitMessage();
            continue;
        }
        // The quit request stays queued for the real loop.
        if (msg.message == WM_QUIT) return;
        PumpOneMessage();
    }
}

void FinishLoading(LiveWindow* live, HWND hwnd) {
    HWND focus = GetFocus();
    for (auto it = live->components.rbegin(); it != live->components.rend(); ++it) {
        if (IsWindow(it->hwnd)) SendMessageA(it->hwnd, kMsgComponentsCreated, 0, 0);
    }
    if (focus && IsWindow(focus) && GetFocus() != focus) SetFocus(focus);
    if (FindLiveWindowByHandle(hwnd) == live) live->created = true;
}

}  // namespace

const ComponentType* FindComponentType(uint32_t typeId) {
    const ProgramImageHeader* header = CurrentProgramHeader();
    uint32_t library = typeId >> 16;
    uint32_t number = typeId & 0xFFFF;
    if (!header || library < 1 || library > header->supportLibraryCount || number < 1)
        return nullptr;
    const SupportLibrary* owner = header->supportLibraries[library - 1];
    if (!owner || !owner->types || number > static_cast<uint32_t>(owner->declaredTypeCount)) {
        return nullptr;
    }
    return owner->types[number - 1];
}

bool LoadRuntimeWindow(uint32_t windowId, uint32_t parentWindowId, bool modal) {
    WindowDefinition* definition = FindWindowDefinition(windowId);
    if (!definition || !definition->loadable || definition->elements.empty()) return false;

    if (LiveWindow* loaded = FindLiveWindow(windowId)) {
        if (IsIconic(loaded->hwnd)) {
            ShowWindow(loaded->hwnd, SW_RESTORE);
        } else {
            SetForegroundWindow(loaded->hwnd);
            SetActiveWindow(loaded->hwnd);
        }
        return true;
    }

    HWND owner = nullptr;
    if (parentWindowId != 0) {
        LiveWindow* parent = FindLiveWindow(parentWindowId);
        if (!parent) return false;
        owner = parent->hwnd;
    }
    const WindowOptions& options = definition->options;
    const ElementDefinition& self = definition->elements[0];
    DWORD exStyle = 0;
    if (options.alwaysOnTop) exStyle |= WS_EX_TOPMOST;
    if (!options.taskbarButton && !owner) {
        // An unowned window without a taskbar button hangs off the hidden
        // tool window, which has no button either.
        owner = RuntimeHiddenOwnerWindow();
    } else if (options.taskbarButton && owner) {
        exStyle |= WS_EX_APPWINDOW;
    }
    int32_t left = self.left, top = self.top;
    if (options.startPosition == kStartCentred) {
        left = (GetSystemMetrics(SM_CXSCREEN) - self.width) / 2;
        top = (GetSystemMetrics(SM_CYSCREEN) - self.height) / 2;
    }

    EventSuspension suspension;
    LiveWindow* live = NewLiveWindow(definition);
    if (!live) return false;
    live->background = BackgroundBrush(options);
    if (parentWindowId != 0) live->loadedBy = owner;
    HMENU menuBar = BuildMenuBar(*definition);
    HWND hwnd = CreateWindowExA(exStyle, WindowClassFor(options), definition->name.c_str(),
                                WindowStyle(options, self.Disabled()), left, top, self.width,
                                self.height, owner, menuBar, GetModuleHandleA(nullptr), live);
    if (!hwnd) {
        if (menuBar) DestroyMenu(menuBar);
        DiscardLiveWindow(live);
        return false;
    }
    live->menu = menuBar;
    live->object = MakeWindowObject(hwnd);
    if (WindowObject* o = LookUpWindowObject(live->object)) {
        o->windowId = windowId;
        o->componentId = self.componentId;
    }
    CreateComponents(live);
    PrepareComponents(live);
    live->accelerators = BuildMenuAccelerators(*definition);
    suspension.Release();

    RaiseCreationEvents(live, hwnd);
    ShowAsDefined(windowId, hwnd);
    live = FindLiveWindow(windowId);
    if (!live || live->hwnd != hwnd) return true;  // closed by its own handlers
    FinishLoading(live, hwnd);
    if (modal) {
        DisableOtherWindows(live);
        RunModalLoop(hwnd);
    }
    return true;
}

void LoadStartWindow(uint32_t windowId) {
    if (!LoadRuntimeWindow(windowId, 0, false)) {
        ReportRuntimeErrorText(RuntimeMessage::kStartWindowNotLoaded,
                               static_cast<int32_t>(windowId), 0);
    }
}
