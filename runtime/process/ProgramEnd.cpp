// The program's end: exit routines of the program, then the runtime's own
// clean-up steps, then the process ends. Only the GUI thread cleans up; other
// threads hand the request to it through the hidden owner window.
#include <windows.h>
#include <ole2.h>
#include <atomic>
#include <vector>
#include "runtime/process/Runtime.h"
#include "runtime/process/RuntimeState.h"

namespace {

// The hidden owner window's message that asks the GUI thread to end the
// process (wParam = exit code).
constexpr UINT kMsgExitRequest = 0x83E7;

std::vector<void (*)()> gExitRoutines;
std::vector<void (*)()> gCleanupSteps;
std::atomic<bool> gCleanupStarted{false};
// Requests of this process's own threads that the hidden owner has not taken
// yet: a window message can come from any process, the count cannot.
std::atomic<int> gPendingExitRequests{0};
ProcessExitFn gProcessExit = nullptr;

[[noreturn]] void EndProcess(int32_t code) {
    if (gProcessExit) gProcessExit(code);
    ExitProcess(static_cast<UINT>(code));
}

bool OnGuiThread() {
    DWORD gui = RuntimeGuiThreadId();
    // Before initialisation there is only the thread that runs the program.
    return gui == 0 || gui == GetCurrentThreadId();
}

void AddOnce(std::vector<void (*)()>* list, void (*routine)()) {
    if (!routine) return;
    for (auto r : *list) {
        if (r == routine) return;
    }
    list->push_back(routine);
}

}  // namespace

void RegisterExitRoutine(void (*routine)()) {
    AddOnce(&gExitRoutines, routine);
}

void ClearExitRoutines() {
    gExitRoutines.clear();
}

void RegisterRuntimeCleanup(void (*step)()) {
    AddOnce(&gCleanupSteps, step);
}

bool RuntimeCleanupStarted() {
    return gCleanupStarted.load();
}

bool TakeExitRequest() {
    int pending = gPendingExitRequests.load();
    while (pending > 0) {
        if (gPendingExitRequests.compare_exchange_weak(pending, pending - 1)) return true;
    }
    return false;
}

void SetProcessExitRoutine(ProcessExitFn exitRoutine) {
    gProcessExit = exitRoutine;
}

void ExitProgram(int32_t code) {
    SuspendEvents();
    if (!OnGuiThread()) {
        HWND owner = RuntimeHiddenOwnerWindow();
        if (owner && IsWindow(owner)) {
            ++gPendingExitRequests;
            SendMessageA(owner, kMsgExitRequest, static_cast<WPARAM>(code), 0);
        }
        if (!gCleanupStarted.load()) EndProcess(code);
        // The GUI thread is already ending the process; this thread must not
        // go on with the work that asked for the end.
        ExitThread(static_cast<DWORD>(code));
    }
    // An end requested while the clean-up runs (an exit routine pumping
    // messages, a fault in a clean-up step) must not run the routines twice.
    if (gCleanupStarted.exchange(true)) EndProcess(code);
    // Index loops: a routine may register another one while the list runs.
    for (size_t i = 0; i < gExitRoutines.size(); ++i) gExitRoutines[i]();
    for (size_t i = 0; i < gCleanupSteps.size(); ++i) gCleanupSteps[i]();
    if (RuntimeOleInitialized()) {
        SetRuntimeOleInitialized(false);
        OleUninitialize();
    }
    EndProcess(code);
}
