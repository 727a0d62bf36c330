// The picture of one launch item: a shortcut to a program shows the
// program's first icon, read back through a short-lived ".ico" file in
// "临时数据"; a shortcut to a folder shows the built-in folder picture;
// anything else has none.
#include "app/launch/EntryImage.h"

#include <windows.h>

#include <utility>

#include "app/common/RandomInRange.h"
#include "app/common/CommandResults.h"
#include "app/launch/TargetPicture.h"
#include "runtime/library/Commands.h"
#include "runtime/library/core/FileSearch.h"
#include "ui/description/FolderImage.h"

namespace {

constexpr int32_t kScratchLow = 156267;
constexpr int32_t kScratchHigh = 252270;
constexpr int32_t kOdd = 1;
// Draws of a scratch name before giving up on the item's picture.
constexpr int kScratchDraws = 16;

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
    OwnedText runDirectory(RunDirectoryText());
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
    if (!IsShortcutItem(path)) return nullptr;
    OwnedText target(ShortcutTarget(path));
    switch (PictureForTarget(target.Get())) {
        case TargetPicture::ProgramIcon:
            return ProgramIcon(target.Get());
        case TargetPicture::FolderPicture:
            return const_cast<ByteSet>(FolderImage());
        case TargetPicture::None:
            break;
    }
    return nullptr;
}
