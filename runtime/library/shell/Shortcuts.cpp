#include "runtime/library/shell/ShellCommands.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "runtime/process/Runtime.h"
#include "runtime/process/RuntimeState.h"
#include "runtime/values/Values.h"
#include "runtime/win32/ScopedOwners.h"

namespace {

bool ContainsLnk(const std::string& path) {
    std::string lower = path;
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower.find(".lnk") != std::string::npos;
}

std::wstring WideFromAnsi(const std::string& text) {
    int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], n);
    wide.resize(static_cast<size_t>(n - 1));
    return wide;
}

// Reads every field of the shortcut at `path` through a shell-link object.
ShortcutInfo ReadShortcutWith(IShellLinkA* link, IPersistFile* file, const std::string& path) {
    ShortcutInfo info;
    if (FAILED(file->Load(WideFromAnsi(path).c_str(), STGM_READ))) return info;
    info.loaded = true;

    std::vector<char> buffer(1024, '\0');
    if (SUCCEEDED(link->GetPath(buffer.data(), static_cast<int>(buffer.size()), nullptr, 0)))
        info.target = buffer.data();
    buffer.assign(1024, '\0');
    if (SUCCEEDED(link->GetArguments(buffer.data(), static_cast<int>(buffer.size()))))
        info.arguments = buffer.data();
    buffer.assign(1024, '\0');
    if (SUCCEEDED(link->GetWorkingDirectory(buffer.data(), static_cast<int>(buffer.size()))))
        info.workingDirectory = buffer.data();
    buffer.assign(1024, '\0');
    int iconIndex = 0;
    if (SUCCEEDED(
            link->GetIconLocation(buffer.data(), static_cast<int>(buffer.size()), &iconIndex))) {
        char location[1100];
        std::snprintf(location, sizeof(location), "%s,%d", buffer.data(), iconIndex);
        info.iconLocation = location;
    }
    int show = 0;
    if (SUCCEEDED(link->GetShowCmd(&show))) info.showCommand = ReportedShowCommand(show);
    WORD hotKey = 0;
    if (SUCCEEDED(link->GetHotkey(&hotKey))) info.hotKey = hotKey;
    buffer.assign(1024, '\0');
    if (SUCCEEDED(link->GetDescription(buffer.data(), static_cast<int>(buffer.size()))))
        info.description = buffer.data();
    return info;
}

// A shell-link object with its file interface: reads shortcuts.
struct ShortcutReader {
    ScopedComPtr<IShellLinkA> link;
    ScopedComPtr<IPersistFile> file;

    bool Make() {
        return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                          IID_IShellLinkA, link.PutVoid())) &&
               SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.PutVoid()));
    }
    ShortcutInfo Read(const std::string& path) const {
        return ReadShortcutWith(link.Get(), file.Get(), path);
    }
};

// The object the GUI thread reads shortcuts with. Making one costs more than
// reading a shortcut, and the folder scan reads one per item, so the thread
// whose apartment the runtime opened keeps one until the program's end
// (released before that apartment closes).
ShortcutReader* gKeptShellLink = nullptr;

void ReleaseKeptShellLink() {
    delete gKeptShellLink;
    gKeptShellLink = nullptr;
}

// Null on other threads, and before the runtime's start or after its end:
// those make an object of their own per shortcut.
const ShortcutReader* GuiThreadShellLink() {
    if (GetCurrentThreadId() != RuntimeGuiThreadId() || !RuntimeOleInitialized() ||
        RuntimeCleanupStarted())
        return nullptr;
    if (!gKeptShellLink) {
        auto kept = std::make_unique<ShortcutReader>();
        if (!kept->Make()) return nullptr;
        gKeptShellLink = kept.release();
        RegisterRuntimeCleanup(ReleaseKeptShellLink);
    }
    return gKeptShellLink;
}

}  // namespace

ShortcutInfo LoadShortcut(const char* path) {
    std::string file = TextOrEmpty(path);
    if (!ContainsLnk(file)) file += ".lnk";
    if (const ShortcutReader* kept = GuiThreadShellLink()) return kept->Read(file);
    ScopedComApartment com;
    ShortcutReader own;
    return own.Make() ? own.Read(file) : ShortcutInfo();
}

int32_t ReportedShowCommand(int32_t showCommand) {
    return showCommand == SW_SHOWMINNOACTIVE ? SW_SHOWMINIMIZED : showCommand;
}

std::string HotKeyText(uint16_t hotKey) {
    uint8_t modifiers = static_cast<uint8_t>(hotKey >> 8);
    std::string text;
    if (modifiers & HOTKEYF_CONTROL) text += "Ctrl + ";
    if (modifiers & HOTKEYF_SHIFT) text += "Shift + ";
    if (modifiers & HOTKEYF_ALT) text += "Alt + ";
    if (modifiers & HOTKEYF_EXT) text += "Ext + ";
    char key = static_cast<char>(hotKey & 0xFF);
    if (key) text += key;
    return text;
}

void OpenWithShell(int32_t verb, const char* file, const char* parameters, const char* directory,
                   int32_t showMode) {
    static const char* const kVerbs[] = {"edit", "explore", "find", "open", "print"};
    static const int kShowModes[] = {SW_HIDE,          SW_SHOWNORMAL, SW_SHOWMINIMIZED,
                                     SW_SHOWMAXIMIZED, SW_SHOWNA,     SW_MINIMIZE};
    const char* verbText = (verb >= 1 && verb <= 5) ? kVerbs[verb - 1] : nullptr;
    int show = (showMode >= 1 && showMode <= 6) ? kShowModes[showMode - 1] : SW_SHOWNORMAL;
    ShellExecuteA(nullptr, verbText, TextOrEmpty(file), parameters, TextOrEmpty(directory), show);
}
