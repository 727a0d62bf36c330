// Process start: runtime initialisation (heap, OLE, run directory, hidden
// owner window, external functions, support libraries, window definitions)
// and the program's run from its start-up routine to the end of the process.
#include <ole2.h>
#include <cstring>
#include "runtime/external/ExternalFunctions.h"
#include "runtime/process/Runtime.h"
#include "runtime/process/RuntimeError.h"
#include "runtime/process/RuntimeMessages.h"
#include "runtime/process/RuntimeState.h"
#include "runtime/values/Values.h"
#include "runtime/windows/WindowRuntime.h"

namespace {

constexpr DWORD kModulePathBytes = 260;

bool gOleInitializeTried = false;

// Run directory: the module path up to its last "\" (without it); the
// executable name: what follows. A path without "\" is all name.
void RecordRunDirectory() {
    char path[kModulePathBytes] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, kModulePathBytes);
    if (length >= kModulePathBytes) length = kModulePathBytes - 1;
    path[length] = '\0';
    char* lastSlash = std::strrchr(path, '\\');
    if (!lastSlash) {
        SetRuntimeRunDirectory("");
        SetRuntimeExecutableName(path);
        return;
    }
    SetRuntimeExecutableName(lastSlash + 1);
    *lastSlash = '\0';
    SetRuntimeRunDirectory(path);
    SetCurrentDirectoryA(path);
}

void NotifyLibrariesOfEnd() {
    const ProgramImageHeader* header = CurrentProgramHeader();
    if (!header) return;
    for (uint32_t i = 0; i < header->supportLibraryCount; ++i) {
        const SupportLibrary* library = header->supportLibraries[i];
        if (library && library->notify) library->notify(kLibraryNotifyEnd, 0, 0);
    }
}

void DestroyRuntimeWindows() {
    ClearIdleRoutines();
    DestroyAllLiveWindows();
    HWND owner = RuntimeHiddenOwnerWindow();
    if (owner && IsWindow(owner)) DestroyWindow(owner);
    SetRuntimeHiddenOwnerWindow(nullptr);
}

void ReadDefinitions(const ProgramImageHeader& header) {
    UiDescription& description = RuntimeUiDescription();
    if (!ReadUiDescription(header.uiSegment, header.uiSegmentSize, &description)) {
        ReportRuntimeErrorText(RuntimeMessage::kDescriptionUnreadable, 0, 0);
    }
    BindUiHandlers(&description, header.codeBase, header.codeBaseSlots);
    ResetLiveWindowSlots();
    SetErrorSubjectLookup(LookUpErrorSubject);
}

// The program image header given to RunProgram (or installed by a test).
const ProgramImageHeader* gProgramHeader = nullptr;

// The system shows no box of its own ("no disk in the drive", "cannot open
// file") when the folder scan touches an empty removable drive or a file it
// cannot open; the command simply fails. Bits set before are kept.
void KeepSystemErrorBoxesAway() {
    const UINT previous = SetErrorMode(0);
    SetErrorMode(previous | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
}

}  // namespace

const ProgramImageHeader* CurrentProgramHeader() {
    return gProgramHeader;
}

void SetProgramHeader(const ProgramImageHeader* header) {
    gProgramHeader = header;
    if (header) SetConstantDataRange(header->constantData, header->constantDataSize);
}

void InitializeRuntime() {
    const ProgramImageHeader* header = CurrentProgramHeader();
    KeepSystemErrorBoxesAway();
    GetProcessHeap();  // every block comes from the process heap (Memory.cpp)
    if (!gOleInitializeTried) {
        gOleInitializeTried = true;
        SetRuntimeOleInitialized(SUCCEEDED(OleInitialize(nullptr)));
    }
    RecordRunDirectory();
    RegisterRuntimeWindowClass();
    if (!RuntimeHiddenOwnerWindow()) SetRuntimeHiddenOwnerWindow(CreateHiddenOwnerWindow());
    SetRuntimeGuiThreadId(GetCurrentThreadId());
    RegisterRuntimeCleanup(NotifyLibrariesOfEnd);
    if (!header) return;
    SetConstantDataRange(header->constantData, header->constantDataSize);
    InitializeExternalFunctions(*header);
    for (uint32_t i = 0; i < header->supportLibraryCount; ++i) {
        const SupportLibrary* library = header->supportLibraries[i];
        if (library && library->notify) {
            library->notify(kLibraryNotifyInit, reinterpret_cast<intptr_t>(&RuntimeNotify), 0);
        }
    }
    RegisterRuntimeCleanup(DestroyRuntimeWindows);
    ReadDefinitions(*header);
}

void RunProgram(const ProgramImageHeader& header, int (*startUp)()) {
    SetProgramHeader(&header);
    startUp();
    // The application layer's exit step: clean up and end with the quit
    // message's code.
    ExitProgram(QuitMessageCode());
}
