// Opening items, the icon list's menu and the panel's refusal to close.
#pragma once
#include <windows.h>

#include <cstdint>

#include "runtime/process/Runtime.h"

// Opens item `index` of the category shown on a worker thread, then shows the
// wait cursor for 150 milliseconds while messages keep flowing. False, and
// nothing done, when the shown category has no such item. A failure to open
// is reported by the shell in a message owned by `owner`.
bool LaunchShownItem(int32_t index, HWND owner);
// 图标列表框 event 15: the panel's menu at the pointer.
HandlerResult OnIconListContextMenu(const int32_t* args, int32_t argCount);
// 打开根目录 clicked: the program's own folder opens through the shell.
HandlerResult OpenRootFolder(const int32_t* args, int32_t argCount);
// The panel's event 1 (may it close?): always answered 0, it stays.
HandlerResult OnPanelMayClose(const int32_t* args, int32_t argCount);
