// The panel's own window procedure: watches for the shell's notice that
// another application's window was activated, and slides the panel out.
#pragma once
#include <windows.h>

// wParam of the shell-hook message when a window was activated (with the
// high bit the shell sets for a full-screen or "rude" activation).
constexpr WPARAM kShellWindowActivated = 0x8004;

LRESULT CALLBACK PanelWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Registers the panel for shell-hook notices and remembers the number of the
// shell-hook message ("SHELLHOOK", handed out by the system at run time).
void RegisterPanelShellHook(HWND panel);
UINT ShellHookMessage();
// Replaces the panel's window procedure; the previous one goes to
// PanelPreviousWndProc.
void InstallPanelWindowProc(HWND panel);
