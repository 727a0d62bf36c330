// The panel's slide animations: three steps with a short wait between them.
// A slide out ends at the parked place, measured again from the monitors.
// Only one slide runs at a time; a request while one runs is dropped, also
// when it comes from the worker thread that the shell's notice starts.
#include "app/dock/PanelSlides.h"

#include <windows.h>

#include "app/common/DelayWithMessages.h"
#include "app/common/Globals.h"
#include "app/dock/DockRequests.h"
#include "app/dock/EmbedDock.h"
#include "app/dock/PanelParking.h"
#include "runtime/windows/Properties.h"
#include "ui/description/UiIds.h"

namespace {

constexpr int32_t kStepDelay = 5;

int32_t gParkedLeft = 0;
// Set when the desktop changed while the panel was out: its resting place is
// measured once it is back.
volatile LONG gPlaceStale = 0;

// Marks the panel as sliding unless it already is; one atomic step, so two
// threads can never both start a slide.
bool BeginSlide() {
    for (;;) {
        const LONG state = PanelState;
        if (state == kPanelSliding) return false;
        if (InterlockedCompareExchange(&PanelState, kPanelSliding, state) == state) return true;
    }
}

int32_t PanelLeft() {
    return ReadIntProperty(kDockPanelWindow, kPanelSelf, kPropLeft);
}
int32_t PanelWidth() {
    return ReadIntProperty(kDockPanelWindow, kPanelSelf, kPropWidth);
}
void SetPanelLeft(double left) {
    WriteIntProperty(kDockPanelWindow, kPanelSelf, kPropLeft, TruncateToInteger(left));
}
// Whole pixels per move, so that kSlideSteps moves come within a few pixels
// of the panel's width and the final correction is small.
int32_t SlideStep() {
    return TruncateToInteger(PanelWidth() / static_cast<double>(kSlideSteps));
}

}  // namespace

int32_t ParkedLeft() {
    return gParkedLeft;
}

void SetParkedLeft(int32_t left) {
    gParkedLeft = left;
}

void MarkPanelPlaceStale() {
    InterlockedExchange(&gPlaceStale, 1);
}

void SlidePanelIn() {
    if (!BeginSlide()) return;
    const int32_t step = SlideStep();
    for (int32_t i = 1; i <= kSlideSteps; ++i) {
        SetPanelLeft(static_cast<double>(SavedScreenWidth) - static_cast<double>(step) * i);
        DelayWithMessages(kStepDelay, kMilliseconds);
    }
    InterlockedExchange(&PanelState, kPanelShown);
    SetPanelLeft(static_cast<double>(SavedScreenWidth) - PanelWidth());
}

void SlidePanelOut() {
    if (!BeginSlide()) return;
    const int32_t step = SlideStep();
    for (int32_t i = 1; i <= kSlideSteps; ++i) {
        // Each move starts from where the panel is now, so the moves grow.
        SetPanelLeft(static_cast<double>(PanelLeft()) + static_cast<double>(step) * i);
        DelayWithMessages(kStepDelay, kMilliseconds);
    }
    InterlockedExchange(&PanelState, kPanelHidden);
    // Parked again from the monitors there are now: one attached on the
    // right since the last slide would otherwise show the hidden panel.
    gParkedLeft = ParkedPanelLeft(SavedScreenWidth, MonitorRectangles());
    SetPanelLeft(gParkedLeft);
    if (InterlockedExchange(&gPlaceStale, 0) != 0) RequestPanelPlace();
}

HandlerResult TogglePanel(const int32_t*, int32_t) {
    // A dock built again after the shell restarted takes clicks (posted to it
    // while hidden) before its panel is laid out; the panel slides once it is.
    if (DockBeingBuilt()) return NoResult();
    const LONG state = PanelState;
    if (state == kPanelHidden) {
        SlidePanelIn();
    } else if (state == kPanelShown) {
        SlidePanelOut();
    }
    return NoResult();
}
