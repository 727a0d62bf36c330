// The loaded-window list and the runtime window objects. One slot per window
// definition holds its live window; the slots are sized once when the
// definitions are read, so a lookup (also from a worker thread reading the
// panel's position) never sees the list itself move.
#include <algorithm>
#include <set>
#include "runtime/process/Runtime.h"
#include "runtime/process/RuntimeState.h"
#include "runtime/windows/WindowRuntime.h"

namespace {

std::vector<LiveWindow*> gLiveWindows;  // parallel to RuntimeUiDescription().windows
std::set<WindowObject*> gWindowObjects;

int32_t DefinitionIndex(uint32_t windowId) {
    const std::vector<WindowDefinition>& windows = RuntimeUiDescription().windows;
    for (size_t i = 0; i < windows.size(); ++i) {
        if (windows[i].windowId == windowId) return static_cast<int32_t>(i);
    }
    return -1;
}

void ReleaseLiveWindow(LiveWindow* live) {
    for (HWND disabled : live->disabledByModal) {
        if (IsWindow(disabled)) EnableWindow(disabled, TRUE);
    }
    if (live->background) DeleteObject(live->background);
    if (live->accelerators) DestroyAcceleratorTable(live->accelerators);
    DeleteWindowObject(live->object);
    delete live;
}

}  // namespace

RuntimeWindowObject MakeWindowObject(HWND hwnd) {
    WindowObject* object = new WindowObject;
    object->hwnd = hwnd;
    gWindowObjects.insert(object);
    return reinterpret_cast<RuntimeWindowObject>(object);
}

WindowObject* LookUpWindowObject(RuntimeWindowObject object) {
    auto found = gWindowObjects.find(reinterpret_cast<WindowObject*>(object));
    return found == gWindowObjects.end() ? nullptr : *found;
}

// Libraries detach and delete in either order; an object that is already
// deleted is recognised through the registry and left alone.
void DetachWindowObject(RuntimeWindowObject object) {
    if (WindowObject* o = LookUpWindowObject(object)) o->hwnd = nullptr;
}

void DeleteWindowObject(RuntimeWindowObject object) {
    WindowObject* o = LookUpWindowObject(object);
    if (!o) return;
    gWindowObjects.erase(o);
    delete o;
}

HWND WindowObjectHandle(RuntimeWindowObject object) {
    WindowObject* o = LookUpWindowObject(object);
    return o ? o->hwnd : nullptr;
}

void ResetLiveWindowSlots() {
    gLiveWindows.assign(RuntimeUiDescription().windows.size(), nullptr);
}

LiveWindow* NewLiveWindow(WindowDefinition* definition) {
    int32_t index = DefinitionIndex(definition->windowId);
    if (index < 0) return nullptr;
    if (gLiveWindows.size() != RuntimeUiDescription().windows.size()) ResetLiveWindowSlots();
    // A window can end without its thread being told: a child of another
    // process's window that the system destroyed with that process. Its
    // slot still holds it when the definition is loaded again.
    if (LiveWindow* dead = gLiveWindows[index]) {
        if (!dead->hwnd || !IsWindow(dead->hwnd)) {
            for (LiveComponent& component : dead->components) DeleteWindowObject(component.object);
            if (dead->menu) DestroyMenu(dead->menu);
            gLiveWindows[index] = nullptr;
            ReleaseLiveWindow(dead);
        }
    }
    LiveWindow* live = new LiveWindow;
    live->definition = definition;
    gLiveWindows[index] = live;
    return live;
}

void DiscardLiveWindow(LiveWindow* window) {
    // A window destroyed during its own creation has been forgotten already.
    for (LiveWindow*& live : gLiveWindows) {
        if (live != window) continue;
        live = nullptr;
        if (window->background) DeleteObject(window->background);
        delete window;
    }
}

LiveWindow* FindLiveWindow(uint32_t windowId) {
    int32_t index = DefinitionIndex(windowId);
    if (index < 0 || static_cast<size_t>(index) >= gLiveWindows.size()) return nullptr;
    LiveWindow* live = gLiveWindows[index];
    if (!live || !live->hwnd || !IsWindow(live->hwnd)) return nullptr;
    return live;
}

LiveWindow* FindLiveWindowByHandle(HWND hwnd) {
    if (!hwnd) return nullptr;
    for (LiveWindow* live : gLiveWindows) {
        if (live && live->hwnd == hwnd) return live;
    }
    return nullptr;
}

LiveComponent* FindLiveComponent(LiveWindow* window, uint32_t componentId) {
    if (!window) return nullptr;
    for (LiveComponent& component : window->components) {
        if (component.componentId == componentId && component.hwnd) return &component;
    }
    return nullptr;
}

HWND LiveHandleOf(uint32_t windowId, uint32_t componentId) {
    LiveWindow* live = FindLiveWindow(windowId);
    if (!live) return nullptr;
    if (componentId == 0 || componentId == live->definition->elements[0].componentId) {
        return live->hwnd;
    }
    LiveComponent* component = FindLiveComponent(live, componentId);
    return component && IsWindow(component->hwnd) ? component->hwnd : nullptr;
}

bool FindEventSourceOf(HWND hwnd, uint32_t* windowId, uint32_t* componentId) {
    for (HWND h = hwnd; h; h = GetAncestor(h, GA_PARENT)) {
        for (LiveWindow* live : gLiveWindows) {
            if (!live || !live->hwnd) continue;
            if (live->hwnd == h) {
                *windowId = live->definition->windowId;
                *componentId = live->definition->elements[0].componentId;
                return true;
            }
            for (const LiveComponent& component : live->components) {
                if (component.hwnd == h) {
                    *windowId = live->definition->windowId;
                    *componentId = component.componentId;
                    return true;
                }
            }
        }
    }
    return false;
}

bool AnyLiveWindow() {
    return std::any_of(gLiveWindows.begin(), gLiveWindows.end(),
                       [](LiveWindow* live) { return live && live->hwnd && IsWindow(live->hwnd); });
}

void ForgetLiveComponent(uint32_t windowId, uint32_t componentId) {
    int32_t index = DefinitionIndex(windowId);
    if (index < 0 || static_cast<size_t>(index) >= gLiveWindows.size()) return;
    LiveWindow* live = gLiveWindows[index];
    if (!live) return;
    for (LiveComponent& component : live->components) {
        if (component.componentId == componentId) {
            component.hwnd = nullptr;
            component.object = 0;
        }
    }
}

void ForgetLiveWindow(HWND hwnd) {
    for (LiveWindow*& live : gLiveWindows) {
        if (!live || live->hwnd != hwnd) continue;
        ReleaseLiveWindow(live);
        live = nullptr;
    }
    // The last window gone after the loop started ends the loop.
    if (!AnyLiveWindow() && RuntimeLoopEntered()) PostQuitMessage(0);
}

void DestroyWindowsLoadedBy(HWND hwnd) {
    // Destroying one may destroy or forget others: collect the handles first.
    std::vector<HWND> loaded;
    for (LiveWindow* live : gLiveWindows) {
        if (live && live->loadedBy == hwnd && live->hwnd && live->hwnd != hwnd)
            loaded.push_back(live->hwnd);
    }
    for (HWND window : loaded) {
        if (IsWindow(window)) DestroyWindow(window);
    }
}

void DestroyAllLiveWindows() {
    for (LiveWindow* live : gLiveWindows) {
        if (live && live->hwnd && IsWindow(live->hwnd)) DestroyWindow(live->hwnd);
    }
}
