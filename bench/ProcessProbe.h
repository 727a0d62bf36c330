// What the benchmark reads about another process from outside: clocks, CPU
// time, memory, and its GDI objects and windows.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

// Starts `exe` with `arguments` after its quoted name, in `directory`; the
// caller closes both handles.
bool StartProgram(const std::string& exe, const std::string& arguments,
                  const std::string& directory, PROCESS_INFORMATION* started);

// Milliseconds on a clock shared by every process of the machine.
double NowMs();
// A process's creation time on the same clock as NowMs.
double CreationMs(HANDLE process);
// System time in 100 ns units, converted to the NowMs clock.
double FileTimeToMs(uint64_t fileTime);
// User plus kernel CPU time of the process, in milliseconds.
double CpuMs(HANDLE process);

struct MemoryFigures {
    double peakWorkingSetMb = 0;
    double workingSetMb = 0;
    double privateMb = 0;
};
MemoryFigures MemoryOf(HANDLE process);
// Under Wine, which reports no private bytes for another process: the
// process's anonymous resident memory (RssAnon) in MB, read from the host's
// process table by the program's path on its command line; -1 when not found.
double HostPrivateMb(const std::string& programPath);
// Under Wine, which reports no CPU times for another process: the CPU time of
// all its threads in milliseconds from the host's scheduler; -1 when not found.
double HostCpuMs(const std::string& programPath);

// GDI objects of the process (stock objects not counted); -1 when neither the
// system nor the process's handle table tells.
int GdiObjectsOf(HANDLE process);
// Whether that count follows objects made and deleted in this process.
bool GdiCountFollowsObjects();
// Kernel handles of the process. Wine reports no count (zero, or its table's
// size), so there: the handles that can be duplicated out of it.
int HandlesOf(HANDLE process);
// Whether that count follows handles opened and closed in this process.
bool HandleCountFollowsObjects();
// Windows of the process (top-level, their descendants, message-only ones):
// the USER objects that can be counted from outside.
int WindowsOf(DWORD processId);
