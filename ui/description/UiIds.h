// Identifiers of the windows, their elements and the element types, as
// the UI description stores them. The windows' sizes are in
// "ui/description/WindowGeometry.h", which the build writes from windows.py.
#pragma once
#include <cstdint>

// Element types: library number << 16 | type number.
namespace TypeId {
constexpr uint32_t kWindow = 0x00010001;
constexpr uint32_t kMenuEntry = 0x00010003;
constexpr uint32_t kWindowEx = 0x00020001;
constexpr uint32_t kPictureBoxEx = 0x00020005;
constexpr uint32_t kToolbarEx = 0x00020012;
constexpr uint32_t kListboxEx = 0x00020013;
constexpr uint32_t kIcoListboxEx = 0x00020014;
}  // namespace TypeId

// DockWindow: the button in the taskbar.
constexpr uint32_t kDockWindow = 0x52010001;
constexpr uint32_t kDockWindowSelf = 0x06010000;
constexpr uint32_t kDockButtonFace = 0x16012C81;  // 图标按钮, PictureBoxEx
constexpr uint32_t kDockSkinRoot = 0x16012C7F;    // 窗口EX, WindowEx

// DockPanelWindow: the sliding panel.
constexpr uint32_t kDockPanelWindow = 0x52012C96;
constexpr uint32_t kPanelSelf = 0x06012C97;
constexpr uint32_t kPanelSampleList = 0x16012E42;    // 扩展列表框, ListboxEx
constexpr uint32_t kPanelMenu = 0x26012DFA;          // 菜单
constexpr uint32_t kPanelMenuOpenRoot = 0x26012DFB;  // 打开根目录
constexpr uint32_t kPanelIconList = 0x16012DC1;      // 图标列表框, IcoListboxEx
constexpr uint32_t kPanelSeparator = 0x16012D4D;     // 分割线1, PictureBoxEx
constexpr uint32_t kPanelToolbar = 0x16012D4A;       // 工具条, ToolbarEx
constexpr uint32_t kPanelSkinRoot = 0x16012C9A;      // 窗口EX, WindowEx

// ShellWatchWindow: never shown; hears the shell's broadcasts and a second
// start's request (app/dock/ShellWatch.cpp).
constexpr uint32_t kShellWatchWindow = 0x52013001;
constexpr uint32_t kShellWatchSelf = 0x06013000;
constexpr char kShellWatchClass[] = "QuickDockShellWatch";
