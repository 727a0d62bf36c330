// The fixed start every skinned program of this kind pays, and nothing more:
// load the skin engine (and with it GDI+, the common controls and OLE it is
// linked against), start GDI+, register a class and show one popup window of
// the panel's size. The benchmark compares the dock's start with no shortcuts
// against this, from process creation to the first window shown.
//
//   bench_windowed.exe ENGINE_DLL
//
// The window stays until it is sent WM_CLOSE; exit code 0, or 1 when the
// engine or GDI+ could not be loaded (the measurement is then worthless).
#include <windows.h>
#include <gdiplus.h>

#include <string>

#include "ui/description/WindowGeometry.h"

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::string Unquoted(std::string text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '"')) text.erase(0, 1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '"')) text.pop_back();
    return text;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
    HMODULE engine = LoadLibraryA(Unquoted(arguments).c_str());
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (!engine || Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return 1;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "BenchWindowedBaseline";
    RegisterClassA(&windowClass);
    const int screen = GetSystemMetrics(SM_CXSCREEN);
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, windowClass.lpszClassName, "", WS_POPUP,
                                  screen - kPanelWidth, 0, kPanelWidth, kPanelHeight, nullptr,
                                  nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    Gdiplus::GdiplusShutdown(token);
    FreeLibrary(engine);
    return 0;
}
