// QuickDock.exe as the tests and benchmarks run it: started from a folder,
// its windows found from outside, ended at the end.
#pragma once
#include <windows.h>

#include <string>

#include "tests/support/TaskbarStandInClient.h"

class DockProgram {
  public:
    DockProgram() = default;
    DockProgram(const DockProgram&) = delete;
    DockProgram& operator=(const DockProgram&) = delete;
    ~DockProgram() { Stop(); }

    // Starts <folder>\QuickDock.exe with that folder as its current folder.
    bool Start(const std::string& folder = TestProgramDirectory());
    // The same for a folder whose name the code page may not hold.
    bool Start(const std::wstring& folder);
    // Ends the program if it still runs and waits for its end.
    void Stop();
    bool Running() const;
    HANDLE Process() const { return process_.hProcess; }
    DWORD Id() const { return process_.dwProcessId; }

    // The program's window among the taskbar's children: the dock button.
    HWND DockIn(HWND taskbar) const;
    // The program's top-level window of the panel's size.
    HWND Panel() const;
    // The panel while it is being built (as stored, not yet laid out): the
    // program is reading its folder.
    HWND PanelBeingBuilt() const;

  private:
    PROCESS_INFORMATION process_ = {};
};
