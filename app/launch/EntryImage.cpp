// The picture of one launch item: a shortcut to a program shows the
// program's first icon, read back through a short-lived ".ico" file in
// "临时数据"; a shortcut to a folder shows the built-in folder picture;
// anything else has none.
#include "app/launch/EntryImage.h"

#include <windows.h>

#include <string>

#include "app/common/RandomInRange.h"
#include "app/common/CommandResults.h"
#include "app/common/ProgramFolders.h"
#include "app/launch/TargetPicture.h"
#include "runtime/library/Commands.h"
#include "runtime/library/core/FileSearch.h"
#include "runtime/win32/FileNames.h"
#include "runtime/win32/ScopedOwners.h"
#include "ui/description/FolderImage.h"

namespace {

constexpr int32_t kScratchLow = 156267;
constexpr int32_t kScratchHigh = 252270;
constexpr int32_t kOdd = 1;
// Draws of a scratch name before giving up on the item's picture.
constexpr int kScratchDraws = 16;

// A name that code page 936 cannot hold is listed by its short name
// ("A_B~1.LNK"), so the kind of such a file is read from its long name.
std::string OwnName(const char* path) {
    const std::string longName = LongNameOfShortName(TextOrEmpty(path));
    return longName.empty() ? std::string(TextOrEmpty(path)) : longName;
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
    OwnedText runDirectory(RunDirectoryText());
    // The folder is the user's too: a file that already has the drawn name is
    // never overwritten and deleted; another number is drawn instead. The file
    // is created new, so a file or link that takes the name after the check
    // is neither replaced nor followed; it is read back and deleted through
    // the handle that made it, so a file swapped in under its name is neither
    // read nor deleted.
    for (int draw = 0; draw < kScratchDraws; ++draw) {
        OwnedText number(RandomInRange(kScratchLow, kScratchHigh, kOdd));
        OwnedText file(TextConcat(
            {runDirectory.Get(), "\\", kIconScratchFolderName, "\\", number.Get(), ".ico"}));
        if (FileExists(file.Get())) continue;
        int32_t written = 0;
        ByteSet bytes = nullptr;
        CallLibrary(kIconLibrary, IconCommand::SaveIconToFile, ArgText(program), ArgInt(0),
                    ArgText(file.Get()), ArgInt(0), ArgReference(&written, Tag::kBoolean),
                    ArgReference(&bytes, Tag::kByteSet));
        if (written) return bytes;
        FreeBlock(bytes);
        // Nothing was written: the program has no icon (or the folder is not
        // there), unless the name was taken meanwhile; then draw again.
        if (!FileExists(file.Get())) return nullptr;
    }
    return nullptr;
}

}  // namespace

ByteSet LoadEntryImage(const char* path) {
    // A target on an empty removable drive, or a file that cannot be opened,
    // costs the item its picture without a box from the system. Only this
    // thread's mode changes: programs opened from the panel start with the
    // system's default.
    ScopedThreadErrorMode quiet;
    if (!IsShortcutItem(OwnName(path).c_str())) return nullptr;
    OwnedText target(ShortcutTarget(path));
    // A program is told by its own name's extension; a folder is asked of
    // the path that opens it, once: on an absent share each lookup can wait
    // out a timeout.
    switch (PictureForTarget(target.Get(), OwnName(target.Get()).c_str())) {
        case TargetPicture::ProgramIcon:
            return ProgramIcon(target.Get());
        case TargetPicture::FolderPicture:
            return const_cast<ByteSet>(FolderImage());
        default:
            return nullptr;
    }
}
