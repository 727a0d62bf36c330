// The program's event handlers, bound by the UI description through the
// handler table (app/HandlerTable.cpp, slots in ui/description/HandlerSlots.h).
#pragma once
#include "runtime/process/Runtime.h"

HandlerResult EmbedDock(const int32_t* args, int32_t argCount);             // DockWindow 0
HandlerResult TogglePanel(const int32_t* args, int32_t argCount);           // DockWindow -2
HandlerResult OnDockFirstActivation(const int32_t* args, int32_t argCount); // DockWindow 8
HandlerResult OnDockHover(const int32_t* args, int32_t argCount);           // 窗口EX 20
HandlerResult OnPanelCreated(const int32_t* args, int32_t argCount);        // panel 0
HandlerResult OnPanelMayClose(const int32_t* args, int32_t argCount);       // panel 1
HandlerResult OnPanelDestroying(const int32_t* args, int32_t argCount);     // panel 2
HandlerResult OnSampleListEvent(const int32_t* args, int32_t argCount);     // 扩展列表框 6
HandlerResult LaunchEntry(const int32_t* args, int32_t argCount);           // 图标列表框 0
HandlerResult OnIconListContextMenu(const int32_t* args, int32_t argCount); // 图标列表框 15
HandlerResult OnToolbarButtonClicked(const int32_t* args, int32_t argCount);// 工具条 0
HandlerResult OnToolbarEvent8(const int32_t* args, int32_t argCount);       // 工具条 8
HandlerResult OpenRootFolder(const int32_t* args, int32_t argCount);        // 打开根目录 click
