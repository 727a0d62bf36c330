// What the desktop tests need to use QuickDock as a user does: real mouse and
// keyboard input, pictures of the screen, and the program in a run folder.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/ProcessWatch.h"

// Synthetic input through the system's input queue.
void MoveMouse(int x, int y);
void ClickAt(int x, int y, bool right = false);
void DoubleClickAt(int x, int y);
void PressKeys(const std::vector<WORD>& keys);  // pressed in order, released in reverse

// A picture of a part of the screen, as the user sees it.
class ScreenPicture {
  public:
    explicit ScreenPicture(const RECT& box);
    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF At(int x, int y) const;  // coordinates relative to the box
    // Pixels of the area that differ from `colour` by more than a small
    // tolerance in any channel.
    int CountDifferent(const RECT& area, COLORREF colour) const;
    // Distinct colours in the area (capped, for "is anything drawn there").
    int CountColours(const RECT& area, int cap = 64) const;
    // Mean absolute difference of two same-sized areas, per channel.
    double Difference(const RECT& a, const RECT& b) const;
    bool SaveBmp(const std::string& path) const;

  private:
    int width_ = 0, height_ = 0;
    std::vector<uint32_t> pixels_;  // 0x00RRGGBB, top-down
};

// Counts the files created in a folder from the moment it is made (the
// program's scratch icon files live only a moment, so they are counted as
// they come).
class FileCreations {
  public:
    explicit FileCreations(const std::string& folder);
    ~FileCreations();
    FileCreations(const FileCreations&) = delete;
    FileCreations& operator=(const FileCreations&) = delete;
    int Count() const { return count_; }

  private:
    static DWORD WINAPI Watch(LPVOID self);
    HANDLE directory_, stop_, ready_, thread_ = nullptr;
    std::atomic<int> count_{0};
};

// Windows reports a watch of a folder with its subtree for the whole tree;
// Wine only for the subfolders created after the watch began, or watched
// (by any process) from a moment when the subtree watch already existed.
// Watching each subfolder of the tree once the program watches it makes the
// test's desktop report changes as Windows does. A folder is let go before
// it is deleted: a deletion waits for every handle on it.
class SubtreeWatchStandIn {
  public:
    SubtreeWatchStandIn() = default;
    SubtreeWatchStandIn(const SubtreeWatchStandIn&) = delete;
    SubtreeWatchStandIn& operator=(const SubtreeWatchStandIn&) = delete;
    ~SubtreeWatchStandIn() { ReleaseAll(); }
    // Watches every subfolder of `root` now (the earlier watches go).
    void HoldSubfolders(const std::string& root);
    void Release(const std::string& folder);

  private:
    void ReleaseAll();
    std::vector<std::pair<std::string, HANDLE>> held_;
};
