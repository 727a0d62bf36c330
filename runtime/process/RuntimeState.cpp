// The runtime's process-wide state: one instance, set up by initialisation
// and read by every runtime module.
#include "runtime/process/RuntimeState.h"
#include <atomic>
#include <string>

namespace {

// A folder deep in the tree has a path of MAX_PATH bytes or more.
std::string gRunDirectory;
std::string gExecutableName;
DWORD gGuiThreadId = 0;
HWND gHiddenOwnerWindow = nullptr;
bool gOleInitialized = false;
bool gLoopEntered = false;
// Raised and lowered from the GUI thread and read from workers (a report on
// a worker thread raises it too), so it is atomic.
std::atomic<int32_t> gEventSuspension{0};

}  // namespace

const char* RuntimeRunDirectory() {
    return gRunDirectory.c_str();
}
const char* RuntimeExecutableName() {
    return gExecutableName.c_str();
}
DWORD RuntimeGuiThreadId() {
    return gGuiThreadId;
}
HWND RuntimeHiddenOwnerWindow() {
    return gHiddenOwnerWindow;
}

void SetRuntimeRunDirectory(const char* directory) {
    gRunDirectory = directory ? directory : "";
}
void SetRuntimeExecutableName(const char* name) {
    gExecutableName = name ? name : "";
}
void SetRuntimeGuiThreadId(DWORD threadId) {
    gGuiThreadId = threadId;
}
void SetRuntimeHiddenOwnerWindow(HWND window) {
    gHiddenOwnerWindow = window;
}

void SetRuntimeOleInitialized(bool initialized) {
    gOleInitialized = initialized;
}
bool RuntimeOleInitialized() {
    return gOleInitialized;
}

void SetRuntimeLoopEntered(bool entered) {
    gLoopEntered = entered;
}
bool RuntimeLoopEntered() {
    return gLoopEntered;
}

void SuspendEvents() {
    ++gEventSuspension;
}
void ResumeEvents() {
    --gEventSuspension;
}
bool EventsSuspended() {
    return gEventSuspension.load() >= 1;
}
int32_t EventSuspensionCount() {
    return gEventSuspension.load();
}
