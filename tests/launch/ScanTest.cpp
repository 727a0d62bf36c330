// The quick-launch folder scan, item pictures and the toolbar and panel
// handlers, on real folders and shortcuts, with a recording skin library.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "app/common/DeclaredFunctions.h"
#include "app/common/FileTitle.h"
#include "app/common/Globals.h"
#include "app/common/RandomInRange.h"
#include "app/common/SortTextArray.h"
#include "app/launch/CategoryToolbar.h"
#include "app/launch/EntryImage.h"
#include "app/launch/ItemActions.h"
#include "app/launch/QuickLaunchScan.h"
#include "runtime/library/icon/IconFile.h"
#include "runtime/library/shell/NativeSystemTarget.h"
#include "runtime/win32/FileNames.h"
#include "tests/launch/LaunchTestProgram.h"
#include "tests/launch/LaunchTestSupport.h"
#include "tests/support/ProcessWatch.h"
#include "ui/description/FolderImage.h"
#include "ui/description/UiIds.h"

namespace {

const char* const kRoot = "快速启动目录";
const char* const kScratch = "临时数据";

std::vector<std::string> Texts(ValueArray array) {
    std::vector<std::string> texts;
    for (int32_t i = 0; i < ArrayCount(array); ++i)
        texts.push_back(TextOrEmpty(ArrayData<Text>(array)[i]));
    return texts;
}

ValueArray TextArray(std::initializer_list<const char*> texts) {
    ValueArray array = nullptr;
    for (const char* t : texts) {
        Text copy = CopyText(t);
        ArrayAppend(&array, &copy, sizeof(copy));
    }
    return array;
}

const LaunchCategory& Category(int32_t k) {
    return ArrayData<LaunchCategory>(CategoryList)[k];
}

class ScanTest : public ::testing::Test {
  protected:
    void SetUp() override { InstallLaunchTestProgramIn(run.Path()); }
    void TearDown() override { ResetGlobalLists(); }
    std::string Root() const { return run / kRoot; }
    std::string Folder(const std::string& name) const { return Root() + "\\" + name; }

    TempFolder run{"scan"};
};

TEST(TextSorting, BinaryInsertionGivesByteOrder) {
    OwnedTextArray names(TextArray({"b.lnk", "A.lnk", "a.lnk", "10游戏", "02工具", "01办公", "B",
                                    "b", "中文", "Z.lnk", "a.lnk", "", "0"}));
    ValueArray array = names.Get();
    SortTextArray(&array);
    *names.Put() = array;
    EXPECT_EQ((std::vector<std::string>{"", "0", "01办公", "02工具", "10游戏", "A.lnk", "B",
                                        "Z.lnk", "a.lnk", "a.lnk", "b", "b.lnk", "中文"}),
              Texts(names.Get()));
    // Many elements in reverse and interleaved order exercise the binary search.
    OwnedTextArray many;
    for (int i = 99; i >= 0; --i) {
        char name[8];
        snprintf(name, sizeof(name), "%02d", (i * 37) % 100);
        Text copy = CopyText(name);
        ArrayAppend(many.Put(), &copy, sizeof(copy));
    }
    ValueArray m = many.Get();
    SortTextArray(&m);
    *many.Put() = m;
    std::vector<std::string> sorted = Texts(many.Get());
    ASSERT_EQ(100u, sorted.size());
    for (size_t i = 1; i < sorted.size(); ++i) EXPECT_LT(sorted[i - 1], sorted[i]);
}

TEST_F(ScanTest, CategoriesAreButtonsInByteOrderWithoutTheirSortKey) {
    ASSERT_TRUE(MakeFolder(Root()));
    // "4游戏": the two hidden bytes end inside 游, which is hidden whole.
    for (const char* name :
         {"02工具", "01办公", "10游戏", "B", "a", "中文件", "X", "4游戏", "０４游戏"})
        ASSERT_TRUE(MakeFolder(Folder(name)));
    WriteBytes(Root() + "\\loose.txt", {'x'});  // files directly in the root are no category

    ScanQuickLaunchFolder();

    std::vector<SkinCall> buttons = SkinCallsOf(SkinCommand::InsertButton_ToolbarEx);
    std::vector<std::string> titles;
    for (const SkinCall& b : buttons) titles.push_back(b.text);
    EXPECT_EQ(
        (std::vector<std::string>{"办公", "工具", "游戏", "戏", "", "", "", "４游戏", "文件"}),
        titles);
    for (size_t i = 0; i < buttons.size(); ++i) {
        const std::vector<ArgumentRecord>& a = buttons[i].args;
        ASSERT_EQ(11u, a.size());
        EXPECT_EQ(TypeId::kToolbarEx, a[0].tag);
        EXPECT_EQ(kPanelToolbar, a[0].ComponentId());
        EXPECT_EQ(int32_t(i + 1), a[1].AsInt()) << "positions are 1-based ordinals";
        EXPECT_EQ(0, a[2].AsInt());
        EXPECT_TRUE(a[3].IsOmitted());
        EXPECT_TRUE(a[5].IsOmitted());
        EXPECT_EQ(32, a[6].AsInt());
        EXPECT_EQ(0, a[7].AsInt());
        EXPECT_EQ(1, a[8].AsInt());
        EXPECT_TRUE(a[9].IsOmitted());
        EXPECT_EQ(Tag::kBoolean, a[10].tag);
        EXPECT_EQ(0, a[10].AsInt());
    }
    EXPECT_EQ(9, ArrayCount(CategoryList)) << "empty categories keep their button and record";
    for (int32_t k = 0; k < 9; ++k) EXPECT_EQ(0, ArrayCount(Category(k).paths));
    ASSERT_FALSE(SkinCalls().empty());
    const SkinCall& last = SkinCalls().back();
    EXPECT_EQ(SkinCommand::SetButtonSelected_ToolbarEx, last.command);
    EXPECT_EQ(0, last.args[1].AsInt());
    EXPECT_EQ(1, last.args[2].AsInt());
}

TEST_F(ScanTest, ItemsAreTheSortedFilesOfEachCategory) {
    ASSERT_TRUE(MakeFolder(Root()));
    std::string office = Folder("01办公");
    ASSERT_TRUE(MakeFolder(office));
    ASSERT_TRUE(MakeFolder(Folder("02空")));
    ASSERT_TRUE(MakeFolder(run / kScratch));
    ASSERT_TRUE(MakeShortcut(office + "\\b.lnk", SystemNotepad()));
    ASSERT_TRUE(MakeShortcut(office + "\\Z.lnk", run.Path()));
    ASSERT_TRUE(MakeShortcut(office + "\\a.lnk", office + "\\nothing.txt"));
    WriteBytes(office + "\\desktop.ini", {'[', ']'});
    SetFileAttributesA((office + "\\desktop.ini").c_str(),
                       FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    ASSERT_TRUE(MakeFolder(office + "\\内层"));  // folders inside a category are not items
    WriteBytes(office + "\\内层\\deep.txt", {'x'});

    ScanQuickLaunchFolder();

    ASSERT_EQ(2, ArrayCount(CategoryList));
    EXPECT_EQ((std::vector<std::string>{office + "\\Z.lnk", office + "\\a.lnk", office + "\\b.lnk",
                                        office + "\\desktop.ini"}),
              Texts(Category(0).paths));
    EXPECT_EQ(0, ArrayCount(Category(1).paths));

    std::vector<SkinCall> loads = SkinCallsOf(SkinCommand::LoadImageEx);
    ASSERT_EQ(4u, loads.size());
    EXPECT_TRUE(loads[0].folderImage) << "Z.lnk points to a folder";
    EXPECT_TRUE(loads[1].bytes.empty()) << "a.lnk points to a missing document";
    EXPECT_FALSE(loads[2].bytes.empty()) << "b.lnk points to a program";
    EXPECT_TRUE(loads[3].bytes.empty()) << "desktop.ini is listed without a picture";
    for (const SkinCall& load : loads) {
        EXPECT_EQ(8u, load.args.size());
        EXPECT_EQ(Tag::kByteSet, load.args[0].tag);
    }
    ASSERT_EQ(4, ArrayCount(ImageRegistry));
    ASSERT_EQ(4, ArrayCount(Category(0).images));
    for (int32_t j = 0; j < 4; ++j) {
        EXPECT_EQ(ArrayData<int32_t>(ImageRegistry)[j], ArrayData<int32_t>(Category(0).images)[j]);
    }
    EXPECT_EQ(0, CountEntries(run / kScratch)) << "no icon file is left behind";
}

// 運 ends in the byte of "\\" (0x5C) in code page 936: a category named 02運
// is a folder like any other, its items joined to it with a backslash.
TEST_F(ScanTest, ACategoryWhoseLastByteIsABackslashListsItsItems) {
    ASSERT_TRUE(MakeFolder(Root()));
    const std::string folder = Folder("02運");
    ASSERT_TRUE(MakeFolder(folder));
    ASSERT_TRUE(MakeShortcut(folder + "\\誠.lnk", SystemNotepad()));

    ScanQuickLaunchFolder();

    ASSERT_EQ(1, ArrayCount(CategoryList));
    EXPECT_EQ((std::vector<std::string>{folder + "\\誠.lnk"}), Texts(Category(0).paths));
    std::vector<SkinCall> buttons = SkinCallsOf(SkinCommand::InsertButton_ToolbarEx);
    ASSERT_EQ(1u, buttons.size());
    EXPECT_EQ("運", buttons[0].text);
}

// Listed paths are ANSI texts: each must name its own file (no "?" for what
// code page 936 lacks, which names no file on Windows, though Wine happens to
// open it), and it opens the same file as the real wide path.
::testing::AssertionResult NamesTheFile(const std::string& listed, const std::wstring& real) {
    if (listed.find('?') != std::string::npos)
        return ::testing::AssertionFailure() << listed << " holds a lossy \"?\"";
    if (!SameFile(listed, real))
        return ::testing::AssertionFailure() << listed << " does not name the file";
    return ::testing::AssertionSuccess();
}

// Names with characters outside code page 936 (Korean here): the items are
// listed in a spelling that opens them (the short name), get their pictures,
// and their titles show the name as well as the code page can.
TEST_F(ScanTest, NamesTheCodePageCannotHoldStillOpenTheirOwnFiles) {
    ASSERT_TRUE(MakeFolder(Root()));
    ASSERT_TRUE(MakeFolder(run / kScratch));
    const std::string office = Folder("01办公");
    ASSERT_TRUE(MakeFolder(office));
    const std::wstring korean = L"\uD55C\uAE00";
    const std::wstring lnk = WideOf(office) + L"\\" + korean + L".lnk";
    ASSERT_TRUE(MakeShortcutW(lnk, WideOf(SystemNotepad())));
    // A shortcut whose program has such a name.
    const std::wstring program = WideOf(run.Path()) + L"\\" + korean + L".exe";
    ASSERT_TRUE(CopyFileW(WideOf(SystemNotepad()).c_str(), program.c_str(), FALSE));
    ASSERT_TRUE(MakeShortcutW(WideOf(office) + L"\\b.lnk", program));
    // A category folder with such a name.
    const std::wstring category = WideOf(Root()) + L"\\02" + korean;
    ASSERT_TRUE(MakeFolderW(category));
    ASSERT_TRUE(MakeShortcutW(category + L"\\c.lnk", WideOf(SystemNotepad())));

    ScanQuickLaunchFolder();

    ASSERT_EQ(2, ArrayCount(CategoryList));
    // In byte order of the listed names: the short name ("__~...") first.
    const std::vector<std::string> officeItems = Texts(Category(0).paths);
    ASSERT_EQ(2u, officeItems.size());
    EXPECT_TRUE(NamesTheFile(officeItems[0], WideOf(office) + L"\\" + korean + L".lnk"));
    EXPECT_TRUE(NamesTheFile(officeItems[1], WideOf(office) + L"\\b.lnk"));
    const std::vector<std::string> other = Texts(Category(1).paths);
    ASSERT_EQ(1u, other.size());
    EXPECT_TRUE(NamesTheFile(other[0], WideOf(Root()) + L"\\02" + korean + L"\\c.lnk"));

    std::vector<SkinCall> loads = SkinCallsOf(SkinCommand::LoadImageEx);
    ASSERT_EQ(3u, loads.size());
    EXPECT_FALSE(loads[0].bytes.empty()) << "the shortcut with a Korean name";
    EXPECT_FALSE(loads[1].bytes.empty()) << "the program with a Korean name";
    EXPECT_FALSE(loads[2].bytes.empty()) << "the item of the Korean category";
    EXPECT_EQ(0, CountEntries(run / kScratch));

    // Titles: the long name, as well as code page 936 can hold it.
    std::vector<SkinCall> buttons = SkinCallsOf(SkinCommand::InsertButton_ToolbarEx);
    ASSERT_EQ(2u, buttons.size());
    EXPECT_EQ("??", buttons[1].text) << "02 is the sort key, then two Korean characters";
    OwnedText title(FileTitle(officeItems[0].c_str(), false));
    EXPECT_STREQ("??", TextOrEmpty(title.Get()));
}

// An item listed by its short name whose file is deleted, the short name then
// taken by another file (here one named that way): the other file is not
// opened; the user is told the item's file is not found.
TEST_F(ScanTest, AShortNameTakenOverByAnotherFileIsNotOpened) {
    const std::string office = Folder("01办公");
    ASSERT_TRUE(MakeFolder(Root()) && MakeFolder(office));
    const std::wstring korean = WideOf(office) + L"\\\uD55C\uAE00.exe";
    const std::string marker = LaunchTestDirectory() + "\\test_support_marker.exe";
    ASSERT_TRUE(CopyFileW(WideOf(marker).c_str(), korean.c_str(), FALSE));
    ScanQuickLaunchFolder();
    const std::string listed = Texts(Category(0).paths).at(0);
    ASSERT_TRUE(DeleteFileW(korean.c_str()));
    ASSERT_TRUE(CopyFileA(marker.c_str(), listed.c_str(), TRUE)) << listed;

    CurrentCategory = 0;
    ASSERT_TRUE(LaunchShownItem(0, nullptr));
    HWND box = nullptr;
    EXPECT_TRUE(
        Eventually([&] { return (box = VisibleWindowOf(GetCurrentProcessId())) != nullptr; }));
    if (box) PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(FileExists(listed + ".runs.txt")) << "the other file was opened";
}

// Paths of MAX_PATH (260) bytes and more: the shortcut is read and the icon
// extracted like any other item's; the shell, which takes no such path, gets
// a short form that names the same file. (Wine's shortcuts cannot hold a
// target that long, so a program that deep is not tried here.)
TEST_F(ScanTest, ItemsPastMaxPathGetTheirPicturesAndOpen) {
    ASSERT_TRUE(MakeFolder(Root()));
    ASSERT_TRUE(MakeFolder(run / kScratch));
    const std::string deep = Folder("01" + std::string(290 - Root().size(), 'D'));
    ASSERT_GE(deep.size(), static_cast<size_t>(MAX_PATH));
    const std::wstring wideDeep = WideOf(deep);
    ASSERT_TRUE(MakeFolderW(wideDeep));
    ASSERT_TRUE(MakeShortcutW(wideDeep + L"\\记事本.lnk", WideOf(SystemNotepad())));
    ASSERT_TRUE(MakeShortcutW(wideDeep + L"\\目录.lnk", WideOf(run.Path())));

    ScanQuickLaunchFolder();

    ASSERT_EQ(1, ArrayCount(CategoryList));
    const std::vector<std::string> items = Texts(Category(0).paths);
    EXPECT_EQ((std::vector<std::string>{deep + "\\记事本.lnk", deep + "\\目录.lnk"}), items);
    std::vector<SkinCall> loads = SkinCallsOf(SkinCommand::LoadImageEx);
    ASSERT_EQ(2u, loads.size());
    EXPECT_FALSE(loads[0].bytes.empty()) << "a program shortcut that deep";
    EXPECT_TRUE(loads[1].folderImage) << "a folder shortcut that deep";
    EXPECT_EQ(0, CountEntries(run / kScratch));

    // What the launch hands to the shell.
    for (const std::string& item : items) {
        const std::string shellPath = ShortFormForAnsiCalls(item.c_str());
        EXPECT_LT(shellPath.size(), static_cast<size_t>(MAX_PATH)) << shellPath;
        EXPECT_TRUE(SameFile(shellPath, WideOf(item))) << shellPath;
    }
}

TEST_F(ScanTest, NoQuickLaunchFolderStillSelectsButtonZero) {
    ScanQuickLaunchFolder();
    EXPECT_EQ(0, ArrayCount(CategoryList));
    EXPECT_EQ(0, ArrayCount(ImageRegistry));
    ASSERT_EQ(1u, SkinCalls().size());
    EXPECT_EQ(SkinCommand::SetButtonSelected_ToolbarEx, SkinCalls()[0].command);
}

// --- Pictures ----------------------------------------------------------------

class PictureTest : public ScanTest {
  protected:
    std::vector<uint8_t> Picture(const std::string& path) {
        ByteSet bytes = LoadEntryImage(path.c_str());
        std::vector<uint8_t> v(ByteSetBytes(bytes), ByteSetBytes(bytes) + ByteSetLength(bytes));
        if (bytes != FolderImage()) FreeBlock(bytes);
        return v;
    }
    bool IsFolderPicture(const std::string& path) {
        ByteSet bytes = LoadEntryImage(path.c_str());
        bool folder = bytes == FolderImage();
        if (!folder) FreeBlock(bytes);
        return folder;
    }
    std::string items = run / "items";
    void SetUp() override {
        ScanTest::SetUp();
        MakeFolder(items);
    }
};

TEST_F(PictureTest, ProgramShortcutGetsTheFirstIconGroup) {
    ASSERT_TRUE(MakeFolder(run / kScratch));
    WriteBytes(run / kScratch + "\\keep.txt", {'k'});
    ASSERT_TRUE(MakeShortcut(items + "\\编辑.lnk", SystemNotepad()));
    std::vector<uint8_t> bytes = Picture(items + "\\编辑.lnk");
    std::vector<IconImage> images;
    ASSERT_TRUE(ReadIconFile(bytes.data(), bytes.size(), &images));
    std::vector<std::vector<uint8_t>> expected = FirstGroupImages(SystemNotepad());
    ASSERT_EQ(expected.size(), images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        std::vector<uint8_t> e = expected[i];
        if (e.size() >= 40 && e[0] == 40) std::fill(e.begin() + 20, e.begin() + 24, 0);
        EXPECT_EQ(e, images[i].data);
    }
    EXPECT_EQ(1, CountEntries(run / kScratch)) << "the scratch folder is as it was";
}

TEST_F(PictureTest, OnlyExactLnkAndExeGetProgramIcons) {
    ASSERT_TRUE(MakeFolder(run / kScratch));
    std::string upper = items + "\\NOTE.EXE";
    ASSERT_TRUE(CopyFileA(SystemNotepad().c_str(), upper.c_str(), FALSE));
    ASSERT_TRUE(MakeShortcut(items + "\\upper.lnk", upper));
    EXPECT_TRUE(Picture(items + "\\upper.lnk").empty()) << "target ending in .EXE";
    ASSERT_TRUE(MakeShortcut(items + "\\Editor.LNK", SystemNotepad()));
    EXPECT_TRUE(Picture(items + "\\Editor.LNK").empty());
    std::string copied = items + "\\copied.exe";
    ASSERT_TRUE(CopyFileA(SystemNotepad().c_str(), copied.c_str(), FALSE));
    EXPECT_TRUE(Picture(copied).empty()) << "a program that is not a shortcut";
    std::string icon = items + "\\picture.ico";
    ASSERT_TRUE(CopyFileA((TestDataDirectory() + "\\picture.ico").c_str(), icon.c_str(), FALSE));
    EXPECT_TRUE(Picture(icon).empty());
    WriteBytes(items + "\\notes.txt", {'n'});
    ASSERT_TRUE(MakeShortcut(items + "\\notes.lnk", items + "\\notes.txt"));
    EXPECT_TRUE(Picture(items + "\\notes.lnk").empty()) << "a document";
    WriteBytes(items + "\\broken.lnk", {0, 1, 2});
    EXPECT_TRUE(Picture(items + "\\broken.lnk").empty());
    // A program on a drive that is not there (an empty removable drive).
    std::string missing = "Q:\\工具\\程序.exe";
    for (char d = 'Z'; d >= 'D'; --d) {
        if (!(GetLogicalDrives() & (1u << (d - 'A')))) missing[0] = d;
    }
    ASSERT_TRUE(MakeShortcut(items + "\\removable.lnk", missing));
    EXPECT_TRUE(Picture(items + "\\removable.lnk").empty()) << missing;
    EXPECT_EQ(0, CountEntries(run / kScratch));
}

// The user's file that takes the scratch name between the program's check
// and its write (made deterministic through the seam before the write).
std::string gTakenName;
void TakeTheNameFirst(const char* target) {
    if (!gTakenName.empty()) return;
    gTakenName = target;
    WriteBytes(gTakenName, {'m', 'i', 'n', 'e'});
}

TEST_F(PictureTest, AFileThatTakesTheScratchNameIsNeitherReplacedNorDeleted) {
    ASSERT_TRUE(MakeFolder(run / kScratch));
    ASSERT_TRUE(MakeShortcut(items + "\\编辑.lnk", SystemNotepad()));
    gTakenName.clear();
    SetBeforeIconSave(TakeTheNameFirst);
    std::vector<uint8_t> bytes = Picture(items + "\\编辑.lnk");
    SetBeforeIconSave(nullptr);
    ASSERT_FALSE(gTakenName.empty());
    EXPECT_EQ((std::vector<uint8_t>{'m', 'i', 'n', 'e'}), ReadBytes(gTakenName))
        << "the user's file is unchanged";
    EXPECT_EQ(1, CountEntries(run / kScratch)) << "only the program's own file is deleted";
    std::vector<IconImage> images;
    EXPECT_TRUE(ReadIconFile(bytes.data(), bytes.size(), &images))
        << "another name is drawn and the item still gets its picture";
}

// A file swapped in under the scratch name once the icon is written (the seam
// after the write) is neither read as the picture nor deleted.
std::string gSwappedName;
void SwapAFileIn(const char* target) {
    gSwappedName = target;
    DeleteFileA(target);
    WriteBytes(target, {'s', 'w', 'a', 'p'});
}

TEST_F(PictureTest, AFileSwappedInAfterTheWriteIsNeitherReadNorDeleted) {
    ASSERT_TRUE(MakeFolder(run / kScratch));
    ASSERT_TRUE(MakeShortcut(items + "\\编辑.lnk", SystemNotepad()));
    SetAfterIconSave(SwapAFileIn);
    std::vector<uint8_t> bytes = Picture(items + "\\编辑.lnk");
    SetAfterIconSave(nullptr);
    std::vector<IconImage> images;
    EXPECT_TRUE(ReadIconFile(bytes.data(), bytes.size(), &images)) << "the icon written is read";
    EXPECT_EQ((std::vector<uint8_t>{'s', 'w', 'a', 'p'}), ReadBytes(gSwappedName))
        << "the file swapped in is left alone";
}

// The slot of this program's import table through which its code (the runtime
// is linked in) calls `function` of kernel32, made writable; null when
// nothing here imports it.
void** ImportSlot(const char* function) {
    auto* base = reinterpret_cast<uint8_t*>(GetModuleHandleA(nullptr));
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
        base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    for (; d->Name; ++d) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), "kernel32.dll") != 0) continue;
        auto* name = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slot = reinterpret_cast<void**>(base + d->FirstThunk);
        for (; name->u1.AddressOfData; ++name, ++slot) {
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData);
            if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal) ||
                std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0)
                continue;
            DWORD was = 0;
            VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &was);
            return slot;
        }
    }
    return nullptr;
}

// Lookups of a target: its attributes, the folder test of its picture.
int gLookups = 0;
void* gAttributes = nullptr;
DWORD WINAPI CountedAttributes(const wchar_t* path) {
    ++gLookups;
    return reinterpret_cast<DWORD(WINAPI*)(const wchar_t*)>(gAttributes)(path);
}
BOOL WINAPI CountedIsDirectory(const char* path) {
    ++gLookups;
    return PathIsDirectoryA(path);
}

// A target that is not there (on an absent share each lookup can wait out a
// timeout) is looked up once, for its picture.
TEST_F(PictureTest, AMissingTargetIsLookedUpOnce) {
    ASSERT_TRUE(MakeShortcut(items + "\\gone.lnk", run / "不在"));
    void** attributes = ImportSlot("GetFileAttributesW");
    if (attributes)
        gAttributes = std::exchange(*attributes, reinterpret_cast<void*>(&CountedAttributes));
    OverrideExternalFunction(
        kPathIsDirectoryA, reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&CountedIsDirectory)));
    gLookups = 0;
    EXPECT_TRUE(Picture(items + "\\gone.lnk").empty());
    OverrideExternalFunction(kPathIsDirectoryA, nullptr);
    if (attributes) *attributes = gAttributes;
    EXPECT_EQ(1, gLookups);
}

TEST_F(PictureTest, FolderShortcutsGetTheFolderPictureEvenWithoutScratchFolder) {
    ASSERT_TRUE(MakeShortcut(items + "\\folder.lnk", run.Path()));
    ASSERT_TRUE(MakeShortcut(items + "\\program.lnk", SystemNotepad()));
    EXPECT_TRUE(IsFolderPicture(items + "\\folder.lnk"));
    EXPECT_TRUE(Picture(items + "\\program.lnk").empty()) << "no scratch folder, no program icon";
    EXPECT_FALSE(FileExists(run / kScratch)) << "the scratch folder is never created";
}

// The 32-bit build on 64-bit Windows shows the picture of the file the 64-bit
// shell opens, as the 64-bit build does: here a program that only the real
// System32 holds (by that name a 32-bit process is sent to SysWOW64). Wine's
// shortcuts keep no environment strings, so "%ProgramFiles%" is asked of the
// mapping itself.
TEST_F(PictureTest, TargetsAreTheFilesThe64BitSystemOpens) {
    ASSERT_TRUE(MakeFolder(run / kScratch));
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    char windows[MAX_PATH] = {};
    GetSystemWindowsDirectoryA(windows, MAX_PATH);
    const std::string name = "\\qd_picture64.exe", system = windows + std::string("\\System32");
    const std::string placed = (wow64 ? windows + std::string("\\Sysnative") : system) + name;
    ASSERT_TRUE(
        CopyFileA((TestDataDirectory() + "\\pe_wide.dll").c_str(), (items + name).c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((items + name).c_str(), placed.c_str(), FALSE));
    ASSERT_TRUE(MakeShortcut(items + "\\copy.lnk", items + name));
    ASSERT_TRUE(MakeShortcut(items + "\\system.lnk", system + name));
    const std::vector<uint8_t> shown = Picture(items + "\\system.lnk");
    DeleteFileA(placed.c_str());
    EXPECT_FALSE(shown.empty());
    EXPECT_EQ(Picture(items + "\\copy.lnk"), shown);

    HKEY key = nullptr;
    wchar_t programFiles[MAX_PATH] = {}, seen[MAX_PATH] = {};
    DWORD size = sizeof(programFiles) - sizeof(wchar_t);
    if (!wow64 || RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion",
                                0, KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
        return;
    RegQueryValueExW(key, L"ProgramFilesDir", nullptr, nullptr,
                     reinterpret_cast<BYTE*>(programFiles), &size);
    RegCloseKey(key);
    ExpandEnvironmentStringsW(L"%ProgramFiles%\\Tools\\app.exe", seen, MAX_PATH);  // this process's
    EXPECT_EQ(std::wstring(programFiles) + L"\\Tools\\app.exe",
              MapTargetToNativeSystem(seen, L"%ProgramFiles%\\Tools\\app.exe"));
}

TEST(RandomNumbers, ScratchNumbersAreOddAndInTheirWindow) {
    for (int i = 0; i < 3000; ++i) {
        OwnedText text(RandomInRange(156267, 252270, 1));
        int v = atoi(text.Get());
        ASSERT_EQ(1, v % 2) << v;
        ASSERT_GE(v, 156267);
        ASSERT_LE(v, 156267 + 32768);
    }
    for (int i = 0; i < 200; ++i) {
        OwnedText even(RandomInRange(10, 11, 2));
        int v = atoi(even.Get());
        ASSERT_TRUE(v == 10) << v << " (11 is the high end, so it steps down)";
        OwnedText wide(RandomInRange(-2147483647 - 1, 2147483647, 0));
        ASSERT_NE(nullptr, wide.Get()) << "the whole 32-bit range does not divide by zero";
    }
    OwnedText same(RandomInRange(8, 8, 1));
    EXPECT_STREQ("8", same.Get()) << "equal bounds: no parity adjustment";
}

std::vector<int32_t> Handles(ValueArray images) {
    std::vector<int32_t> handles;
    for (int32_t i = 0; i < ArrayCount(images); ++i)
        handles.push_back(ArrayData<int32_t>(images)[i]);
    return handles;
}

std::vector<int32_t> ReleasedImages() {
    std::vector<int32_t> released;
    for (const SkinCall& c : SkinCallsOf(SkinCommand::DestroyImageEx))
        released.push_back(c.args[0].AsInt());
    std::sort(released.begin(), released.end());
    return released;
}

// A rescan makes pictures only for what changed (an item in a renamed
// category keeps its own), releases the pictures of removed and rewritten
// items once each, rebuilds the toolbar in the new order and finds the
// category shown again by its folder name. Content the panel may no longer
// show is dropped with the pictures made for it.
TEST_F(ScanTest, ARescanMakesPicturesOnlyForWhatChanged) {
    ASSERT_TRUE(MakeFolder(Root()));
    ASSERT_TRUE(MakeFolder(run / kScratch));
    for (const char* name : {"01甲", "02乙", "03丙"}) ASSERT_TRUE(MakeFolder(Folder(name)));
    ASSERT_TRUE(MakeShortcut(Folder("01甲") + "\\a.lnk", SystemNotepad()));
    WriteBytes(Folder("01甲") + "\\b.txt", {'b'});
    const std::string rewritten = Folder("02乙") + "\\c.lnk";
    ASSERT_TRUE(MakeShortcut(rewritten, SystemNotepad()));
    WriteBytes(Folder("02乙") + "\\d.txt", {'d'});
    WriteBytes(Folder("03丙") + "\\e.txt", {'e'});
    ScanQuickLaunchFolder();
    const std::vector<int32_t> first = Handles(Category(0).images);
    const int32_t c = ArrayData<int32_t>(Category(1).images)[0];
    const int32_t e = ArrayData<int32_t>(Category(2).images)[0];
    CurrentCategory = 1;

    ASSERT_TRUE(MoveFileA(Folder("01甲").c_str(), Folder("05甲").c_str()));
    RemoveTree(Folder("03丙"));
    ASSERT_TRUE(MakeShortcut(rewritten, run.Path()));
    HANDLE file = CreateFileA(rewritten.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
    const FILETIME later = {0, 0x02000000};
    SetFileTime(file, nullptr, nullptr, &later);
    CloseHandle(file);
    ASSERT_TRUE(MakeShortcut(Folder("02乙") + "\\f.lnk", SystemNotepad()));
    SkinCalls().clear();

    EXPECT_EQ(0, RescanQuickLaunchFolder(nullptr)) << "乙, shown before, is first now";
    std::vector<SkinCall> loads = SkinCallsOf(SkinCommand::LoadImageEx);
    ASSERT_EQ(2u, loads.size()) << "the rewritten and the new shortcut";
    EXPECT_TRUE(loads[0].folderImage);
    EXPECT_FALSE(loads[1].bytes.empty());
    EXPECT_EQ((std::vector<int32_t>{std::min(c, e), std::max(c, e)}), ReleasedImages());
    ASSERT_EQ(SkinCommand::DeleteButton_ToolbarEx, SkinCalls()[2].command);
    EXPECT_EQ(-1, SkinCalls()[2].args[1].AsInt());
    std::vector<std::string> titles;
    for (const SkinCall& b : SkinCallsOf(SkinCommand::InsertButton_ToolbarEx))
        titles.push_back(b.text);
    EXPECT_EQ((std::vector<std::string>{"乙", "甲"}), titles);
    ASSERT_EQ(2, ArrayCount(CategoryList));
    EXPECT_EQ(first, Handles(Category(1).images)) << "the renamed category keeps its pictures";
    std::vector<int32_t> all = Handles(Category(0).images);
    all.insert(all.end(), first.begin(), first.end());
    EXPECT_EQ(all, Handles(ImageRegistry));
    EXPECT_EQ(0, CountEntries(run / kScratch));

    WriteBytes(Folder("02乙") + "\\g.txt", {'g'});
    SkinCalls().clear();
    EXPECT_EQ(-1, RescanQuickLaunchFolder([] { return false; }));
    loads = SkinCallsOf(SkinCommand::LoadImageEx);
    ASSERT_EQ(1u, loads.size());
    EXPECT_TRUE(SkinCallsOf(SkinCommand::InsertButton_ToolbarEx).empty());
    EXPECT_EQ(3, ArrayCount(Category(0).paths)) << "the shown content stays";
    EXPECT_EQ(all, Handles(ImageRegistry));
    EXPECT_EQ(1u, ReleasedImages().size());
}

// --- Toolbar and panel handlers ----------------------------------------------

TEST_F(ScanTest, ClicksOnButtonsWithoutCategoryAreIgnored) {
    int32_t one[] = {1};
    int32_t minus[] = {-1};
    OnToolbarButtonClicked(one, 1);
    OnToolbarButtonClicked(minus, 1);
    OnToolbarButtonClicked(nullptr, 0);
    EXPECT_TRUE(SkinCalls().empty());
    EXPECT_FALSE(OnToolbarEvent8(nullptr, 0).given);
}

TEST_F(ScanTest, DestroyingThePanelReleasesEveryPictureOnce) {
    ASSERT_TRUE(MakeFolder(Root()));
    for (const char* name : {"01a", "02b"}) {
        ASSERT_TRUE(MakeFolder(Folder(name)));
        WriteBytes(Folder(name) + "\\one.txt", {'1'});
        WriteBytes(Folder(name) + "\\two.txt", {'2'});
    }
    ScanQuickLaunchFolder();
    std::vector<int32_t> created;
    for (int32_t i = 0; i < ArrayCount(ImageRegistry); ++i)
        created.push_back(ArrayData<int32_t>(ImageRegistry)[i]);
    ASSERT_EQ(4u, created.size());
    SkinCalls().clear();
    EXPECT_FALSE(OnPanelDestroying(nullptr, 0).given);
    std::vector<int32_t> released;
    for (const SkinCall& c : SkinCalls()) {
        ASSERT_EQ(SkinCommand::DestroyImageEx, c.command);
        released.push_back(c.args[0].AsInt());
    }
    EXPECT_EQ(created, released);
}

TEST(PanelClose, CloseRequestIsRefused) {
    HandlerResult answer = OnPanelMayClose(nullptr, 0);
    EXPECT_TRUE(answer.given);
    EXPECT_EQ(0, answer.value);
}

}  // namespace
