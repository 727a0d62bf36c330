#include "app/LiveFolder.h"

#include "app/common/Globals.h"
#include "app/common/PumpPendingMessages.h"
#include "app/dock/PanelFocus.h"
#include "app/dock/PanelSlides.h"
#include "app/launch/FolderWatch.h"
#include "app/launch/QuickLaunchScan.h"
#include "app/launch/ShowCategory.h"

namespace {

bool gWatching = false;
// A scan runs: it handles messages between items, so a click or a notice
// can arrive in the middle of it.
bool gReading = false;
// A click came while a scan ran: the panel slides in when it is done.
bool gClickWaiting = false;

bool PanelHidden() {
    return PanelState == kPanelHidden;
}

bool MayShowNewContent() {
    return gWatching && PanelHidden();
}

void SlideInForClick() {
    TakePanelFocus();
    SlidePanelIn();
}

void ReadChanges() {
    if (!TakeFolderChange()) return;
    gReading = true;
    // A click on the dock meanwhile raises its event, and waits for the end.
    RaiseEventsWhilePumping(true);
    const int32_t shown = RescanQuickLaunchFolder(MayShowNewContent);
    RaiseEventsWhilePumping(false);
    if (shown >= 0) SelectCategory(shown);
    gReading = false;
    // Not put in place (the panel went meanwhile): it is read again later.
    if (shown < 0) NoteFolderChange();
}

// After a scan: the click that waited for it, else changes that came during it.
void AfterReading() {
    if (gClickWaiting) {
        gClickWaiting = false;
        if (PanelHidden()) SlideInForClick();
    } else if (FolderChangePending() && PanelHidden()) {
        RecheckFolderLater();
    }
}

// A burst of changes has settled.
void OnFolderSettled() {
    if (gReading || !MayShowNewContent()) return;
    ReadChanges();
    AfterReading();
}

}  // namespace

bool ScanAndWatchQuickLaunchFolder() {
    gClickWaiting = false;
    gWatching = StartFolderWatch(OnFolderSettled);
    gReading = true;
    if (ScanQuickLaunchFolder()) return true;
    gReading = false;
    return false;
}

void FinishPanelStart() {
    gReading = false;
    AfterReading();
}

void StopWatchingQuickLaunchFolder() {
    gWatching = false;
    gClickWaiting = false;
    StopFolderWatch();
}

HandlerResult OnDockClicked(const int32_t* args, int32_t argCount) {
    if (!PanelHidden()) return TogglePanel(args, argCount);
    if (gReading) {
        gClickWaiting = true;
        return NoResult();
    }
    ReadChanges();
    // Clicks during that reading asked for what happens now.
    gClickWaiting = false;
    if (PanelHidden()) SlideInForClick();
    return NoResult();
}
