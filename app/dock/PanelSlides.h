// The panel's slide animations and the dock button's click that starts them.
#pragma once
#include "runtime/process/Runtime.h"

// The panel's slides take this many moves, a short wait after each, and then
// a final correction to the exact resting place.
constexpr int32_t kSlideSteps = 3;

// The hidden panel's left edge, set by the layout and by every slide out. The
// slides move the panel relative to the primary screen's right edge
// (SavedScreenWidth) and end a slide out here.
int32_t ParkedLeft();
void SetParkedLeft(int32_t left);
// The desktop changed while the panel was out: when the next slide out ends,
// its resting place is measured again.
void MarkPanelPlaceStale();

// Each does nothing while another slide runs (on any thread).
void SlidePanelIn();
void SlidePanelOut();
// DockWindow's click (event -2): slides a hidden panel in, a shown one out.
HandlerResult TogglePanel(const int32_t* args, int32_t argCount);
