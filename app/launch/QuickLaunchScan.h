// Reading "快速启动目录" into categories, items and toolbar buttons.
#pragma once

// Fills the toolbar, ImageRegistry and CategoryList; selects button 0. False
// when the panel went while the scan ran (it stopped there).
bool ScanQuickLaunchFolder();
