// How much of the screen's height the taskbar takes: its height when it spans
// the full width (bottom or top edge), its width when it spans the full height
// (left or right edge) of the primary display, 0 otherwise. The panel rests
// that far above the bottom of the screen.
#include "app/dock/TaskbarThickness.h"

#include <windows.h>
#include <shellapi.h>

#include "app/common/DeclaredFunctions.h"

namespace {

// The display-device record is handed over with this size, four bytes short
// of the full record: the system then leaves out the device key, which is
// never read here.
constexpr DWORD kDisplayDeviceRecordSize = 420;
constexpr DWORD kGetDeviceInterfaceName = 1;
// More display adapters' outputs than any machine has: the search for the
// primary one ends here whatever the list reports.
constexpr DWORD kMostDisplayDevices = 64;

}  // namespace

int32_t GetTaskbarThickness(HWND holder) {
    APPBARDATA bar = {};
    bar.cbSize = sizeof(bar);
    Declared::SHAppBarMessage(ABM_GETTASKBARPOS, &bar);
    RECT r = bar.rc;
    // A shell that reports a bar of its own while the dock sits in another
    // (Wine's desktop reports a 1-pixel bar along the bottom) would put the
    // panel over the dock, where a second click cannot reach it.
    RECT own = {};
    if (holder && Declared::GetWindowRect(holder, &own) && !EqualRect(&own, &r)) r = own;
    const DisplayMode mode = GetDisplayMode(PrimaryDisplayIndex());
    if (r.left == 0 && r.right == mode.width) return r.bottom - r.top;
    if (r.top == 0 && r.bottom == mode.height) return r.right - r.left;
    return 0;
}

int32_t PrimaryDisplayIndex() {
    for (DWORD index = 0; index < kMostDisplayDevices; ++index) {
        DISPLAY_DEVICEA device = {};
        device.cb = kDisplayDeviceRecordSize;
        if (!Declared::EnumDisplayDevicesA(nullptr, index, &device, kGetDeviceInterfaceName))
            return 0;
        if (device.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE) return static_cast<int32_t>(index);
    }
    return 0;
}

DisplayMode GetDisplayMode(int32_t deviceIndex) {
    DISPLAY_DEVICEA device = {};
    device.cb = kDisplayDeviceRecordSize;
    DEVMODEA settings = {};
    settings.dmSize = sizeof(settings);
    if (Declared::EnumDisplayDevicesA(nullptr, static_cast<DWORD>(deviceIndex), &device,
                                      kGetDeviceInterfaceName)) {
        char name[sizeof(device.DeviceName) + 1] = {};
        for (size_t i = 0; i < sizeof(device.DeviceName) && device.DeviceName[i]; ++i) {
            name[i] = device.DeviceName[i];
        }
        Declared::EnumDisplaySettingsA(name, ENUM_CURRENT_SETTINGS, &settings);
    }
    DisplayMode mode;
    mode.bitsPerPixel = static_cast<int32_t>(settings.dmBitsPerPel & 0xFFFF);
    mode.width = static_cast<int32_t>(settings.dmPelsWidth & 0xFFFF);
    mode.height = static_cast<int32_t>(settings.dmPelsHeight & 0xFFFF);
    mode.frequency = static_cast<int32_t>(settings.dmDisplayFrequency & 0xFFFF);
    return mode;
}
