// Reading "快速启动目录" once, when the panel is created: every subfolder is a
// category with a toolbar button, every file in it an item with a picture.
#include "app/launch/QuickLaunchScan.h"

#include <string>

#include "app/common/CategoryTitle.h"
#include "app/common/CommandResults.h"
#include "app/common/FolderListing.h"
#include "app/common/Globals.h"
#include "app/common/ProgramFolders.h"
#include "app/common/ProgramWindows.h"
#include "app/common/PumpPendingMessages.h"
#include "app/launch/EntryImage.h"
#include "runtime/library/Commands.h"
#include "runtime/win32/FileNames.h"
#include "ui/description/FolderImage.h"
#include "ui/skin/SkinCommands.h"

namespace {

// Whether the panel was loaded when the scan began. It goes when the taskbar
// that holds the dock is destroyed, which can happen while the scan pumps
// messages; the scan then stops where it is.
bool gPanelAtStart = false;

bool PanelGone() {
    return gPanelAtStart && !IsLoaded(PanelWindowRef());
}

// An item listed by the short name the file system keeps for it (its own name
// has characters code page 936 lacks) keeps its own name as well: opening it
// checks that the short name still names that file.
void KeepOwnName(LaunchCategory* record, int32_t item, int32_t count, const char* path) {
    const std::wstring own = OwnNameOfShortName(path);
    if (own.empty()) return;
    if (!record->ownNames) record->ownNames = NewArray(sizeof(ByteSet), count);
    ArrayData<ByteSet>(record->ownNames)[item] =
        MakeByteSet(own.c_str(), static_cast<int32_t>((own.size() + 1) * sizeof(wchar_t)));
}

// One category: its files as items, each with the picture the skin engine
// made of it. An abandoned category keeps the items read so far.
LaunchCategory ScanCategory(const char* folder) {
    OwnedTextArray files;
    int32_t count = ListFiles(folder, "*.*", files.Put(), true, true, false);
    LaunchCategory record;
    record.images = NewArray(sizeof(int32_t), count);
    record.paths = NewArray(sizeof(Text), count);
    for (int32_t j = 0; j < count; ++j) {
        ByteSet bytes = LoadEntryImage(files.At(j));
        int32_t handle = CallLibrary(kSkinLibrary, SkinCommand::LoadImageEx, ArgByteSet(bytes),
                                     ArgOmitted(), ArgOmitted(), ArgOmitted(), ArgOmitted(),
                                     ArgOmitted(), ArgOmitted(), ArgOmitted())
                             .AsInt();
        // The folder picture is shared constant data; everything else is ours to free.
        if (bytes != FolderImage()) FreeBlock(bytes);
        ArrayAppend(&ImageRegistry, &handle, sizeof(handle));
        ArrayData<int32_t>(record.images)[j] = handle;
        ArrayData<Text>(record.paths)[j] = CopyText(files.At(j));
        KeepOwnName(&record, j, count, files.At(j));
        // An item's picture takes a shortcut read and a scratch-file round
        // trip; between items the dock and the taskbar get their messages
        // answered, so a long scan never leaves them waiting.
        PumpPendingMessages();
        if (PanelGone()) break;
    }
    return record;
}

}  // namespace

bool ScanQuickLaunchFolder() {
    gPanelAtStart = IsLoaded(PanelWindowRef());
    OwnedText runDirectory(RunDirectoryText());
    OwnedText root(TextConcat({runDirectory.Get(), "\\", kQuickLaunchFolderName}));
    OwnedTextArray names;
    int32_t categories = ListSubfolders(root.Get(), names.Put(), false, true);
    for (int32_t i = 1; i <= categories; ++i) {
        if (PanelGone()) return false;
        const char* name = names.At(i - 1);
        OwnedText folder(
            TextConcat({runDirectory.Get(), "\\", kQuickLaunchFolderName, "\\", name}));
        // A folder whose name code page 936 cannot hold is listed by its short
        // name; its button shows the long name as well as the code page can.
        const std::string longName = LongNameOfShortName(folder.Get());
        const char* shown = longName.empty() ? name : longName.c_str();
        OwnedText title(CategoryTitle(shown));
        CallLibrary(kSkinLibrary, SkinCommand::InsertButton_ToolbarEx, ToolbarRef(), ArgInt(i),
                    ArgInt(0), ArgOmitted(), ArgText(title.Get()), ArgOmitted(), ArgInt(32),
                    ArgInt(0), ArgInt(1), ArgOmitted(), ArgBool(false));
        LaunchCategory record = ScanCategory(folder.Get());
        ArrayAppend(&CategoryList, &record, sizeof(record));
    }
    if (PanelGone()) return false;
    CallLibrary(kSkinLibrary, SkinCommand::SetButtonSelected_ToolbarEx, ToolbarRef(), ArgInt(0),
                ArgBool(true));
    return true;
}
