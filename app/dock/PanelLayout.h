// The panel's geometry, set once when it is created.
#pragma once

// Parks the panel beyond the right screen edge (SavedScreenWidth) and beyond
// every monitor (ParkedLeft), rests it above a taskbar along a whole screen
// edge, aligns its controls along its bottom, registers the shell hook and
// installs PanelWindowProc.
void LayoutPanel();
