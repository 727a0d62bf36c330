// Reading "快速启动目录" into categories, items and toolbar buttons, at the
// panel's creation and again when the folder has changed.
#pragma once
#include <cstdint>

// Fills the toolbar, ImageRegistry and CategoryList; selects button 0. When
// a folder watch runs, the folders are watched from before they are listed.
// False when the panel went while the scan ran (it stopped there).
bool ScanQuickLaunchFolder();
// Reads the folder again with the scan's own routines; an item whose file
// did not change keeps its picture (nothing is extracted again). Once read,
// and if `mayShow()` still holds (messages are handled while reading), the
// new content replaces the old in one step (toolbar buttons, CategoryList,
// ImageRegistry; the pictures no item shows any more released, once each)
// and the result is the category to show, the one shown before found again
// by its folder name, else 0; the caller shows it at once (SelectCategory).
// Otherwise the new content and its new pictures are dropped; -1 then.
int32_t RescanQuickLaunchFolder(bool (*mayShow)());
