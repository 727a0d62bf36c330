// Process start: runtime initialisation (heap, OLE, run directory, hidden
// owner window, external functions, support libraries, window definitions)
// and the program's run from its start-up routine to the end of the process.
#include <ole2.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "runtime/external/ExternalFunctions.h"
#include "runtime/process/Runtime.h"
#include "runtime/process/RuntimeError.h"
#include "runtime/process/RuntimeMessages.h"
#include "runtime/process/RuntimeState.h"
#include "runtime/values/Values.h"
#include "runtime/win32/FileNames.h"
#include "runtime/windows/WindowRuntime.h"

namespace {

// The longest path the wide calls take.
constexpr DWORD kLongestPath = 32768;

bool gOleInitializeTried = false;

// The program's own path in full, however long and whatever its characters.
std::wstring ModulePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::wstring();
        if (length < buffer.size()) return WithoutLongPrefix(std::wstring(buffer.data(), length));
        if (buffer.size() >= kLongestPath) return std::wstring();
        buffer.resize(buffer.size() * 2);
    }
}

// Run directory: the module path up to its last "\" (without it); the
// executable name: what follows. A path without "\" is all name. Both in
// ANSI spellings that open them: a folder or name that code page 936 cannot
// hold is given by its short form, so that run directory + "\" + name still
// reaches the program and its folders.
void RecordRunDirectory() {
    const std::wstring path = ModulePath();
    const size_t lastSlash = path.rfind(L'\\');
    const std::wstring wideName =
        lastSlash == std::wstring::npos ? path : path.substr(lastSlash + 1);
    std::string name;
    if (!AnsiFromWide(wideName.c_str(), &name))
        name = PathFindFileNameA(AnsiPathFromWide(path).c_str());
    SetRuntimeExecutableName(name.c_str());
    if (lastSlash == std::wstring::npos) {
        SetRuntimeRunDirectory("");
        return;
    }
    const std::string directory = AnsiPathFromWide(path.substr(0, lastSlash));
    SetRuntimeRunDirectory(directory.c_str());
    SetCurrentDirectoryA(directory.c_str());
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
