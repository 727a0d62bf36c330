// Shortcuts and the shell for the shell library's commands.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

// What a shortcut holds. Empty fields when the shortcut cannot be loaded.
struct ShortcutInfo {
    bool loaded = false;
    std::string target;
    std::string arguments;
    std::string workingDirectory;
    std::string iconLocation;  // "path,index"
    int32_t showCommand = 0;   // SW_SHOWMINNOACTIVE reported as SW_SHOWMINIMIZED
    uint16_t hotKey = 0;       // low byte key, high byte modifier bits
    std::string description;
};

// Loads a shortcut; ".lnk" is appended when the path does not contain it
// (compared case-insensitively).
ShortcutInfo LoadShortcut(const char* path);
// The show command as reported: SW_SHOWMINNOACTIVE (7) reads as SW_SHOWMINIMIZED (2).
int32_t ReportedShowCommand(int32_t showCommand);
// The hot key as text: "Ctrl + ", "Shift + ", "Alt + ", "Ext + " for the
// modifiers present, in that order, then the key's character.
std::string HotKeyText(uint16_t hotKey);

// Opens `file` through the shell: verb 1 edit, 2 explore, 3 find, 4 open,
// 5 print, other the default verb; show mode 1-6 as SW_HIDE, SW_SHOWNORMAL,
// SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED, SW_SHOWNA, SW_MINIMIZE, else SW_SHOWNORMAL.
// `parameters` null means none. Unless asked to report failures
// (ShellExecuteA with no window) a failure passes silently; asked, the shell
// tells the user itself, with its own message owned by `owner`. A path of
// MAX_PATH bytes or more goes to the shell in its short form.
void OpenWithShell(int32_t verb, const char* file, const char* parameters, const char* directory,
                   int32_t showMode, bool reportFailures = false, HWND owner = nullptr);
