// What the desktop tests need to use QuickDock as a user does: real mouse and
// keyboard input, pictures of the screen, and the program in a run folder.
#pragma once
#include <windows.h>

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

