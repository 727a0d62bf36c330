#include "app/launch/QuickLaunchScan.h"

#include <windows.h>

#include <vector>

#include "app/dock/Globals.h"
#include "app/dock/PumpPendingMessages.h"
#include "app/launch/EntryImage.h"
#include "app/launch/CommandResults.h"
#include "runtime/library/Commands.h"
#include "runtime/library/core/FileSearch.h"
#include "ui/description/FolderImage.h"
#include "ui/description/UiIds.h"
#include "ui/skin/SkinCommands.h"

namespace {

constexpr int32_t kDirectoryAttribute = 0x10;

ArgumentRecord Toolbar() {
    return ArgComponent(TypeId::kToolbarEx, kDockPanelWindow, kPanelToolbar);
}

Text WithTrailingBackslash(const char* folder) {
    int32_t n = TextLength(folder);
    if (n > 0 && folder[n - 1] == '\\') return CopyText(folder);
    return TextConcat({folder, "\\"});
}

bool IsDotEntry(const char* name) {
    return TextCompare(name, ".") == 0 || TextCompare(name, "..") == 0;
}

void AppendText(ValueArray* texts, Text owned) {
    ArrayAppend(texts, &owned, sizeof(Text));
}

// Appends dir + name or the name alone; takes ownership of `name`.
void AppendEntry(ValueArray* texts, const char* dir, Text name, bool fullPaths) {
    if (fullPaths) {
        AppendText(texts, TextConcat({dir, name}));
        FreeBlock(name);
    } else {
        AppendText(texts, name);
    }
}

// One category: its files as items, each with the picture the skin engine made of it.
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
    }
    return record;
}

}  // namespace

void ScanQuickLaunchFolder() {
    OwnedText runDirectory(TakeText(CallCore(CoreCommand::RunDirectory)));
    OwnedText root(TextConcat({runDirectory.Get(), "\\快速启动目录"}));
    OwnedTextArray names;
    int32_t categories = ListSubfolders(root.Get(), names.Put(), false, true);
    for (int32_t i = 1; i <= categories; ++i) {
        const char* name = names.At(i - 1);
        // The first two bytes of a folder name are a hidden sort key.
        OwnedText title(TakeText(
            CallCore(CoreCommand::RightText, ArgText(name), ArgInt(TextLength(name) - 2))));
        CallLibrary(kSkinLibrary, SkinCommand::InsertButton_ToolbarEx, Toolbar(), ArgInt(i),
                    ArgInt(0), ArgOmitted(), ArgText(title.Get()), ArgOmitted(), ArgInt(32),
                    ArgInt(0), ArgInt(1), ArgOmitted(), ArgBool(false));
        OwnedText folder(TextConcat({runDirectory.Get(), "\\快速启动目录\\", name}));
        LaunchCategory record = ScanCategory(folder.Get());
        ArrayAppend(&CategoryList, &record, sizeof(record));
    }
    CallLibrary(kSkinLibrary, SkinCommand::SetButtonSelected_ToolbarEx, Toolbar(), ArgInt(0),
                ArgBool(true));
}

int32_t ListSubfolders(const char* folder, ValueArray* names, bool fullPaths, bool sort) {
    OwnedText dir(WithTrailingBackslash(folder));
    OwnedText pattern(TextConcat({dir.Get(), "*.*"}));
    HANDLE search = nullptr;
    for (Text name = FindFile(pattern.Get(), kDirectoryAttribute, false, &search); name;
         name = FindFile("", kDirectoryAttribute, false, &search)) {
        if (IsDotEntry(name)) {
            FreeBlock(name);
            continue;
        }
        AppendEntry(names, dir.Get(), name, fullPaths);
    }
    CloseFileSearch(&search);
    if (sort) SortTextArray(names);
    return ArrayCount(*names);
}

int32_t ListFiles(const char* folder, const char* patterns, ValueArray* files, bool fullPaths,
                  bool sort, bool recurse) {
    if (!recurse) ClearTextArray(files);
    OwnedText dir(WithTrailingBackslash(folder));
    OwnedTextArray pieces(static_cast<ValueArray>(
        CallCore(CoreCommand::SplitText, ArgText(patterns), ArgText("|")).AsPointer()));
    HANDLE search = nullptr;
    for (int32_t p = 0; p < pieces.Count(); ++p) {
        OwnedText pattern(TextConcat({dir.Get(), pieces.At(p)}));
        // With the mask left out the search yields files only, whatever their other attributes.
        for (Text name = FindFile(pattern.Get(), 0, true, &search); name;
             name = FindFile("", 0, true, &search)) {
            AppendEntry(files, dir.Get(), name, fullPaths);
            // A long scan must not freeze the taskbar or the dock.
            PumpPendingMessages();
        }
    }
    if (sort) SortTextArray(files);
    if (recurse) {
        OwnedText all(TextConcat({dir.Get(), "*.*"}));
        for (Text name = FindFile(all.Get(), kDirectoryAttribute, false, &search); name;
             name = FindFile("", kDirectoryAttribute, false, &search)) {
            OwnedText owned(name);
            if (IsDotEntry(name)) continue;
            OwnedText sub(TextConcat({dir.Get(), name}));
            ListFiles(sub.Get(), patterns, files, fullPaths, sort, true);
            PumpPendingMessages();
        }
    }
    CloseFileSearch(&search);
    return ArrayCount(*files);
}

void SortTextArray(ValueArray* texts) {
    int32_t count = ArrayCount(*texts);
    if (count < 2) return;
    Text* slots = ArrayData<Text>(*texts);
    std::vector<Text> input(slots, slots + count);
    // Binary insertion into an output that starts empty; positions are 1-based.
    std::vector<Text> output;
    output.reserve(input.size());
    for (Text e : input) {
        int32_t n = static_cast<int32_t>(output.size());
        int32_t position;
        if (n == 0) {
            position = 1;
        } else if (TextCompare(e, output[n - 1]) >= 0) {
            position = n + 1;
        } else if (TextCompare(e, output[0]) <= 0) {
            position = 1;
        } else {
            int32_t lo = 1, hi = n, mid = (lo + hi) / 2;
            while (hi - lo > 1) {
                int c = TextCompare(e, output[mid - 1]);
                if (c == 0) break;
                if (c < 0) {
                    hi = mid;
                } else {
                    lo = mid;
                }
                mid = (hi + lo) / 2;
            }
            position = TextCompare(e, output[mid - 1]) > 0 ? mid + 1 : mid;
        }
        output.insert(output.begin() + (position - 1), e);
    }
    for (int32_t i = 0; i < count; ++i) slots[i] = output[i];
}
