// The panel's layout: parked just beyond the right edge of the screen (and of
// every monitor), resting above a bottom taskbar, its controls lined up along
// its bottom edge; then the shell hook and the window procedure. Its resting
// place is measured again when the displays or the taskbar change.
#include "app/dock/PanelLayout.h"

#include "app/common/ProgramWindows.h"
#include "app/common/Globals.h"
#include "app/dock/EmbedDock.h"
#include "app/dock/PanelParking.h"
#include "app/dock/PanelSlides.h"
#include "app/dock/PanelWindowProc.h"
#include "app/dock/TaskbarThickness.h"
#include "runtime/library/Commands.h"
#include "runtime/windows/Properties.h"
#include "ui/description/WindowGeometry.h"

namespace {

int32_t Read(uint32_t component, int32_t property) {
    return ReadIntProperty(kDockPanelWindow, component, property);
}
void Write(uint32_t component, int32_t property, double value) {
    WriteIntProperty(kDockPanelWindow, component, property, TruncateToInteger(value));
}

}  // namespace

void PlacePanelAtRest() {
    const int32_t screenWidth = CallCore(CoreCommand::ScreenWidth).AsInt();
    SavedScreenWidth = screenWidth;
    // Just beyond the primary screen's right edge, unless another monitor
    // lies there: the hidden panel must show on no monitor.
    SetParkedLeft(ParkedPanelLeft(screenWidth, MonitorRectangles()));
    Write(kPanelSelf, kPropLeft, ParkedLeft());
    Write(kPanelSelf, kPropHeight, kPanelHeight);

    const int32_t screenHeight = CallCore(CoreCommand::ScreenHeight).AsInt();
    const int32_t thickness = GetTaskbarThickness(DockTaskbar());
    Write(kPanelSelf, kPropTop,
          static_cast<double>(screenHeight) - thickness - Read(kPanelSelf, kPropHeight));
}

void RefreshPanelPlace() {
    if (!IsLoaded(PanelWindowRef())) return;
    if (PanelState == kPanelHidden) {
        PlacePanelAtRest();
    } else {
        MarkPanelPlaceStale();
    }
}

void LayoutPanel() {
    PlacePanelAtRest();

    Write(kPanelIconList, kPropTop,
          static_cast<double>(Read(kPanelSelf, kPropHeight)) - Read(kPanelIconList, kPropHeight));
    Write(kPanelToolbar, kPropTop, Read(kPanelIconList, kPropTop));
    Write(kPanelSeparator, kPropTop, static_cast<double>(Read(kPanelIconList, kPropTop)) - 1);

    HWND panel = WindowHandleOf(PanelWindowRef());
    RegisterPanelShellHook(panel);
    InstallPanelWindowProc(panel);
}
