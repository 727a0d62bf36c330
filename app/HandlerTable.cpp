// The handler routines in the order of the slots that the UI description's
// handler offsets name.
#include "app/HandlerTable.h"

#include "app/LaunchEntry.h"
#include "app/LiveFolder.h"
#include "app/PanelCreated.h"
#include "app/PanelKeys.h"
#include "app/dock/DockButton.h"
#include "app/dock/EmbedDock.h"
#include "app/dock/PanelSlides.h"
#include "app/dock/ShellWatch.h"
#include "app/dock/PanelFocus.h"
#include "app/launch/CategoryToolbar.h"
#include "app/launch/ItemActions.h"
#include "app/launch/SampleList.h"

const EventHandler kHandlerTable[kHandlerSlotCount] = {
    EmbedDock,               // kSlotEmbedDock
    OnDockClicked,           // kSlotTogglePanel
    OnDockFirstActivation,   // kSlotDockFirstActivation
    OnDockHover,             // kSlotDockHover
    OnPanelCreated,          // kSlotPanelCreated
    OnPanelMayClose,         // kSlotPanelMayClose
    OnPanelDestroyed,        // kSlotPanelDestroying
    OnSampleListEvent,       // kSlotSampleListEvent
    LaunchEntry,             // kSlotLaunchEntry
    OnIconListContextMenu,   // kSlotIconListContextMenu
    OnToolbarButtonClicked,  // kSlotToolbarButtonClicked
    OnToolbarEvent8,         // kSlotToolbarEvent8
    OpenRootFolder,          // kSlotOpenRootFolder
    OnShellWatchCreated,     // kSlotShellWatchCreated
    OnPanelFocused,          // kSlotPanelFocused
    OnIconListKey,           // kSlotIconListKey
};
