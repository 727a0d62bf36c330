// Listing a folder's subfolders or files, optionally sorted, with the
// thread's messages handled between files so that a long listing does not
// freeze the taskbar or the dock.
#include "app/common/FolderListing.h"

#include <windows.h>

#include "app/common/PumpPendingMessages.h"
#include "app/common/SortTextArray.h"
#include "runtime/library/Commands.h"
#include "runtime/library/core/FileSearch.h"
#include "runtime/win32/FileNames.h"

namespace {

constexpr int32_t kDirectoryAttribute = 0x10;

// Asked of the last character, not the last byte: a folder named 02運 ends
// in the byte of "\" as the second half of 運.
Text WithTrailingBackslash(const char* folder) {
    if (EndsWithBackslash(folder)) return CopyText(folder);
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

}  // namespace

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
