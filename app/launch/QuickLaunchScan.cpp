// Reading "快速启动目录": every subfolder is a category with a toolbar button,
// every file in it an item with a picture. The first scan runs when the
// panel is created; a rescan reads the folder again with the same routines,
// keeps the picture of every item whose file did not change, and puts the
// new content in place in one step.
#include "app/launch/QuickLaunchScan.h"

#include <map>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/common/CategoryTitle.h"
#include "app/common/CommandResults.h"
#include "app/common/DeclaredFunctions.h"
#include "app/common/FolderListing.h"
#include "app/common/Globals.h"
#include "app/common/ProgramFolders.h"
#include "app/common/ProgramWindows.h"
#include "app/common/PumpPendingMessages.h"
#include "app/launch/EntryImage.h"
#include "app/launch/FolderWatch.h"
#include "runtime/library/Commands.h"
#include "runtime/win32/FileNames.h"
#include "runtime/win32/ScopedOwners.h"
#include "ui/description/FolderImage.h"
#include "ui/skin/SkinCommands.h"

namespace {

constexpr DWORD kTreeChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                               FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE;

// An item's picture stays right while its file keeps its size and last write
// time: a shortcut given another target or icon is written anew.
struct ItemStamp {
    uint64_t size = 0;
    uint64_t written = 0;
    bool operator==(const ItemStamp& other) const {
        return size == other.size && written == other.written;
    }
};

struct KnownPicture {
    ItemStamp stamp;
    int32_t image = 0;
    bool taken = false;
};
// By file name, so that an item keeps its picture when its category is
// renamed or it moves to another one; each picture goes to one item.
using KnownPictures = std::multimap<std::string, KnownPicture>;

// What the panel was last filled from: the categories' folder names (the
// category shown is kept by its name) and the picture of every item.
std::vector<std::string> gCategoryNames;
KnownPictures gKnownPictures;

// The stamps of a category's files, by the names the listing hands out: one
// pass over the folder, not one question per file.
std::map<std::string, ItemStamp> StampsOf(const char* folder) {
    std::map<std::string, ItemStamp> stamps;
    WIN32_FIND_DATAW entry;
    ScopedFileSearch search(
        FindFirstFileW(WidePath((std::string(folder) + "\\*.*").c_str()).c_str(), &entry));
    if (!search.Valid()) return stamps;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        ItemStamp& stamp = stamps[EntryNameForAnsi(entry.cFileName, entry.cAlternateFileName)];
        stamp.size = uint64_t(entry.nFileSizeHigh) << 32 | entry.nFileSizeLow;
        stamp.written = uint64_t(entry.ftLastWriteTime.dwHighDateTime) << 32 |
                        entry.ftLastWriteTime.dwLowDateTime;
    } while (FindNextFileW(search.Get(), &entry));
    return stamps;
}

std::string FileNameOf(const char* path) {
    return Declared::PathFindFileNameA(TextOrEmpty(path));
}

// What one scan produces. Until it is put in place it owns its arrays and
// the pictures it made.
struct ScannedTree {
    std::vector<std::string> names;
    ValueArray categories = NewArray(sizeof(LaunchCategory), 0);
    ValueArray registry = NewArray(sizeof(int32_t), 0);
    KnownPictures pictures;
    std::vector<int32_t> made;

    ScannedTree() = default;
    ScannedTree(const ScannedTree&) = delete;
    ScannedTree& operator=(const ScannedTree&) = delete;
    ~ScannedTree() {
        for (int32_t image : made)
            CallLibrary(kSkinLibrary, SkinCommand::DestroyImageEx, ArgInt(image));
        FreeCategoryList(categories);
        FreeBlock(registry);
    }
};

// Whether the panel was loaded when the scan began. It goes when the taskbar
// that holds the dock is destroyed, which can happen while the scan pumps
// messages; the scan then stops where it is.
bool gPanelAtStart = false;

// Counts first scans: a rescan that pumped messages while the panel was
// made anew (a new taskbar) holds pictures of the old panel and is dropped.
int32_t gFirstScans = 0;

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

// The picture made before for an unchanged file of that name, else a new one.
int32_t PictureOf(const char* path, const ItemStamp& stamp, KnownPictures* earlier,
                  std::vector<int32_t>* made) {
    if (earlier) {
        auto found = earlier->equal_range(FileNameOf(path));
        for (auto it = found.first; it != found.second; ++it) {
            if (!it->second.taken && it->second.stamp == stamp) {
                it->second.taken = true;
                return it->second.image;
            }
        }
    }
    ByteSet bytes = LoadEntryImage(path);
    int32_t handle = CallLibrary(kSkinLibrary, SkinCommand::LoadImageEx, ArgByteSet(bytes),
                                 ArgOmitted(), ArgOmitted(), ArgOmitted(), ArgOmitted(),
                                 ArgOmitted(), ArgOmitted(), ArgOmitted())
                         .AsInt();
    // The folder picture is shared constant data; everything else is ours to free.
    if (bytes != FolderImage()) FreeBlock(bytes);
    if (made) made->push_back(handle);
    return handle;
}

// One category: its files as items, each with the picture the skin engine
// made of it (or made before, for a rescan).
LaunchCategory ScanCategory(const char* folder, ValueArray* registry, KnownPictures* earlier,
                            KnownPictures* pictures, std::vector<int32_t>* made) {
    OwnedTextArray files;
    int32_t count = ListFiles(folder, "*.*", files.Put(), true, true, false);
    LaunchCategory record;
    record.images = NewArray(sizeof(int32_t), count);
    record.paths = NewArray(sizeof(Text), count);
    // Stamped before the pictures are made: a change in between leaves a
    // stamp older than its picture, so the next rescan makes it again.
    std::map<std::string, ItemStamp> stamps = StampsOf(folder);
    for (int32_t j = 0; j < count; ++j) {
        const ItemStamp stamp = stamps[FileNameOf(files.At(j))];
        int32_t handle = PictureOf(files.At(j), stamp, earlier, made);
        ArrayAppend(registry, &handle, sizeof(handle));
        ArrayData<int32_t>(record.images)[j] = handle;
        ArrayData<Text>(record.paths)[j] = CopyText(files.At(j));
        KeepOwnName(&record, j, count, files.At(j));
        pictures->emplace(FileNameOf(files.At(j)), KnownPicture{stamp, handle, false});
        // An item's picture takes a shortcut read and a scratch-file round
        // trip; between items the dock and the taskbar get their messages
        // answered, so a long scan never leaves them waiting.
        PumpPendingMessages();
        if (PanelGone()) break;
    }
    return record;
}

std::string CategoryFolder(const char* runDirectory, const std::string& name) {
    OwnedText folder(TextConcat({runDirectory, "\\", kQuickLaunchFolderName, "\\", name.c_str()}));
    return folder.Get();
}

void InsertCategoryButton(int32_t position, const char* folder, const char* name) {
    // A folder whose name code page 936 cannot hold is listed by its short
    // name; its button shows the long name as well as the code page can.
    const std::string longName = LongNameOfShortName(folder);
    const char* shown = longName.empty() ? name : longName.c_str();
    OwnedText title(CategoryTitle(shown));
    CallLibrary(kSkinLibrary, SkinCommand::InsertButton_ToolbarEx, ToolbarRef(), ArgInt(position),
                ArgInt(0), ArgOmitted(), ArgText(title.Get()), ArgOmitted(), ArgInt(32), ArgInt(0),
                ArgInt(1), ArgOmitted(), ArgBool(false));
}

// The category folders' names, sorted. The folder is watched from before it
// is listed, so that no change after the listing goes unseen: the run
// folder for the root itself (made, renamed, deleted), the root with its
// whole tree for the rest.
int32_t ListCategories(const char* runDirectory, const char* root, ValueArray* names) {
    WatchFolders({{runDirectory, false, FILE_NOTIFY_CHANGE_DIR_NAME}, {root, true, kTreeChanges}});
    return ListSubfolders(root, names, false, true);
}

// The new content in place of the old, with no message handled in between;
// the index of the category to show.
int32_t PutInPlace(ScannedTree& tree, const char* runDirectory) {
    int32_t shown = 0;
    if (CurrentCategory >= 0 && CurrentCategory < int32_t(gCategoryNames.size())) {
        for (size_t i = 0; i < tree.names.size(); ++i)
            if (tree.names[i] == gCategoryNames[CurrentCategory]) shown = int32_t(i);
    }
    ValueArray earlierRegistry = ImageRegistry;
    ValueArray earlierCategories = CategoryList;
    ImageRegistry = tree.registry;
    CategoryList = tree.categories;
    tree.registry = NewArray(sizeof(int32_t), 0);
    tree.categories = NewArray(sizeof(LaunchCategory), 0);
    tree.made.clear();
    gCategoryNames.swap(tree.names);
    gKnownPictures.swap(tree.pictures);

    CallLibrary(kSkinLibrary, SkinCommand::DeleteButton_ToolbarEx, ToolbarRef(), ArgInt(-1));
    for (size_t i = 0; i < gCategoryNames.size(); ++i) {
        const std::string folder = CategoryFolder(runDirectory, gCategoryNames[i]);
        InsertCategoryButton(int32_t(i + 1), folder.c_str(), gCategoryNames[i].c_str());
    }

    // The pictures no item shows any more go back to the engine, once each.
    std::unordered_set<int32_t> kept(ArrayData<int32_t>(ImageRegistry),
                                     ArrayData<int32_t>(ImageRegistry) + ArrayCount(ImageRegistry));
    for (int32_t i = 0; i < ArrayCount(earlierRegistry); ++i) {
        const int32_t image = ArrayData<int32_t>(earlierRegistry)[i];
        if (!kept.count(image))
            CallLibrary(kSkinLibrary, SkinCommand::DestroyImageEx, ArgInt(image));
    }
    FreeBlock(earlierRegistry);
    FreeCategoryList(earlierCategories);
    return shown;
}

}  // namespace

bool ScanQuickLaunchFolder() {
    gPanelAtStart = IsLoaded(PanelWindowRef());
    ++gFirstScans;
    gCategoryNames.clear();
    gKnownPictures.clear();
    OwnedText runDirectory(RunDirectoryText());
    OwnedText root(TextConcat({runDirectory.Get(), "\\", kQuickLaunchFolderName}));
    OwnedTextArray names;
    int32_t categories = ListCategories(runDirectory.Get(), root.Get(), names.Put());
    for (int32_t i = 1; i <= categories; ++i) {
        if (PanelGone()) return false;
        const char* name = names.At(i - 1);
        const std::string folder = CategoryFolder(runDirectory.Get(), name);
        InsertCategoryButton(i, folder.c_str(), name);
        LaunchCategory record =
            ScanCategory(folder.c_str(), &ImageRegistry, nullptr, &gKnownPictures, nullptr);
        ArrayAppend(&CategoryList, &record, sizeof(record));
        gCategoryNames.push_back(name);
    }
    if (PanelGone()) return false;
    CallLibrary(kSkinLibrary, SkinCommand::SetButtonSelected_ToolbarEx, ToolbarRef(), ArgInt(0),
                ArgBool(true));
    return true;
}

int32_t RescanQuickLaunchFolder(bool (*mayShow)()) {
    OwnedText runDirectory(RunDirectoryText());
    OwnedText root(TextConcat({runDirectory.Get(), "\\", kQuickLaunchFolderName}));
    ScannedTree tree;
    const int32_t firstScan = gFirstScans;
    KnownPictures earlier = gKnownPictures;
    OwnedTextArray names;
    const int32_t categories = ListCategories(runDirectory.Get(), root.Get(), names.Put());
    for (int32_t i = 0; i < categories && !PanelGone(); ++i) {
        const std::string folder = CategoryFolder(runDirectory.Get(), names.At(i));
        LaunchCategory record =
            ScanCategory(folder.c_str(), &tree.registry, &earlier, &tree.pictures, &tree.made);
        ArrayAppend(&tree.categories, &record, sizeof(record));
        tree.names.push_back(names.At(i));
    }
    // Messages were handled while reading: the panel may have gone meanwhile.
    if (PanelGone() || firstScan != gFirstScans) return -1;
    if (mayShow && !mayShow()) return -1;
    return PutInPlace(tree, runDirectory.Get());
}
