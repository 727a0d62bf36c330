// The panel's geometry: set when it is created, measured again when the
// displays or the taskbar change.
#pragma once

// Parks the panel beyond the right screen edge (SavedScreenWidth) and beyond
// every monitor (ParkedLeft), rests it above a taskbar along a whole screen
// edge, aligns its controls along its bottom, registers the shell hook and
// installs PanelWindowProc.
void LayoutPanel();
// Steps of the layout that depend on the desktop: the primary screen's width
// (SavedScreenWidth), the parked place, the height, and the top edge above
// the taskbar that holds the dock.
void PlacePanelAtRest();
// After a display, settings or taskbar change: the hidden panel takes its
// resting place at once; one that is out, when it is back (MarkPanelPlaceStale).
void RefreshPanelPlace();
