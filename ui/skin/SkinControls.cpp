#include "ui/skin/SkinControls.h"

#include <cstring>
#include <memory>
#include <vector>

#include "runtime/windows/Events.h"
#include "runtime/process/Runtime.h"
#include "ui/skin/SkinEngineLoader.h"
#include "ui/skin/SkinRuntimeLink.h"

const char kMissingEngineText[] = "程序缺少界面运行库必须依赖的 SkinEngine.dll 文件";
const char kMissingEngineCaption[] = "Warning";

// The engine re-applies a control's visibility on the message the runtime
// sends at the end of loading: both sides must mean the same message.
static_assert(kMsgWindowBuilt == kMsgComponentsCreated,
              "the engine's window-built message is the runtime's end-of-loading message");

namespace {

// Window properties shared with the engine and the runtime.
constexpr char kPropRuntimeObject[] = "hUnit";
constexpr char kPropPage[] = "PageId_F";
constexpr char kPropDestroying[] = "Tab_WM_DESTROY";

// Engine codes are numbered from here; a type's event base is added.
constexpr int32_t kEngineCodeOrigin = 660;
constexpr uint32_t kAttributeFormatVersion = 12;
constexpr DWORD kWrapperExStyle = WS_EX_TRANSPARENT | WS_EX_TOPMOST;

struct SkinTypeInfo {
    const wchar_t* className;
    int32_t eventBase;
    CreateControlFn SkinEngineEntries::*create;
};

enum SkinKind {
    kWindowExKind,
    kPictureBoxExKind,
    kToolbarExKind,
    kListboxExKind,
    kIcoListboxExKind,
    kKindCount
};

// The class name of WindowEx carries the double quotes as part of the name.
const SkinTypeInfo kSkinTypes[kKindCount] = {
    {L"\"WindowEx\"", 11, &SkinEngineEntries::createWindowEx},
    {L"PictureBoxEx", 0, &SkinEngineEntries::createPictureBoxEx},
    {L"ToolbarEx", 10, &SkinEngineEntries::createToolbarEx},
    {L"ListboxEx", 10, &SkinEngineEntries::createListboxEx},
    {L"IcoListboxEx", 10, &SkinEngineEntries::createIcoListboxEx},
};
bool gClassRegistered[kKindCount] = {};

// What SkinUi keeps per live wrapper. The creation context stays here for the
// control's whole life, so an engine that keeps the pointer stays safe.
struct SkinControl {
    EngineCreationContext context;
    EngineControl control;
};
std::vector<std::unique_ptr<SkinControl>> gControls;

SkinWarningBoxFn gWarningBox = nullptr;  // null: MessageBoxA

EngineControl EngineControlOfWindow(HWND wrapper) {
    return reinterpret_cast<EngineControl>(GetPropA(wrapper, kEngineControlProperty));
}

EngineControl EngineControlOfObject(RuntimeWindowObject object) {
    HWND wrapper = object ? WindowObjectHandle(object) : nullptr;
    return wrapper ? EngineControlOfWindow(wrapper) : 0;
}

// The engine sets "Tab_Control" inside its creation export and may raise
// events before that export returns, so a control not yet recorded is looked
// up on the wrappers themselves.
SkinControl* FindByEngineControl(EngineControl control) {
    if (!control) return nullptr;
    for (auto& c : gControls) {
        if (c->control == control) return c.get();
    }
    for (auto& c : gControls) {
        if (c->control == 0 && EngineControlOfWindow(c->context.wrapper) == control) {
            c->control = control;
            return c.get();
        }
    }
    return nullptr;
}

SkinControl* FindByWrapper(HWND wrapper) {
    for (auto& c : gControls) {
        if (c->context.wrapper == wrapper) return c.get();
    }
    return nullptr;
}

std::unique_ptr<SkinControl> TakeByWrapper(HWND wrapper) {
    for (auto it = gControls.begin(); it != gControls.end(); ++it) {
        if ((*it)->context.wrapper == wrapper) {
            std::unique_ptr<SkinControl> taken = std::move(*it);
            gControls.erase(it);
            return taken;
        }
    }
    return nullptr;
}

int32_t WINAPI TranslateEngineEvent(EngineControl control, int32_t code, int32_t a1, int32_t a2,
                                    int32_t a3, int32_t a4) {
    if (code >= EngineCode::kIgnoredFrom) return 0;
    SkinControl* source = FindByEngineControl(control);
    if (!source) return 0;
    EventRecord record{};
    record.windowId = source->context.windowId;
    record.componentId = source->context.componentId;
    record.event = code - kEngineCodeOrigin + source->context.eventBase;
    record.argumentCount = 4;
    record.arguments[0] = a1;
    record.arguments[1] = a2;
    record.arguments[2] = a3;
    record.arguments[3] = a4;
    NotifyRuntime(kNotifyDeliverEvent, reinterpret_cast<intptr_t>(&record));
    return record.resultGiven ? record.result : 0;
}

void SynchroniseWithEngine(HWND wrapper, int32_t mode) {
    if (auto sync = SkinEngine().controPonintSizeSynchronise) sync(wrapper, mode);
}

// False when the wrapper has no engine control: then nothing is torn down
// and the message is answered 0.
bool TearDownControl(HWND wrapper) {
    SetPropA(wrapper, kPropDestroying, reinterpret_cast<HANDLE>(1));
    std::unique_ptr<SkinControl> entry = TakeByWrapper(wrapper);
    EngineControl control = EngineControlOfWindow(wrapper);
    if (!control) return false;
    auto object = reinterpret_cast<RuntimeWindowObject>(GetPropA(wrapper, kPropRuntimeObject));
    if (entry) {
        NotifyRuntime(kNotifyComponentDestroyed, static_cast<intptr_t>(entry->context.windowId),
                      static_cast<intptr_t>(entry->context.componentId));
    }
    // Detach before delete: the object must not be touched once deleted.
    NotifyRuntime(kNotifyDetachWindowObject, object);
    NotifyRuntime(kNotifyDeleteWindowObject, object);
    if (auto destroy = SkinEngine().controlDestroy) destroy(control);
    return true;
}

LRESULT CALLBACK WrapperWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MOVE:
            SynchroniseWithEngine(hwnd, 0);
            break;
        case WM_SIZE:
            SynchroniseWithEngine(hwnd, 1);
            break;
        case WM_ERASEBKGND:
            return 1;
        case WM_NCDESTROY:
            if (!TearDownControl(hwnd)) return 0;
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Registered as Unicode classes because the wrapper procedure hands every
// other message to DefWindowProcW; the names are plain ASCII either way.
void RegisterWrapperClassOnce(int kind) {
    if (gClassRegistered[kind]) return;
    gClassRegistered[kind] = true;
    WNDCLASSW wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = WrapperWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = kSkinTypes[kind].className;
    RegisterClassW(&wc);
}

void ShowMissingEngineWarning() {
    if (gWarningBox) {
        gWarningBox(nullptr, kMissingEngineText, kMissingEngineCaption, MB_OK);
    } else {
        MessageBoxA(nullptr, kMissingEngineText, kMissingEngineCaption, MB_OK);
    }
}

// The page word is the second word of the stored block; a block too short to
// hold it has none.
uint32_t PageWordOf(const ComponentCreateArgs& args) {
    if (!args.attributes || args.attributeSize < 8) return 0;
    uint32_t page;
    std::memcpy(&page, args.attributes + 4, sizeof page);
    return page;
}

RuntimeWindowObject CreateSkinnedControl(int kind, const ComponentCreateArgs& args) {
    const SkinTypeInfo& type = kSkinTypes[kind];
    RegisterWrapperClassOnce(kind);
    if (!SkinEngineLoaded()) ShowMissingEngineWarning();

    HWND wrapper = CreateWindowExW(kWrapperExStyle, type.className, nullptr, args.style | WS_CHILD,
                                   args.left, args.top, args.width, args.height, args.parent,
                                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(args.controlId)),
                                   GetModuleHandleW(nullptr), nullptr);
    if (!wrapper) return 0;
    RuntimeWindowObject object =
        NotifyRuntime(kNotifyMakeWindowObject, reinterpret_cast<intptr_t>(wrapper));
    SetPropA(wrapper, kPropRuntimeObject, reinterpret_cast<HANDLE>(object));
    if (uint32_t page = PageWordOf(args)) {
        SetPropA(wrapper, kPropPage, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(page)));
    }

    auto entry = std::make_unique<SkinControl>();
    entry->context = {wrapper, args.componentId, args.windowId, type.eventBase, args.attributes};
    entry->control = 0;
    const EngineCreationContext* context = &entry->context;
    gControls.push_back(std::move(entry));

    if (CreateControlFn create = SkinEngine().*type.create) {
        create(0, args.parent, args.left, args.top, args.width, args.height, TranslateEngineEvent,
               context, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
        // Looked up again: a handler run from the creation may have
        // destroyed the wrapper already.
        if (SkinControl* created = FindByWrapper(wrapper)) {
            created->control = EngineControlOfWindow(wrapper);
        }
    }
    return object;
}

template <int Kind>
RuntimeWindowObject CreateOf(const ComponentCreateArgs& args) {
    return CreateSkinnedControl(Kind, args);
}

int32_t WriteEngineProperty(RuntimeWindowObject object, int32_t index, const int64_t* value) {
    EngineControl control = EngineControlOfObject(object);
    auto send = SkinEngine().controlSendMessage;
    if (!control || !send) return 0;
    return static_cast<int32_t>(
        send(control, kEngineSetAttribute, index, const_cast<int64_t*>(value), 0, 0));
}

int32_t ReadEngineProperty(RuntimeWindowObject object, int32_t index, int64_t* value) {
    if (!object) return 1;
    EngineControl control = EngineControlOfObject(object);
    auto send = SkinEngine().controlSendMessage;
    if (!control || !send) return 0;
    return static_cast<int32_t>(send(control, kEngineGetAttribute, index, value, 0, 0));
}

// A copy of the engine's attribute values behind the two header words the
// stored block starts with (format version, page word).
HGLOBAL EngineAttributeBlock(RuntimeWindowObject object) {
    EngineControl control = EngineControlOfObject(object);
    auto send = SkinEngine().controlSendMessage;
    if (!control || !send) return nullptr;
    auto* answer = reinterpret_cast<const EngineBlockAnswer*>(
        send(control, kEngineGetBlock, -1, nullptr, 0, 0));
    if (!answer || answer->length <= 0) return nullptr;
    size_t size = static_cast<size_t>(answer->length) + sizeof(EngineBlockAnswer);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!block) return nullptr;
    auto* bytes = static_cast<uint8_t*>(GlobalLock(block));
    if (!bytes) {
        GlobalFree(block);
        return nullptr;
    }
    std::memcpy(bytes, answer, size);
    uint32_t header[2] = {
        kAttributeFormatVersion,
        static_cast<uint32_t>(answer->pageIndexPlusOne > 0 ? answer->pageIndexPlusOne : 0)};
    std::memcpy(bytes, header, sizeof header);
    GlobalUnlock(block);
    return block;
}

constexpr ComponentType MakeType(uint32_t typeId, const char* name, int32_t propertyCount,
                                 RuntimeWindowObject (*create)(const ComponentCreateArgs&)) {
    return ComponentType{typeId,
                         name,
                         propertyCount,
                         true,
                         create,
                         WriteEngineProperty,
                         EngineAttributeBlock,
                         ReadEngineProperty};
}

const ComponentType kWindowExType = MakeType(0x00020001, "WindowEx", 29, CreateOf<kWindowExKind>);
const ComponentType kPictureBoxExType =
    MakeType(0x00020005, "PictureBoxEx", 25, CreateOf<kPictureBoxExKind>);
const ComponentType kToolbarExType =
    MakeType(0x00020012, "ToolbarEx", 25, CreateOf<kToolbarExKind>);
const ComponentType kListboxExType =
    MakeType(0x00020013, "ListboxEx", 25, CreateOf<kListboxExKind>);
const ComponentType kIcoListboxExType =
    MakeType(0x00020014, "IcoListboxEx", 30, CreateOf<kIcoListboxExKind>);

const ComponentType* const kTypeTable[kSkinDeclaredTypeCount] = {
    &kWindowExType, nullptr, nullptr,         nullptr,         &kPictureBoxExType,
    nullptr,        nullptr, nullptr,         nullptr,         nullptr,
    nullptr,        nullptr, nullptr,         nullptr,         nullptr,
    nullptr,        nullptr, &kToolbarExType, &kListboxExType, &kIcoListboxExType,
    nullptr,        nullptr, nullptr,         nullptr,         nullptr,
    nullptr,        nullptr, nullptr,         nullptr,         nullptr,
    nullptr,        nullptr, nullptr,         nullptr,         nullptr,
};

}  // namespace

const ComponentType* const* SkinComponentTypes() {
    return kTypeTable;
}

EngineControl EngineControlOfComponent(uint32_t windowId, uint32_t componentId) {
    auto object = NotifyRuntime(kNotifyFindComponent, static_cast<intptr_t>(windowId),
                                static_cast<intptr_t>(componentId));
    return EngineControlOfObject(object);
}

void SetSkinWarningBoxForTesting(SkinWarningBoxFn box) {
    gWarningBox = box;
}
