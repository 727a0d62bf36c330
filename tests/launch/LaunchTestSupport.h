// Files, folders, shortcuts and processes for the launch tests.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// A fresh folder under the temporary directory, removed with its content.
class TempFolder {
  public:
    explicit TempFolder(const std::string& tag);
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

  private:
    std::string path_;
};

std::string LaunchTestDirectory();  // folder of the running test program
std::string TestDataDirectory();    // its launch_data folder
std::string SystemNotepad();        // the system's notepad.exe

std::vector<uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
bool FileExists(const std::string& path);
bool MakeFolder(const std::string& path);
void RemoveTree(const std::string& path);
int CountEntries(const std::string& folder);  // files and folders, "." and ".." not counted

// Names the code page cannot hold and paths of MAX_PATH and more: the wide
// calls, with "\\?\" in front of a drive path (PrefixedPath).
std::wstring WideOf(const std::string& ansi);
std::wstring PrefixedPath(const std::wstring& path);
// Whether an ANSI path and a wide path open the same file or folder.
bool SameFile(const std::string& ansiPath, const std::wstring& real);
bool MakeFolderW(const std::wstring& path);
// A shortcut to `target`, saved by IShellLinkW at `lnkPath`.
bool MakeShortcutW(const std::wstring& lnkPath, const std::wstring& target);

struct ShortcutSpec {
    std::string target;
    std::string arguments;
    std::string workingDirectory;
    std::string iconPath;
    int iconIndex = 0;
    int showCommand = SW_SHOWNORMAL;
    WORD hotKey = 0;
    std::string description;
};
// Saves a shortcut with IShellLinkA / IPersistFile.
bool MakeShortcut(const std::string& lnkPath, const ShortcutSpec& recipe);
inline bool MakeShortcut(const std::string& lnkPath, const std::string& target) {
    ShortcutSpec recipe;
    recipe.target = target;
    return MakeShortcut(lnkPath, recipe);
}

// The first icon group of a module read directly from its resources:
// the images' bytes in group order.
std::vector<std::vector<uint8_t>> FirstGroupImages(const std::string& module);

// Waits (bounded, messages handled) until `path` holds at least `records`
// marker records; returns its lines.
std::vector<std::string> WaitForMarkerRecords(const std::string& path, size_t records);

// Threads of this process right now.
int ProcessThreadCount();
// Waits (bounded) until the thread count is at most `count`; returns the last count.
int WaitForThreadCount(int count);
