// The runtime's process-wide state: one instance, set up by initialisation
// and read by every runtime module.
#include "runtime/process/RuntimeState.h"
#include <atomic>
#include <cstring>

namespace {

char gRunDirectory[MAX_PATH + 1] = "";
char gExecutableName[MAX_PATH + 1] = "";
DWORD gGuiThreadId = 0;
HWND gHiddenOwnerWindow = nullptr;
bool gOleInitialized = false;
bool gLoopEntered = false;
// Raised and lowered from the GUI thread and read from workers (a report on
// a worker thread raises it too), so it is atomic.
std::atomic<int32_t> gEventSuspension{0};

void CopyBounded(char* target, const char* source) {
    size_t n = source ? std::strlen(source) : 0;
    if (n > MAX_PATH) n = MAX_PATH;
    if (n) std::memcpy(target, source, n);
    target[n] = 0;
}

}  // namespace

const char* RuntimeRunDirectory() {
    return gRunDirectory;
}
const char* RuntimeExecutableName() {
    return gExecutableName;
}
DWORD RuntimeGuiThreadId() {
    return gGuiThreadId;
}
HWND RuntimeHiddenOwnerWindow() {
    return gHiddenOwnerWindow;
}

void SetRuntimeRunDirectory(const char* directory) {
    CopyBounded(gRunDirectory, directory);
}
void SetRuntimeExecutableName(const char* name) {
    CopyBounded(gExecutableName, name);
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
