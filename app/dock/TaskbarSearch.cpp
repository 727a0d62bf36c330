// The search for the taskbar's TrayButton. It pumps messages between sibling
// steps because the shell's windows may belong to a busy process and the
// search can take a while on a crowded taskbar.
#include "app/dock/TaskbarSearch.h"

#include "app/common/DeclaredFunctions.h"
#include "app/common/PumpPendingMessages.h"

namespace {

constexpr int32_t kClassBufferLength = 50;

HWND FindWindowEx(HWND parent, HWND after, const char* className) {
    return Declared::FindWindowExA(parent, after, className, nullptr);
}

// A handle counts as found only when it is positive as a signed 32-bit value.
bool IsFound(HWND window) {
    return static_cast<int32_t>(reinterpret_cast<intptr_t>(window)) > 0;
}

}  // namespace

HWND FindTaskbarWindow() {
    return FindWindowEx(nullptr, nullptr, "Shell_TrayWnd");
}

HWND FindTrayNotifyWindow() {
    return FindWindowEx(FindTaskbarWindow(), nullptr, "TrayNotifyWnd");
}

HWND FindDescendantByClass(HWND parent, const char* className) {
    HWND child = FindWindowEx(parent, nullptr, nullptr);
    while (IsFound(child)) {
        OwnedText childClass(GetWindowClassText(child));
        if (TextCompare(childClass.Get(), className) == 0) return child;
        if (HWND found = FindDescendantByClass(child, className)) return found;
        child = FindWindowEx(parent, child, nullptr);
        PumpPendingMessages();
    }
    return nullptr;
}

Text GetWindowClassText(HWND window) {
    char buffer[kClassBufferLength + 1];
    for (int32_t i = 0; i < kClassBufferLength; ++i) buffer[i] = ' ';
    buffer[kClassBufferLength] = '\0';
    Declared::GetClassNameA(window, buffer, kClassBufferLength);
    return CopyText(buffer);
}

WindowBox GetWindowBox(HWND window) {
    RECT rect = {0, 0, 0, 0};
    if (!Declared::GetWindowRect(window, &rect)) rect = RECT{0, 0, 0, 0};
    WindowBox box;
    box.left = rect.left;
    box.top = rect.top;
    box.width = rect.right - rect.left;
    box.height = rect.bottom - rect.top;
    return box;
}
