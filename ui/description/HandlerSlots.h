// The slots of the program's handler table that the UI description binds.
// A stored handler offset is slot x 4 (see kHandlerOffsetUnit); the build tool
// reads this list, so the order here is the order of the stored offsets.
#pragma once

enum HandlerSlot : int {
    kSlotEmbedDock = 0,
    kSlotTogglePanel = 1,
    kSlotDockFirstActivation = 2,
    kSlotDockHover = 3,
    kSlotPanelCreated = 4,
    kSlotPanelMayClose = 5,
    kSlotPanelDestroying = 6,
    kSlotSampleListEvent = 7,
    kSlotLaunchEntry = 8,
    kSlotIconListContextMenu = 9,
    kSlotToolbarButtonClicked = 10,
    kSlotToolbarEvent8 = 11,
    kSlotOpenRootFolder = 12,
    kSlotShellWatchCreated = 13,
    kSlotPanelFocused = 14,
    kSlotIconListKey = 15,
    kHandlerSlotCount = 16
};
