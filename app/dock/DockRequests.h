// The dock's requests to itself: changes arrive in bursts and in the middle
// of handlers that pump messages, so each is posted to ShellWatchWindow and
// carried out among its messages, after the handler running now.
#pragma once
#include <windows.h>

// The watch window's own messages (ShellWatch.cpp carries them out).
constexpr UINT kMsgPlaceDock = WM_APP + 0x51;
constexpr UINT kMsgRestoreDock = WM_APP + 0x52;
constexpr UINT kMsgPlacePanel = WM_APP + 0x53;

// The window the requests go to; none (as in tests without it): dropped.
void SetRequestWindow(HWND window);
// The dock takes its place again: once per burst of changes.
void RequestDockPlace();
// ShellWatch took the request made by RequestDockPlace.
void DockPlaceTaken();
// A new taskbar is looked at (the dock goes into it).
void RequestDockRestore();
// The hidden panel's resting place is measured again.
void RequestPanelPlace();
// A restore asked for while a dock is being built waits for the build's end.
void DeferDockRestore();
void ResumeDeferredDockRestore();
// The message a second start sends to the running dock's watch window: slide
// the panel in.
UINT SlideInRequestMessage();
