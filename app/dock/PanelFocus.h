// The panel's keyboard focus: taken only when a click on the dock slides the
// panel in, kept on the icon list while the panel has it, and given back
// when the user sends the panel away with Esc.
#pragma once
#include "runtime/process/Runtime.h"

// Makes the panel the foreground window with the icon list focused, and
// remembers the window that had the foreground.
void TakePanelFocus();
// Hands the foreground back to that window while the panel still has it.
void ReturnPanelFocus();
// The panel's event -7 (it got the focus): the focus goes on to the icon
// list, whose items the keys move through.
HandlerResult OnPanelFocused(const int32_t* args, int32_t argCount);
// The names screen readers say for the dock button and the panel.
void NamePanelWindows();
