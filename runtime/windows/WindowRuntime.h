// The runtime's loaded windows: live window objects, window loading, the
// message pump and menus, shared by the runtime's window modules.
#pragma once
#include <windows.h>
#include <cstdint>
#include <vector>
#include "runtime/windows/ComponentTypes.h"
#include "runtime/windows/Events.h"
#include "runtime/process/Runtime.h"
#include "runtime/process/RuntimeError.h"
#include "runtime/windows/UiDescription.h"

// Runtime-private messages.
constexpr UINT kMsgComponentPrepared = 0x806F;  // to each component after creation
constexpr UINT kMsgWindowPrepared = 0x8004;     // to the window after its components
constexpr UINT kMsgTrayIcon = 0x8064;           // notification-area icon of a window
constexpr UINT kMsgExitRequest = 0x83E7;        // hidden owner: end the process (wParam code)

// Child-control identifiers: 100, 110, 120, ... in definition order.
constexpr UINT kFirstControlId = 100;
constexpr UINT kControlIdStep = 10;

// A runtime window object (RuntimeWindowObject is its address): the wrapper
// for one native window. Objects live in a registry so that a stale object
// value is recognised instead of followed.
struct WindowObject {
    HWND hwnd = nullptr;
    uint32_t windowId = 0;
    uint32_t componentId = 0;
};
RuntimeWindowObject MakeWindowObject(HWND hwnd);
void DetachWindowObject(RuntimeWindowObject object);
void DeleteWindowObject(RuntimeWindowObject object);
WindowObject* LookUpWindowObject(RuntimeWindowObject object);

struct LiveComponent {
    uint32_t componentId = 0;
    HWND hwnd = nullptr;
    RuntimeWindowObject object = 0;
    const ComponentType* type = nullptr;
};

struct LiveWindow {
    WindowDefinition* definition = nullptr;
    HWND hwnd = nullptr;
    // The window named as parent when this one was loaded. The system owner
    // can differ (a parent that is a child window makes its top-level
    // ancestor the owner), so the runtime keeps its own record.
    HWND loadedBy = nullptr;
    RuntimeWindowObject object = 0;
    std::vector<LiveComponent> components;
    HMENU menu = nullptr;
    HACCEL accelerators = nullptr;  // the menu entries' hot keys
    HBRUSH background = nullptr;    // null: the system button-face colour
    bool created = false;
    bool firstActivationSeen = false;
    std::vector<HWND> disabledByModal;
};

// Sizes the loaded-window list to the definitions (after reading them).
void ResetLiveWindowSlots();
// Registers a new live window for a definition (not yet created).
LiveWindow* NewLiveWindow(WindowDefinition* definition);
// Drops a live window whose native window could not be created.
void DiscardLiveWindow(LiveWindow* window);
// The loaded window of a definition, null when not loaded or no longer alive.
LiveWindow* FindLiveWindow(uint32_t windowId);
LiveWindow* FindLiveWindowByHandle(HWND hwnd);
// A live component of a loaded window (null when absent or destroyed).
LiveComponent* FindLiveComponent(LiveWindow* window, uint32_t componentId);
// The native window of a window (componentId 0 or its own element) or one of
// its components; null when not loaded.
HWND LiveHandleOf(uint32_t windowId, uint32_t componentId);
// The window or component that owns hwnd (the nearest known ancestor).
bool FindEventSourceOf(HWND hwnd, uint32_t* windowId, uint32_t* componentId);
bool AnyLiveWindow();
// Called by the window class when a window is finally destroyed.
void ForgetLiveWindow(HWND hwnd);
// A component's native window is gone (notification 2000 or WM_NCDESTROY).
void ForgetLiveComponent(uint32_t windowId, uint32_t componentId);
// Destroys every loaded window (the runtime's clean-up).
void DestroyAllLiveWindows();
// Destroys the live windows loaded with `hwnd` as their parent, as the system
// does for owned windows; also when the system made someone else their owner.
void DestroyWindowsLoadedBy(HWND hwnd);

// Loads a window. parentWindowId 0: no parent. Returns false when the window
// has no definition, the parent is given but not loaded, or creation fails.
bool LoadRuntimeWindow(uint32_t windowId, uint32_t parentWindowId, bool modal);

// The component type for a stored type id (null: unknown).
const ComponentType* FindComponentType(uint32_t typeId);

// Message pump: fetch, pre-translate (component events), translate, dispatch.
// Returns false on WM_QUIT.
bool PumpOneMessage();
// Raises a component's common events for a message about to be dispatched;
// true when a handler swallowed it (may rewrite a character message).
bool PreTranslateComponentEvent(MSG* msg);
void RegisterRuntimeWindowClass();
// Idle routines run while the queue is empty, last registered first, as long
// as their window lives.
void AddIdleRoutine(HWND window, void (*routine)(int32_t), int32_t argument);
void ClearIdleRoutines();
// The parameter of the WM_QUIT that ended the loop.
int32_t QuitMessageCode();
extern const char kRuntimeWindowClass[];

// Menus built from the definitions.
HMENU BuildMenuBar(const WindowDefinition& window);
HMENU BuildPopUpMenu(const WindowDefinition& window, uint32_t menuComponentId);
// The menu entries' hot keys as an accelerator table (null when none).
HACCEL BuildMenuAccelerators(const WindowDefinition& window);
// Runs a hot key of the window that msg is for; true when it was one.
bool TranslateMenuHotKey(MSG* msg);
// A WM_COMMAND from a menu: raise the entry's click event.
bool DeliverMenuCommand(LiveWindow* window, UINT commandId);
// Menu command identifiers name the entry's position in the definition.
constexpr UINT kMenuCommandBase = 0x7000;

// Event helpers.
// Builds and delivers an event record; the record tells whether a handler
// reported a result.
EventRecord RaiseEvent(uint32_t windowId, uint32_t componentId, int32_t event,
                       const int32_t* args = nullptr, uint32_t argCount = 0);

// Hidden owner window and runtime start pieces.
HWND CreateHiddenOwnerWindow();
// The notification entry handed to every support library (code 1).
intptr_t RuntimeNotify(int32_t code, intptr_t a1, intptr_t a2, intptr_t a3);
// Names of a window and component for runtime error reports.
ErrorSubjectNames LookUpErrorSubject(uint32_t windowId, uint32_t componentId);
