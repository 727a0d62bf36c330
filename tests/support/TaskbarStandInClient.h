// Starting test_support_taskbar.exe from a test and reading what it created.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct StandInWindow {
    std::string className;
    HWND window = nullptr;
    RECT box = {};  // screen coordinates, as reported when it started
    int depth = 0;
};

// Moves one of the stand-in's windows (see TaskbarStandIn.cpp).
constexpr UINT kStandInMoveWindow = WM_APP + 0x71;

class TaskbarStandIn {
  public:
    TaskbarStandIn() = default;
    TaskbarStandIn(const TaskbarStandIn&) = delete;
    TaskbarStandIn& operator=(const TaskbarStandIn&) = delete;
    ~TaskbarStandIn() { Stop(); }

    // Starts the stand-in with these options (see TaskbarStandIn.cpp) and
    // waits until its windows exist. False when it did not come up.
    bool Start(const std::string& options = "");
    // Closes the taskbar window and waits for the process to end.
    void Stop();

    // Moves the first window of that class to `left` with `width` (its
    // parent's client coordinates); the change is reported as Windows does.
    bool Move(const std::string& className, int left, int width) const;

    HWND Taskbar() const;
    // The n-th window (0-based, creation order) of that class, or null.
    HWND Find(const std::string& className, int n = 0) const;
    const StandInWindow* Entry(HWND window) const;
    const std::vector<StandInWindow>& Windows() const { return windows_; }

  private:
    PROCESS_INFORMATION process_ = {};
    std::vector<StandInWindow> windows_;
};

// The folder of the running test program (where the build puts every program).
std::string TestProgramDirectory();
