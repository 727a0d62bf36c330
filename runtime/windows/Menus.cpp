// Menus built from the flat list of menu entries in a window definition: an
// entry belongs to the nearest preceding entry of a lower level. Hidden
// entries are left out, so a hidden top-level entry gives no menu bar.
#include "runtime/windows/WindowRuntime.h"

namespace {

UINT EntryFlags(const MenuEntry& entry) {
    UINT flags = MF_STRING;
    if (entry.flags & kMenuDisabled) flags |= MF_GRAYED;
    if (entry.flags & kMenuChecked) flags |= MF_CHECKED;
    return flags;
}

// Appends the entries below elements[first - 1] (those of a deeper level than
// `level`, up to the next entry of `level` or less) to `menu`. Returns the
// number of items added.
int AppendEntries(HMENU menu, const WindowDefinition& window, size_t first, int32_t level) {
    int added = 0;
    const std::vector<ElementDefinition>& elements = window.elements;
    for (size_t i = first; i < elements.size(); ++i) {
        const ElementDefinition& e = elements[i];
        if (!e.isMenuEntry || e.menu.level <= level) break;
        if (e.menu.level != level + 1 || (e.menu.flags & kMenuHidden)) continue;
        bool hasItems = i + 1 < elements.size() && elements[i + 1].isMenuEntry &&
                        elements[i + 1].menu.level > e.menu.level;
        if (hasItems) {
            HMENU sub = CreatePopupMenu();
            AppendEntries(sub, window, i + 1, e.menu.level);
            AppendMenuA(menu, EntryFlags(e.menu) | MF_POPUP, reinterpret_cast<UINT_PTR>(sub),
                        e.menu.text.c_str());
        } else {
            AppendMenuA(menu, EntryFlags(e.menu), kMenuCommandBase + static_cast<UINT>(i),
                        e.menu.text.c_str());
        }
        ++added;
    }
    return added;
}

}  // namespace

HMENU BuildMenuBar(const WindowDefinition& window) {
    HMENU bar = CreateMenu();
    int added = 0;
    const std::vector<ElementDefinition>& elements = window.elements;
    for (size_t i = 0; i < elements.size(); ++i) {
        if (!elements[i].isMenuEntry) continue;
        // One run of consecutive entries: its level-0 entries form the bar.
        added += AppendEntries(bar, window, i, -1);
        while (i + 1 < elements.size() && elements[i + 1].isMenuEntry) ++i;
    }
    if (added == 0) {
        DestroyMenu(bar);
        return nullptr;
    }
    return bar;
}

HMENU BuildPopUpMenu(const WindowDefinition& window, uint32_t menuComponentId) {
    for (size_t i = 0; i < window.elements.size(); ++i) {
        const ElementDefinition& e = window.elements[i];
        if (e.componentId != menuComponentId) continue;
        if (!e.isMenuEntry) return nullptr;
        HMENU popup = CreatePopupMenu();
        if (AppendEntries(popup, window, i + 1, e.menu.level) == 0) {
            DestroyMenu(popup);
            return nullptr;
        }
        return popup;
    }
    return nullptr;
}

HACCEL BuildMenuAccelerators(const WindowDefinition& window) {
    constexpr uint32_t kHotKeyShift = 1, kHotKeyCtrl = 2, kHotKeyAlt = 4;
    std::vector<ACCEL> table;
    for (size_t i = 0; i < window.elements.size(); ++i) {
        const ElementDefinition& e = window.elements[i];
        if (!e.isMenuEntry || (e.menu.hotKey & 0xFF) == 0) continue;
        uint32_t modifiers = (e.menu.hotKey >> 8) & 0xFF;
        ACCEL accel{};
        accel.fVirt = FVIRTKEY;
        if (modifiers & kHotKeyShift) accel.fVirt |= FSHIFT;
        if (modifiers & kHotKeyCtrl) accel.fVirt |= FCONTROL;
        if (modifiers & kHotKeyAlt) accel.fVirt |= FALT;
        accel.key = static_cast<WORD>(e.menu.hotKey & 0xFF);
        accel.cmd = static_cast<WORD>(kMenuCommandBase + i);
        table.push_back(accel);
    }
    if (table.empty()) return nullptr;
    return CreateAcceleratorTableA(table.data(), static_cast<int>(table.size()));
}

bool TranslateMenuHotKey(MSG* msg) {
    if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) return false;
    HWND top = GetAncestor(msg->hwnd, GA_ROOT);
    LiveWindow* live = FindLiveWindowByHandle(top);
    if (!live || !live->accelerators) return false;
    return TranslateAcceleratorA(live->hwnd, live->accelerators, msg) != 0;
}

bool DeliverMenuCommand(LiveWindow* window, UINT commandId) {
    if (commandId < kMenuCommandBase) return false;
    size_t index = commandId - kMenuCommandBase;
    const std::vector<ElementDefinition>& elements = window->definition->elements;
    if (index >= elements.size() || !elements[index].isMenuEntry) return false;
    RaiseEvent(window->definition->windowId, elements[index].componentId, 0);
    return true;
}
