// Shows the dock button where it can be drawn: the program's start-up runs in
// this process against a taskbar of this same process, so the embedded button
// is painted (a child of another process's window may not be). Used to take
// the button's picture; the panel is created too and waits off screen.
//
//   test_support_dockpicture.exe [--out FILE] [--hold MS] [--hover]
//
// --out    once the button is in place, writes "left top right bottom" of
//          the button with a little of the taskbar around it, in screen
//          coordinates; the file appears complete.
// --hold   how long to keep the windows up afterwards (default 5000 ms).
// --hover  moves the pointer over the button, so it shows its hover look.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/ProgramImage.h"
#include "app/common/ProgramWindows.h"
#include "app/common/Globals.h"
#include "runtime/process/Runtime.h"
#include "runtime/process/RuntimeError.h"

namespace {

// The colour of a dark taskbar, so the button is seen as on a desktop.
constexpr COLORREF kTaskbarColour = RGB(28, 32, 40);

void FailOnRuntimeError(const char* text, int32_t code) {
    std::fprintf(stderr, "runtime error %d: %s\n", code, text);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
}

void RegisterTaskbarClass(const char* name, HBRUSH background) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

void Pump(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

bool WriteBox(const std::string& path, const RECT& box) {
    const std::string temporary = path + ".part";
    FILE* f = std::fopen(temporary.c_str(), "w");
    if (!f) return false;
    std::fprintf(f, "%ld %ld %ld %ld\n", box.left, box.top, box.right, box.bottom);
    std::fclose(f);
    DeleteFileA(path.c_str());
    return MoveFileA(temporary.c_str(), path.c_str()) != 0;
}

// Start-up registers the running program for automatic start; this helper
// is no program a user starts, so its value is taken away again.
void ForgetAutoStart() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const char* name = std::strrchr(self, '\\') ? std::strrchr(self, '\\') + 1 : self;
    HKEY key;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                    &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, name);
    RegCloseKey(key);
}

}  // namespace

int main(int argc, char** argv) {
    std::string out;
    DWORD hold = 5000;
    bool hover = false;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--out" && i + 1 < argc) {
            out = argv[++i];
        } else if (option == "--hold" && i + 1 < argc) {
            hold = static_cast<DWORD>(std::strtoul(argv[++i], nullptr, 10));
        } else if (option == "--hover") {
            hover = true;
        }
    }
    SetRuntimeErrorHook(FailOnRuntimeError);

    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    HBRUSH dark = CreateSolidBrush(kTaskbarColour);
    RegisterTaskbarClass("Shell_TrayWnd", dark);
    RegisterTaskbarClass("TrayNotifyWnd", dark);
    RegisterTaskbarClass("TrayButton", dark);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND taskbar =
        CreateWindowExA(WS_EX_TOOLWINDOW, "Shell_TrayWnd", "", WS_POPUP | WS_VISIBLE, 0,
                        screenHeight - 40, screenWidth, 40, nullptr, nullptr, instance, nullptr);
    HWND notify = CreateWindowExA(0, "TrayNotifyWnd", "", WS_CHILD | WS_VISIBLE, screenWidth - 380,
                                  0, 300, 40, taskbar, nullptr, instance, nullptr);
    HWND button = CreateWindowExA(0, "TrayButton", "", WS_CHILD | WS_VISIBLE, 10, 0, 40, 40, notify,
                                  nullptr, instance, nullptr);
    if (!taskbar || !notify || !button) return 1;
    Pump(200);

    SetProgramHeader(&kProgramHeader);
    InitializeRuntime();
    CreateGlobalLists();
    LoadStartWindow(kDockWindow);
    ForgetAutoStart();
    HWND dock = WindowHandleOf(DockWindowRef());
    Pump(300);
    if (hover) {
        RECT box;
        GetWindowRect(dock, &box);
        SetCursorPos((box.left + box.right) / 2, (box.top + box.bottom) / 2);
        Pump(300);
    }
    RECT area;
    GetWindowRect(dock, &area);
    RECT bar;
    GetWindowRect(taskbar, &bar);
    area = {area.left - 24, bar.top, area.right + 24, bar.bottom};
    if (!out.empty() && !WriteBox(out, area)) return 2;
    Pump(hold);
    return 0;
}
