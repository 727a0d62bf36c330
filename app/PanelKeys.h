// The keys of the panel that are the program's own.
#pragma once
#include "runtime/process/Runtime.h"

// 图标列表框 event -9 (a key pressed; args[0] the key, args[1] 1 Ctrl, 2 Shift,
// 4 Alt): Esc slides the panel out and gives the keyboard back; Tab and
// Shift+Tab, with or without Ctrl, go to the next and the previous category.
// Those keys are answered 0, so the list does not see them; the others
// (arrows, Home, End, Page Up, Page Down, Enter) are the list's own.
HandlerResult OnIconListKey(const int32_t* args, int32_t argCount);
