#include "runtime/library/shell/ShellCommands.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "runtime/library/shell/NativeSystemTarget.h"
#include "runtime/process/Runtime.h"
#include "runtime/process/RuntimeState.h"
#include "runtime/values/Values.h"
#include "runtime/win32/FileNames.h"
#include "runtime/win32/ScopedOwners.h"

namespace {

bool ContainsLnk(const std::string& path) {
    std::string lower = path;
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower.find(".lnk") != std::string::npos;
}

// The target's wide path from the shortcut's item list: a shortcut may keep
// its path text in the ANSI code page only ("?" for what that lacks), while
// the item list names every part in full.
std::wstring TargetFromItemList(IShellLinkW* link) {
    PIDLIST_ABSOLUTE items = nullptr;
    if (FAILED(link->GetIDList(&items)) || !items) return std::wstring();
    std::vector<wchar_t> path(32768, L'\0');
    const bool found = SHGetPathFromIDListEx(items, path.data(), static_cast<DWORD>(path.size()),
                                             GPFIDL_DEFAULT) ||
                       SHGetPathFromIDListW(items, path.data());
    CoTaskMemFree(items);
    return found ? std::wstring(path.data()) : std::wstring();
}

// Whether the stored path text cannot name the target whatever is on disk:
// missing, cut at the length the text was read into, or holding "?" for a
// character the code page of the program that saved it lacked ("?" is in no
// file name). Only then is the item list asked: looking the target up would
// cost a wait of its own for a target on a slow or absent share.
bool StoredPathUnusable(const std::wstring& path, size_t readInto) {
    return path.empty() || path.size() + 1 >= readInto || path.size() + 1 >= MAX_PATH ||
           path.find(L'?') != std::wstring::npos;
}

// The target in a spelling that opens it from the ANSI calls: a target whose
// name code page 936 cannot hold, or that is MAX_PATH bytes or longer, is
// given by its short form where the volume has one; on 64-bit Windows the
// 32-bit build gets the file the 64-bit shell would open.
void ReadTarget(IShellLinkA* link, std::string* target) {
    ScopedComPtr<IShellLinkW> wideLink;
    if (SUCCEEDED(link->QueryInterface(IID_IShellLinkW, wideLink.PutVoid()))) {
        std::vector<wchar_t> wide(1024, L'\0');
        std::wstring path;
        if (SUCCEEDED(wideLink->GetPath(wide.data(), static_cast<int>(wide.size()), nullptr, 0)))
            path = wide.data();
        // The stored text cannot name the target: the item list may still.
        if (StoredPathUnusable(path, wide.size())) {
            const std::wstring listed = TargetFromItemList(wideLink.Get());
            if (!listed.empty()) path = listed;
        }
        path = TargetOnNativeSystem(wideLink.Get(), path);
        if (!path.empty()) *target = AnsiPathFromWide(path);
        return;
    }
    std::vector<char> buffer(1024, '\0');
    if (SUCCEEDED(link->GetPath(buffer.data(), static_cast<int>(buffer.size()), nullptr, 0)))
        *target = buffer.data();
}

// Reads every field of the shortcut at `path` through a shell-link object.
ShortcutInfo ReadShortcutWith(IShellLinkA* link, IPersistFile* file, const std::string& path) {
    ShortcutInfo info;
    // The wide form reaches a shortcut deep in the tree too.
    if (FAILED(file->Load(WidePath(path.c_str()).c_str(), STGM_READ))) return info;
    info.loaded = true;

    ReadTarget(link, &info.target);
    std::vector<char> buffer(1024, '\0');
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
                   int32_t showMode, bool reportFailures, HWND owner) {
    static const char* const kVerbs[] = {"edit", "explore", "find", "open", "print"};
    static const int kShowModes[] = {SW_HIDE,          SW_SHOWNORMAL, SW_SHOWMINIMIZED,
                                     SW_SHOWMAXIMIZED, SW_SHOWNA,     SW_MINIMIZE};
    const char* verbText = (verb >= 1 && verb <= 5) ? kVerbs[verb - 1] : nullptr;
    int show = (showMode >= 1 && showMode <= 6) ? kShowModes[showMode - 1] : SW_SHOWNORMAL;
    // The shell takes no path of MAX_PATH bytes or more; the short form opens it.
    const std::string path = ShortFormForAnsiCalls(TextOrEmpty(file));
    if (!reportFailures) {
        ShellExecuteA(nullptr, verbText, path.c_str(), parameters, TextOrEmpty(directory), show);
        return;
    }
    // With an owner the shell tells the user itself when opening fails (a
    // missing file, no program for a document), as it does for Explorer.
    // NOASYNC: the calling thread may end as soon as this returns.
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOASYNC;
    info.hwnd = owner;
    info.lpVerb = verbText;
    info.lpFile = path.c_str();
    info.lpParameters = parameters;
    info.lpDirectory = TextOrEmpty(directory);
    info.nShow = show;
    ShellExecuteExA(&info);
}
