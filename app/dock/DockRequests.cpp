#include "app/dock/DockRequests.h"

namespace {

HWND gRequestWindow = nullptr;
bool gPlaceRequested = false;
bool gRestoreDeferred = false;

void Post(UINT message) {
    if (gRequestWindow) PostMessageA(gRequestWindow, message, 0, 0);
}

}  // namespace

void SetRequestWindow(HWND window) {
    gRequestWindow = window;
}

void RequestDockPlace() {
    if (gPlaceRequested || !gRequestWindow) return;
    gPlaceRequested = true;
    Post(kMsgPlaceDock);
}

void DockPlaceTaken() {
    gPlaceRequested = false;
}

void RequestDockRestore() {
    Post(kMsgRestoreDock);
}

void RequestPanelPlace() {
    Post(kMsgPlacePanel);
}

void DeferDockRestore() {
    gRestoreDeferred = true;
}

void ResumeDeferredDockRestore() {
    if (!gRestoreDeferred) return;
    gRestoreDeferred = false;
    RequestDockRestore();
}

UINT SlideInRequestMessage() {
    static const UINT message = RegisterWindowMessageA("QuickDock.SlidePanelIn");
    return message;
}
