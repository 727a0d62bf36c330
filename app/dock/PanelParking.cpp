// Where the hidden panel waits: right of every monitor.
#include "app/dock/PanelParking.h"

#include <algorithm>

#include "app/common/DeclaredFunctions.h"

namespace {

BOOL CALLBACK CollectMonitor(HMONITOR, HDC, RECT* box, LPARAM rectangles) {
    reinterpret_cast<std::vector<RECT>*>(rectangles)->push_back(*box);
    return TRUE;
}

}  // namespace

int32_t ParkedPanelLeft(int32_t screenWidth, const std::vector<RECT>& monitors) {
    int32_t left = screenWidth;
    for (const RECT& monitor : monitors) left = std::max<int32_t>(left, monitor.right);
    return left;
}

std::vector<RECT> MonitorRectangles() {
    std::vector<RECT> rectangles;
    Declared::EnumDisplayMonitors(nullptr, nullptr, CollectMonitor,
                                  reinterpret_cast<LPARAM>(&rectangles));
    return rectangles;
}
