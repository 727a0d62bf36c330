// The program image header: build mode, the handler table as code base, the
// program's constant data, the UI description, the six support libraries and
// the declared external functions.
#include "app/ProgramImage.h"

#include <windows.h>

#include <cstring>

#include "app/common/DeclaredFunctions.h"
#include "app/HandlerTable.h"
#include "runtime/library/Commands.h"
#include "runtime/library/core/CoreCommandList.h"
#include "runtime/library/icon/IconLibrary.h"
#include "runtime/library/shell/ShellLibrary.h"
#include "runtime/library/system/SystemLibrary.h"
#include "runtime/library/thread/ThreadLibrary.h"
#include "ui/description/UiSegment.h"
#include "ui/skin/SkinUiLibrary.h"

namespace {

constexpr uint32_t kReleaseBuild = 3;
// Kept by the runtime (plus one) and not used further.
constexpr uint32_t kImageWordTwo = 0x18F57;

// The program's constant data is its read-only data section: every text
// literal and constant block (pictures, the UI description) lies there, and a
// value block found inside it is shared, never freed or written.
struct ConstantRange {
    const void* start = nullptr;
    uint32_t size = 0;
};

ConstantRange ReadOnlyDataSection() {
    ConstantRange range;
    const auto* base = reinterpret_cast<const uint8_t*>(GetModuleHandleA(nullptr));
    if (!base) return range;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) return range;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE) return range;
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        if (std::memcmp(section->Name, ".rdata", 7) == 0) {
            range.start = base + section->VirtualAddress;
            range.size = section->Misc.VirtualSize;
            break;
        }
    }
    return range;
}

const ConstantRange gConstantData = ReadOnlyDataSection();

const SupportLibrary* const kSupportLibraries[kSupportLibraryCount] = {
    &CoreLibrary(),   &SkinUiLibrary(), &ThreadLibrary(),
    &SystemLibrary(), &IconLibrary(),   &ShellLibrary(),
};

}  // namespace

const ProgramImageHeader kProgramHeader = {
    kReleaseBuild,
    0,
    kImageWordTwo,
    kHandlerTable,
    gConstantData.start,
    gConstantData.size,
    kUiSegment,
    kUiSegmentSize,
    kSupportLibraryCount,
    kSupportLibraries,
    kExternalFunctionCount,
    kExternalDllNames,
    kExternalFunctionNames,
    kHandlerSlotCount,
};
