// Declared external functions: the DLL and function names come from the
// program image header; each entry is resolved on its first call and keeps its
// address and the module it was found in until the program ends.
#include "runtime/external/ExternalFunctions.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/process/Runtime.h"
#include "runtime/process/RuntimeError.h"
#include "runtime/process/RuntimeMessages.h"

namespace {

// Room for every declared function of a program image; the product declares 25.
constexpr int32_t kMaxExternalFunctions = 256;

struct ExternalEntry {
    std::string dll;
    std::string function;
    FARPROC volatile address = nullptr;
    HMODULE volatile module = nullptr;
};

ExternalEntry gEntries[kMaxExternalFunctions];
int32_t gEntryCount = 0;
FARPROC volatile gOverrides[kMaxExternalFunctions] = {};
bool gCleanupRegistered = false;

// Searched in this order when a declaration names no DLL.
const char* const kSystemDlls[] = {"Kernel32.dll", "Gdi32.dll", "User32.dll",
                                   "Advapi32.dll", "Mpr.dll",   "Shell32.dll"};

FARPROC FindExport(HMODULE module, const std::string& function) {
    if (!module) return nullptr;
    if (!function.empty() && function[0] == '#') {
        // An ordinal: the decimal number after "#", limited to 16 bits.
        const unsigned long ordinal = std::strtoul(function.c_str() + 1, nullptr, 10) % 65536;
        return GetProcAddress(module, MAKEINTRESOURCEA(static_cast<WORD>(ordinal)));
    }
    return GetProcAddress(module, function.c_str());
}

std::string RunDirectoryForLoading() {
    std::string dir = RuntimeRunDirectory() ? RuntimeRunDirectory() : "";
    if (!dir.empty()) return dir;
    // Before the runtime has recorded its run directory (a test calling
    // through the table directly) the executable's own folder stands in.
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return dir;
    char* slash = std::strrchr(path, '\\');
    if (slash) dir.assign(path, slash);
    return dir;
}

HMODULE LoadDeclaredDll(const std::string& dll) {
    if (dll.find(':') != std::string::npos) return LoadLibraryA(dll.c_str());
    // A DLL beside the program wins over one of the same name elsewhere.
    const std::string besideProgram = RunDirectoryForLoading() + "\\" + dll;
    if (HMODULE m = LoadLibraryA(besideProgram.c_str())) return m;
    return LoadLibraryA(dll.c_str());
}

[[noreturn]] void ReportMissing(const ExternalEntry& entry) {
    if (entry.dll.empty()) {
        ReportRuntimeErrorFormat(0, 0, RuntimeMessage::kExportMissing, entry.function.c_str());
    }
    ReportRuntimeErrorFormat(0, 0, RuntimeMessage::kExportMissingFromDll, entry.dll.c_str(),
                             entry.function.c_str());
}

void Resolve(ExternalEntry& entry) {
    HMODULE module = nullptr;
    FARPROC address = nullptr;
    if (entry.dll.empty()) {
        for (const char* name : kSystemDlls) {
            HMODULE candidate = LoadLibraryA(name);
            address = FindExport(candidate, entry.function);
            if (address) {
                module = candidate;
                break;
            }
            if (candidate) FreeLibrary(candidate);
        }
    } else {
        module = LoadDeclaredDll(entry.dll);
        address = FindExport(module, entry.function);
        if (!address && module) {
            FreeLibrary(module);
            module = nullptr;
        }
    }
    if (!address) ReportMissing(entry);

    // Two threads may resolve the same entry at once; the first to store its
    // address keeps its module and the other gives its load back, so every
    // load the table holds is freed exactly once at the end.
    if (InterlockedCompareExchangePointer(reinterpret_cast<PVOID volatile*>(&entry.address),
                                          reinterpret_cast<PVOID>(address), nullptr) != nullptr) {
        if (module) FreeLibrary(module);
        return;
    }
    entry.module = module;
}

void FreeExternalModules() {
    for (int32_t i = 0; i < gEntryCount; ++i) {
        ExternalEntry& entry = gEntries[i];
        HMODULE module = static_cast<HMODULE>(
            InterlockedExchangePointer(reinterpret_cast<PVOID volatile*>(&entry.module), nullptr));
        entry.address = nullptr;
        if (module) FreeLibrary(module);
    }
}

}  // namespace

void InitializeExternalFunctions(const ProgramImageHeader& header) {
    FreeExternalModules();
    const uint32_t declared = header.externalFunctionCount;
    gEntryCount = declared < static_cast<uint32_t>(kMaxExternalFunctions)
                      ? static_cast<int32_t>(declared)
                      : kMaxExternalFunctions;
    for (int32_t i = 0; i < kMaxExternalFunctions; ++i) {
        ExternalEntry& entry = gEntries[i];
        const bool declaredHere = i < gEntryCount;
        const char* dll = declaredHere && header.externalDllNames ? header.externalDllNames[i] : "";
        const char* function =
            declaredHere && header.externalFunctionNames ? header.externalFunctionNames[i] : "";
        entry.dll = dll ? dll : "";
        entry.function = function ? function : "";
        entry.address = nullptr;
        entry.module = nullptr;
    }
    if (!gCleanupRegistered) {
        gCleanupRegistered = true;
        RegisterRuntimeCleanup(FreeExternalModules);
    }
}

FARPROC ResolveExternalFunction(int32_t index) {
    if (index < 0 || index >= kMaxExternalFunctions) {
        ReportRuntimeErrorFormat(0, 0, RuntimeMessage::kExportMissing, "");
    }
    if (FARPROC standIn = gOverrides[index]) return standIn;
    ExternalEntry& entry = gEntries[index];
    if (FARPROC cached = entry.address) return cached;
    if (index >= gEntryCount) ReportMissing(entry);
    Resolve(entry);
    return entry.address;
}

void OverrideExternalFunction(int32_t index, FARPROC address) {
    if (index < 0 || index >= kMaxExternalFunctions) return;
    gOverrides[index] = address;
}
