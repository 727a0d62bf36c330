#include "tests/engine/EngineHarness.h"

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <string>

std::vector<RecordedEvent> gEvents;
std::function<void(const RecordedEvent&)> gOnEvent;
int gHostClicks = 0;

namespace {
constexpr char kWrapperClass[] = "EngineTestWrapper";
constexpr char kHostClass[] = "EngineTestHost";

template <typename T>
void Resolve(HMODULE module, T& entry, const char* name) {
    entry = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The skinned-control layer's wrapper procedure, as the engine meets it.
LRESULT CALLBACK WrapperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MOVE:
            Engine().synchronise(window, 0);
            break;
        case WM_SIZE:
            Engine().synchronise(window, 1);
            break;
        case WM_ERASEBKGND:
            return 1;
        case WM_NCDESTROY: {
            HANDLE control = GetPropA(window, kEngineControlProperty);
            if (!control) return 0;
            Engine().destroy(reinterpret_cast<EngineControl>(control));
            break;
        }
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONUP) ++gHostClicks;
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = WrapperProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kWrapperClass;
    RegisterClassA(&wc);
    wc.lpfnWndProc = HostProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kHostClass;
    RegisterClassA(&wc);
}
}  // namespace

const EngineApi& Engine() {
    static EngineApi api = [] {
        EngineApi a;
        char path[MAX_PATH];
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string dir(path);
        dir.resize(dir.find_last_of('\\') + 1);
        a.module = LoadLibraryA((dir + "SkinEngine.dll").c_str());
        if (!a.module) return a;
        Resolve(a.module, a.createWindowEx, "CreateControl_WindowEx");
        Resolve(a.module, a.createPictureBox, "CreateControl_PictureBoxEx");
        Resolve(a.module, a.createToolbar, "CreateControl_ToolbarEx");
        Resolve(a.module, a.createListbox, "CreateControl_ListboxEx");
        Resolve(a.module, a.createIcoListbox, "CreateControl_IcoListboxEx");
        Resolve(a.module, a.send, "ControlSendMessage");
        Resolve(a.module, a.synchronise, "ControPonintSizeSynchronise");
        Resolve(a.module, a.destroy, "ControlDestroy");
        Resolve(a.module, a.updateCache, "ControlUpdateCache");
        Resolve(a.module, a.loadImage, "LoadImageEx");
        Resolve(a.module, a.destroyImage, "DestroyImageEx");
        Resolve(a.module, a.createBin, "CreateBinEx");
        Resolve(a.module, a.insertButton, "InsertButton_ToolbarEx");
        Resolve(a.module, a.buttonCount, "GetButtonCount_ToolbarEx");
        Resolve(a.module, a.setButtonSelected, "SetButtonSelected_ToolbarEx");
        Resolve(a.module, a.insertItem, "InsertItem_IcoListboxEx");
        Resolve(a.module, a.deleteItem, "DeleteItem_IcoListboxEx");
        Resolve(a.module, a.deleteButton, "DeleteButton_ToolbarEx");
        return a;
    }();
    return api;
}

int32_t WINAPI RecordEvent(EngineControl control, int32_t code, int32_t a1, int32_t a2, int32_t a3,
                           int32_t a4) {
    gEvents.push_back(RecordedEvent{control, code, a1, a2, a3, a4});
    if (gOnEvent) gOnEvent(gEvents.back());
    return 0;
}

HWND MakeHost(HWND parent, int x, int y, int width, int height) {
    RegisterClasses();
    const DWORD style = parent ? WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS : WS_POPUP | WS_VISIBLE;
    return CreateWindowExA(parent ? 0 : WS_EX_TOPMOST, kHostClass, "", style, x, y, width, height,
                           parent, nullptr, GetModuleHandleA(nullptr), nullptr);
}

HWND MakeWrapper(HWND host, int x, int y, int width, int height) {
    RegisterClasses();
    return CreateWindowExA(WS_EX_TRANSPARENT | WS_EX_TOPMOST, kWrapperClass, "", WS_CHILD, x, y,
                           width, height, host, reinterpret_cast<HMENU>(100),
                           GetModuleHandleA(nullptr), nullptr);
}

EngineControl CreateOn(CreateControlFn create, HWND host, int x, int y, int width, int height,
                       const uint8_t* attributes, int32_t eventBase, HWND* wrapperOut) {
    HWND wrapper = MakeWrapper(host, x, y, width, height);
    EngineCreationContext context{wrapper, 0x16012D4A, 0x52012C96, eventBase, attributes};
    create(0, host, x, y, width, height, RecordEvent, &context, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
           0, 0, 0, 0, 0);
    if (wrapperOut) *wrapperOut = wrapper;
    return reinterpret_cast<EngineControl>(GetPropA(wrapper, kEngineControlProperty));
}

void Pump(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < milliseconds);
}

void PostMouse(HWND window, UINT message, int x, int y, WPARAM keys) {
    PostMessageW(window, message, keys, MAKELPARAM(x, y));
}

void Click(HWND wrapper, int x, int y) {
    PostMouse(wrapper, WM_MOUSEMOVE, x, y);
    PostMouse(wrapper, WM_LBUTTONDOWN, x, y, MK_LBUTTON);
    PostMouse(wrapper, WM_LBUTTONUP, x, y);
    Pump(30);
}

int32_t ReadAttribute(EngineControl control, int32_t index) {
    int64_t value = 0x7777;
    Engine().send(control, kEngineGetAttribute, index, &value, 0, 0);
    return int32_t(value);
}

bool WriteAttribute(EngineControl control, int32_t index, int32_t value) {
    int64_t wide = value;
    return Engine().send(control, kEngineSetAttribute, index, &wide, 0, 0) != 0;
}

static std::vector<EngineValue> Words(size_t count) {
    std::vector<EngineValue> values;
    for (size_t i = 0; i < count; ++i) values.push_back(EngineValue::Word(0));
    return values;
}

Bytes WindowExBlock(int32_t opacity, const Bytes& skin) {
    auto v = Words(21);
    v[0] = EngineValue::Word(1);
    v[1] = EngineValue::Block(-1, skin);
    v[2] = EngineValue::Word(opacity);
    for (int i = 3; i <= 5; ++i) v[i] = EngineValue::Block(-1, {});
    return BuildAttributeBlock(v);
}

Bytes PictureBoxBlock(const Bytes& skin, const Bytes& png) {
    auto v = Words(17);
    v[0] = EngineValue::Word(1);
    v[1] = EngineValue::Block(-1, skin);
    v[2] = EngineValue::Block(-2, png);
    return BuildAttributeBlock(v);
}

Bytes ToolbarBlock(const Bytes& skin, int32_t buttonHeight) {
    auto v = Words(17);
    v[0] = EngineValue::Word(1);
    v[1] = EngineValue::Block(-1, skin);
    v[2] = EngineValue::Word(buttonHeight);
    return BuildAttributeBlock(v);
}

Bytes ListboxBlock(const Bytes& skin, const Bytes& items, int32_t visible) {
    auto v = Words(17);
    v[0] = EngineValue::Word(visible);
    v[1] = EngineValue::Block(-1, skin);
    v[2] = EngineValue::Word(30);
    v[8] = EngineValue::Word(-1);
    v[9] = EngineValue::Block(-3, items);
    return BuildAttributeBlock(v);
}

Bytes IcoListboxBlock(const Bytes& skin, int32_t iconSize, int32_t cellWidth, int32_t cellHeight) {
    auto v = Words(22);
    v[0] = EngineValue::Word(1);
    v[1] = EngineValue::Block(-1, skin);
    v[2] = EngineValue::Word(iconSize);
    v[3] = EngineValue::Word(cellWidth);
    v[4] = EngineValue::Word(cellHeight);
    v[8] = EngineValue::Word(-1);
    return BuildAttributeBlock(v);
}

Bytes ColourSkin(int32_t kind) {
    SkinRecipe recipe;
    recipe.kind = kind;
    recipe.values = PanelValues();
    return BuildSkinDescriptor(recipe);
}

PixelImage Capture(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump(60);
    RECT r;
    GetWindowRect(window, &r);
    PixelImage image = SolidImage(r.right - r.left, r.bottom - r.top, 0);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, image.width, image.height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const uint32_t* pixels = static_cast<const uint32_t*>(bits);
    for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = pixels[i] | 0xFF000000;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return image;
}

bool SavePng(const PixelImage& image, const char* fileName) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string file(path);
    file.resize(file.find_last_of('\\') + 1);
    file += fileName;
    const Bytes png = EncodePng(image);
    FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) return false;
    const bool ok = std::fwrite(png.data(), 1, png.size(), out) == png.size();
    std::fclose(out);
    return ok && !png.empty();
}

uint32_t Average(const PixelImage& image, int x, int y, int width, int height) {
    uint64_t sum[3] = {0, 0, 0};
    uint64_t n = 0;
    for (int py = y; py < y + height; ++py)
        for (int px = x; px < x + width; ++px) {
            const uint32_t p = image.At(px, py);
            sum[0] += (p >> 16) & 0xFF;
            sum[1] += (p >> 8) & 0xFF;
            sum[2] += p & 0xFF;
            ++n;
        }
    if (n == 0) return 0;
    return 0xFF000000 | uint32_t(sum[0] / n) << 16 | uint32_t(sum[1] / n) << 8 |
           uint32_t(sum[2] / n);
}

int CountMatching(const PixelImage& image, int x, int y, int width, int height,
                  const std::function<bool(uint32_t)>& test) {
    int count = 0;
    for (int py = y; py < y + height; ++py)
        for (int px = x; px < x + width; ++px)
            if (test(image.At(px, py))) ++count;
    return count;
}

int Luma(uint32_t p) {
    return int((((p >> 16) & 0xFF) * 3 + ((p >> 8) & 0xFF) * 6 + (p & 0xFF)) / 10);
}

int ColourDistance(uint32_t a, uint32_t b) {
    int d = 0;
    for (int shift = 0; shift < 24; shift += 8)
        d += std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF));
    return d;
}

void InsertIcon(EngineControl list, int32_t image, const char* title) {
    void* bin = Engine().createBin(title, kBinTextMarker, 0, 0, 0, 0, 0, 0);
    Engine().insertItem(list, -1, 1, 0, image, bin);
}

long GdiObjectsInUse() {
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported) return long(reported);
    constexpr int kProbes = 3000;
    std::vector<HBRUSH> probes;
    long highest = 0;
    for (int i = 0; i < kProbes; ++i) {
        HBRUSH brush = CreateSolidBrush(RGB(i & 0xFF, 0, 0));
        if (!brush) break;
        probes.push_back(brush);
        highest = std::max(highest, long(reinterpret_cast<uintptr_t>(brush) & 0xFFFF));
    }
    for (HBRUSH brush : probes) DeleteObject(brush);
    return highest - long(probes.size());
}

long KernelHandlesInUse() {
    DWORD reported = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &reported) && reported) return long(reported);
    constexpr int kProbes = 1000;
    std::vector<HANDLE> probes;
    long highest = 0;
    for (int i = 0; i < kProbes; ++i) {
        HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        if (!event) break;
        probes.push_back(event);
        highest = std::max(highest, long(reinterpret_cast<uintptr_t>(event) / 4));
    }
    for (HANDLE event : probes) CloseHandle(event);
    return highest - long(probes.size());
}
