// A stand-in for the shell's taskbar, for tests that need one: a top-level
// window of class Shell_TrayWnd with a tree of child windows of given classes
// (by default TrayNotifyWnd > TrayButton). Started before the program under
// test, it is the Shell_TrayWnd that FindWindowExA finds first.
//
//   test_support_taskbar.exe [--rect LEFT,TOP,WIDTH,HEIGHT] [--tree TREE]
//                            [--out FILE] [--timeout MS] [--notes FILE]
//                            [--announce 1]
//
// --rect   the taskbar in screen coordinates (default: 40 px along the bottom
//          of the primary screen, across its whole width).
// --tree   the children, as nodes separated by ",", each
//          Class[:left[:width]][(children)]; left and width are in the
//          parent's client coordinates (default: laid out from the left, 48
//          wide) and every child is as high as its parent. Default:
//          "TrayNotifyWnd:900:300(TrayButton:10:40)". An empty TREE gives a
//          taskbar without children.
// --out    once every window exists, writes one line per window in creation
//          order (pre-order): "class handle left top right bottom depth",
//          handle in hex, the box in screen coordinates. The file appears
//          complete (written under another name, then renamed).
// --timeout  ends by itself after this many milliseconds (default 120000),
//          so that a failed test never leaves it behind.
// --notes  as each window is destroyed, appends "class shown" to FILE, shown
//          being 1 when the window's own WS_VISIBLE style was still set: so a
//          test can tell whether anything was shown again before the end.
// --announce  once every window exists, tells every top-level window
//          "TaskbarCreated", as the shell does after it restarted.
// It also ends when its Shell_TrayWnd receives WM_CLOSE. Sent to its
// Shell_TrayWnd, kStandInMoveWindow (wParam: a window's index in creation
// order; lParam: MAKELPARAM(left, width) in its parent's client coordinates)
// moves that window and reports the change of place as the system does on
// Windows (Wine 8 reports none by itself).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "tests/support/TaskbarStandInClient.h"

namespace {

struct Node {
    std::string className;
    int left = -1;
    int width = -1;
    std::vector<Node> children;
};

struct Created {
    std::string className;
    HWND window;
    int depth;
};

std::vector<Created> gCreated;
std::set<std::string> gRegistered;
std::string gNotes;

void NoteDestruction(HWND window) {
    if (gNotes.empty()) return;
    char className[256] = {};
    GetClassNameA(window, className, sizeof(className));
    const bool shown = (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0;
    if (FILE* f = std::fopen(gNotes.c_str(), "a")) {
        std::fprintf(f, "%s %d\n", className, shown ? 1 : 0);
        std::fclose(f);
    }
}

// A change of place, as Windows reports it to location-change hooks.
void MoveCreated(size_t index, int left, int width) {
    if (index >= gCreated.size()) return;
    HWND window = gCreated[index].window;
    RECT box;
    GetWindowRect(window, &box);
    if (HWND parent = GetParent(window))
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&box), 2);
    SetWindowPos(window, nullptr, left, box.top, width, box.bottom - box.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    NotifyWinEvent(EVENT_OBJECT_LOCATIONCHANGE, window, OBJID_WINDOW, CHILDID_SELF);
}

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kStandInMoveWindow) {
        MoveCreated(wParam, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 1;
    }
    if (message == WM_DESTROY) NoteDestruction(window);
    if (message == WM_DESTROY && GetParent(window) == nullptr &&
        (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) == 0) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterClassOnce(const std::string& name) {
    if (!gRegistered.insert(name).second) return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = StandInProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNSHADOW + 1);
    wc.lpszClassName = name.c_str();
    RegisterClassA(&wc);
}

// Parses "Class[:left[:width]][(children)]" nodes separated by ",".
std::vector<Node> ParseList(const char*& p);

Node ParseNode(const char*& p) {
    Node node;
    while (*p && *p != ':' && *p != '(' && *p != ')' && *p != ',') node.className += *p++;
    if (*p == ':') {
        node.left = static_cast<int>(std::strtol(p + 1, const_cast<char**>(&p), 10));
        if (*p == ':')
            node.width = static_cast<int>(std::strtol(p + 1, const_cast<char**>(&p), 10));
    }
    if (*p == '(') {
        ++p;
        node.children = ParseList(p);
        if (*p == ')') ++p;
    }
    return node;
}

std::vector<Node> ParseList(const char*& p) {
    std::vector<Node> nodes;
    while (*p && *p != ')') {
        nodes.push_back(ParseNode(p));
        if (*p == ',') ++p;
    }
    return nodes;
}

void CreateChildren(HWND parent, const std::vector<Node>& nodes, int depth) {
    RECT client;
    GetClientRect(parent, &client);
    int nextLeft = 0;
    for (const Node& node : nodes) {
        if (node.className.empty()) continue;
        RegisterClassOnce(node.className);
        const int left = node.left >= 0 ? node.left : nextLeft;
        const int width = node.width >= 0 ? node.width : 48;
        HWND child = CreateWindowExA(0, node.className.c_str(), node.className.c_str(),
                                     WS_CHILD | WS_VISIBLE, left, 0, width, client.bottom, parent,
                                     nullptr, GetModuleHandleA(nullptr), nullptr);
        nextLeft = left + width + 2;
        if (!child) continue;
        gCreated.push_back({node.className, child, depth});
        CreateChildren(child, node.children, depth + 1);
    }
}

bool WriteReport(const std::string& path) {
    const std::string temporary = path + ".part";
    FILE* f = std::fopen(temporary.c_str(), "w");
    if (!f) return false;
    for (const Created& c : gCreated) {
        RECT r;
        GetWindowRect(c.window, &r);
        std::fprintf(f, "%s %llx %ld %ld %ld %ld %d\n", c.className.c_str(),
                     static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(c.window)), r.left,
                     r.top, r.right, r.bottom, c.depth);
    }
    std::fclose(f);
    DeleteFileA(path.c_str());
    return MoveFileA(temporary.c_str(), path.c_str()) != 0;
}

}  // namespace

int main(int argc, char** argv) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    int rect[4] = {0, screenHeight - 40, screenWidth, 40};
    std::string tree = "TrayNotifyWnd:900:300(TrayButton:10:40)";
    std::string out;
    bool announce = false;
    UINT timeout = 120000;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const char* value = argv[i + 1];
        if (option == "--rect") {
            std::sscanf(value, "%d,%d,%d,%d", &rect[0], &rect[1], &rect[2], &rect[3]);
        } else if (option == "--tree") {
            tree = value;
        } else if (option == "--out") {
            out = value;
        } else if (option == "--notes") {
            gNotes = value;
        } else if (option == "--announce") {
            announce = std::strcmp(value, "0") != 0;
        } else if (option == "--timeout") {
            timeout = static_cast<UINT>(std::strtoul(value, nullptr, 10));
        }
    }

    RegisterClassOnce("Shell_TrayWnd");
    HWND taskbar = CreateWindowExA(WS_EX_TOOLWINDOW, "Shell_TrayWnd", "", WS_POPUP | WS_VISIBLE,
                                   rect[0], rect[1], rect[2], rect[3], nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    if (!taskbar) return 1;
    gCreated.push_back({"Shell_TrayWnd", taskbar, 0});
    const char* p = tree.c_str();
    CreateChildren(taskbar, ParseList(p), 1);
    SetTimer(nullptr, 0, timeout, nullptr);
    if (!out.empty() && !WriteReport(out)) return 2;
    if (announce) {
        SendNotifyMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    }

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr) break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
