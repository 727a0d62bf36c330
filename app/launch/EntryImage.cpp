#include "app/launch/EntryImage.h"

#include <windows.h>
#include <x86intrin.h>

#include <cmath>
#include <cstdio>
#include <utility>

#include "app/ExternalDeclarations.h"
#include "app/launch/CommandResults.h"
#include "runtime/library/Commands.h"
#include "runtime/external/ExternalFunctions.h"
#include "runtime/library/core/FileSearch.h"
#include "ui/description/FolderImage.h"

namespace {

constexpr int32_t kScratchLow = 156267;
constexpr int32_t kScratchHigh = 252270;
constexpr int32_t kOdd = 1;
// Draws of a scratch name before giving up on the item's picture.
constexpr int kScratchDraws = 16;

const char* ExtensionOf(const char* path) {
    return CallExternal<const char*>(kPathFindExtensionA, TextOrEmpty(path));
}

// The target stored in a shortcut; empty when it cannot be read.
Text ShortcutTarget(const char* path) {
    Text target = nullptr;
    ResultRecord shown = CallLibrary(kShellLibrary, ShellCommand::ReadShortcut, ArgText(path),
                                     ArgReference(&target, Tag::kText));
    FreeBlock(TakeText(shown));
    return target;
}

bool FileExists(const char* path) {
    HANDLE search = nullptr;
    OwnedText found(FindFile(path, 0, true, &search));
    CloseFileSearch(&search);
    return found.Get() != nullptr;
}

// The program's first icon group, written to a scratch ".ico" file, read back
// and deleted at once.
ByteSet ProgramIcon(const char* program) {
    OwnedText runDirectory(TakeText(CallCore(CoreCommand::RunDirectory)));
    // The folder is the user's too: a file that already has the drawn name is
    // never overwritten and deleted; another number is drawn instead.
    OwnedText file;
    for (int draw = 0; draw < kScratchDraws && !file.Get(); ++draw) {
        OwnedText number(RandomInRange(kScratchLow, kScratchHigh, kOdd));
        OwnedText candidate(TextConcat({runDirectory.Get(), "\\临时数据\\", number.Get(), ".ico"}));
        if (!FileExists(candidate.Get())) file = std::move(candidate);
    }
    if (!file.Get()) return nullptr;
    CallLibrary(kIconLibrary, IconCommand::SaveIconToFile, ArgText(program), ArgInt(0),
                ArgText(file.Get()), ArgInt(0));
    ByteSet bytes = CallCore(CoreCommand::ReadWholeFile, ArgText(file.Get())).AsByteSet();
    CallCore(CoreCommand::RemoveFile, ArgText(file.Get()));
    return bytes;
}

}  // namespace

ByteSet LoadEntryImage(const char* path) {
    // Only shortcuts get a picture, and only with the extension written exactly ".lnk".
    if (TextCompare(ExtensionOf(path), ".lnk") != 0) return nullptr;
    OwnedText target(ShortcutTarget(path));
    if (TextCompare(ExtensionOf(target.Get()), ".exe") == 0) return ProgramIcon(target.Get());
    // Only the directory attribute itself counts; other true values do not.
    if (CallExternal<BOOL>(kPathIsDirectoryA, TextOrEmpty(target.Get())) ==
        FILE_ATTRIBUTE_DIRECTORY)
        return const_cast<ByteSet>(FolderImage());
    return nullptr;
}

Text RandomInRange(int32_t low, int32_t high, int32_t parity) {
    int32_t v = low;
    if (low != high) {
        int32_t min = low < high ? low : high;
        int32_t max = low < high ? high : low;
        if (max == 0) max = 2147483647;
        uint32_t t = static_cast<uint32_t>(__rdtsc());
        uint32_t r = ((t * 214013u + 2531011u) >> 16) & 0x7FFF;
        uint32_t span = static_cast<uint32_t>(max) - static_cast<uint32_t>(min) + 1u;
        // A span of the whole 32-bit range wraps to 0; every r fits it then.
        uint32_t offset = span == 0 ? r : r % span;
        v = static_cast<int32_t>(static_cast<uint32_t>(min) + offset);
        double rest = std::fmod(static_cast<double>(v), 2.0);
        bool adjust = (parity == 1 && std::fabs(rest) < 1e-7) ||
                      (parity == 2 && std::fabs(rest - 1.0) < 1e-7);
        if (adjust) v = v == high ? v - 1 : v + 1;
    }
    char text[16];
    std::snprintf(text, sizeof(text), "%d", v);
    return CopyText(text);
}
