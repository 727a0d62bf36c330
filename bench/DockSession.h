// QuickDock.exe started from a run folder against the taskbar stand-in, and
// driven from outside with posted clicks.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

#include "tests/support/DockProgram.h"
#include "tests/support/TaskbarStandInClient.h"
#include "ui/description/WindowGeometry.h"

// How the dock button answered while the program started: messages sent to
// it from outside every 5 ms, from its embedding in the taskbar until the
// panel was ready (the panel's creation, the folder scan, the layout).
struct StartWatch {
    double longestAnswerMs = 0;
    int answers = 0;
};

// Moments of a start seen from outside, in milliseconds from the process's
// creation; -1 when not seen.
struct StartMilestones {
    double dockEmbeddedMs = -1;  // the dock button among the taskbar's children
    double panelCreatedMs = -1;  // the panel window there, as stored (before its scan)
};

class DockSession {
  public:
    DockSession() = default;
    DockSession(const DockSession&) = delete;
    DockSession& operator=(const DockSession&) = delete;
    ~DockSession() { Stop(); }

    // Starts the program and waits until its panel is created and shown
    // (category 0 filled); false when that does not happen within two minutes.
    // With a watch, the dock button is asked to answer meanwhile. A cold
    // start empties the page cache once the taskbar runs, right before the
    // program starts (as at logon, where the shell runs already). With
    // milestones, the polling also looks for the dock button and the panel
    // being built, which costs the start some time: use starts of their own.
    bool Start(const std::string& runFolder, StartWatch* watch = nullptr, bool cold = false,
               StartMilestones* milestones = nullptr);
    void Stop();

    // From the process's creation to the panel shown, in milliseconds.
    double StartUpMs() const { return readyMs_ - createdMs_; }
    HANDLE Process() const { return program_.Process(); }
    DWORD ProcessId() const { return program_.Id(); }
    // The taskbar stand-in: a program with one window, for comparison.
    HANDLE TaskbarProcess() const { return taskbarProcess_; }
    HWND Panel() const { return panel_; }

    int ScreenWidth() const { return GetSystemMetrics(SM_CXSCREEN); }
    int PanelLeft() const;
    bool Shown() const { return PanelLeft() == ScreenWidth() - kPanelWidth; }
    bool Hidden() const { return PanelLeft() == ScreenWidth(); }

    void ClickDock();
    void ClickFirstItem();
    // Clicks a category button and returns once the program has handled it.
    void SelectCategory(int index);
    // How the dock button answered while `work` ran (asked every 5 ms).
    StartWatch AnswersDuring(const std::function<void()>& work);

  private:
    // Sends the dock button a message every 5 ms until `started`; an answer
    // that comes later counts up to `endMs`.
    void AskDock(HWND taskbar, const std::atomic<bool>& started, const double& endMs,
                 StartWatch* watch) const;

    TaskbarStandIn standIn_;
    DockProgram program_;
    HANDLE taskbarProcess_ = nullptr;
    HWND panel_ = nullptr, dock_ = nullptr, iconList_ = nullptr, toolbar_ = nullptr;
    double createdMs_ = 0, readyMs_ = 0;
};

// Category buttons wholly inside the toolbar without scrolling.
constexpr int kVisibleCategoryButtons = 5;

// Waits with a 1 ms poll until `done` holds or the time runs out.
template <typename Condition>
bool WaitFor(Condition done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(1);
    }
    return true;
}
