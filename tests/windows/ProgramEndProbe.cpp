// A small program run by the program-end test: one window whose handlers end
// the program in the way the first argument names. Its exit routine writes
// the file named by the second argument.
#include <windows.h>
#include <cstdio>
#include <cstring>
#include "runtime/process/Runtime.h"
#include "runtime/process/RuntimeError.h"
#include "runtime/windows/WindowRuntime.h"
#include "tests/windows/SegmentWriter.h"

namespace {

constexpr uint32_t kProbeWindow = 0x52000001;
const char* gMode = "normal";
const char* gMarker = "";

DWORD WINAPI EndFromWorker(void*) {
    ExitProgram(7);
}

HandlerResult OnCreated(const int32_t*, int32_t) {
    HWND self = LiveHandleOf(kProbeWindow, 0);
    if (std::strcmp(gMode, "worker-exit") == 0) {
        CloseHandle(CreateThread(nullptr, 0, EndFromWorker, nullptr, 0, nullptr));
    } else if (std::strcmp(gMode, "before-loop") == 0) {
        DestroyWindow(self);
    } else if (std::strcmp(gMode, "refuse-close") == 0) {
        // Stays open: only the test, from outside, ends the session.
    } else {
        PostMessageA(self, WM_CLOSE, 0, 0);
    }
    return NoResult();
}

HandlerResult OnMayClose(const int32_t*, int32_t) {
    if (std::strcmp(gMode, "error") == 0) ReportRuntimeError(1, 5, 3);
    // A window that declines every request to close it.
    if (std::strcmp(gMode, "refuse-close") == 0) return Result(0);
    return NoResult();
}

void WriteMarker() {
    if (FILE* f = std::fopen(gMarker, "w")) {
        std::fputs("exit routine ran", f);
        std::fclose(f);
    }
}

void QuietReport(const char*, int32_t) {}

const EventHandler kHandlers[] = {OnCreated, OnMayClose};
std::vector<uint8_t> gSegment;
ProgramImageHeader gHeader{};

int StartUp() {
    InitializeRuntime();
    RegisterExitRoutine(WriteMarker);
    LoadStartWindow(kProbeWindow);
    RunMessageLoop();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) gMode = argv[1];
    if (argc > 2) gMarker = argv[2];
    segment::Window window;
    window.id = kProbeWindow;
    segment::Element self;
    self.id = 0x06000001;
    self.type = 0x00010001;
    self.width = 120;
    self.height = 80;
    self.events = {{0, 0}, {1, kHandlerOffsetUnit}};
    window.elements.push_back(self);
    gSegment = segment::Segment({window});
    gHeader.buildMode = 3;
    gHeader.codeBase = kHandlers;
    gHeader.uiSegment = gSegment.data();
    gHeader.uiSegmentSize = static_cast<uint32_t>(gSegment.size());
    if (std::strcmp(gMode, "corrupt") == 0) gHeader.uiSegmentSize -= 3;
    SetRuntimeErrorHook(QuietReport);
    RunProgram(gHeader, StartUp);
}
