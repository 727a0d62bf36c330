// The folder scan and item pictures over hostile trees, in the test process
// with the real libraries and a recording skin library: every file is listed
// in its category, every item gets exactly one picture call, and the scratch
// folder is left exactly as it was.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <new>

#include "app/common/Globals.h"
#include "app/launch/QuickLaunchScan.h"
#include "runtime/library/icon/IconFile.h"
#include "tests/hostile/HostileTrees.h"
#include "tests/launch/LaunchTestProgram.h"
#include "tests/launch/LaunchTestSupport.h"

// Allocations above a size can be refused, to see what an allocation failure
// in the middle of the scan does.
namespace {
std::atomic<size_t> gRefuseAllocationsAbove{0};
}  // namespace

void* operator new(size_t size) {
    const size_t limit = gRefuseAllocationsAbove.load();
    if (limit && size > limit) throw std::bad_alloc();
    if (void* block = HeapAlloc(GetProcessHeap(), 0, size ? size : 1)) return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
    if (block) HeapFree(GetProcessHeap(), 0, block);
}
void operator delete(void* block, size_t) noexcept {
    if (block) HeapFree(GetProcessHeap(), 0, block);
}

namespace {

class HostileScan : public ::testing::Test {
  protected:
    void SetUp() override {
        InstallLaunchTestProgramIn(run.Path());
        ASSERT_TRUE(MakeFolder(Root()));
        ASSERT_TRUE(MakeFolder(Scratch()));
    }
    void TearDown() override {
        ResetGlobalLists();
        RemoveTreeWide(run.Path());
    }
    std::string Root() const { return run / kQuickLaunchRoot; }
    std::string Scratch() const { return run / kScratchFolder; }

    // Scans and checks that every file on disk became an item with one picture.
    void ScanListsEveryFile() {
        const std::vector<std::string> before = Snapshot(Scratch());
        const std::vector<std::string> folders = SubfolderPaths(Root());
        int files = 0;
        std::string onDisk;
        for (const std::string& folder : folders) {
            files += CountFiles(folder);
            onDisk +=
                folder.substr(Root().size()) + ": " + std::to_string(CountFiles(folder)) + "\n";
        }

        ScanQuickLaunchFolder();

        EXPECT_EQ(int(folders.size()), ArrayCount(CategoryList)) << "one category per folder";
        EXPECT_EQ(folders.size(), SkinCallsOf(SkinCommand::InsertButton_ToolbarEx).size());
        int listed = 0;
        std::string shown;
        for (int32_t k = 0; k < ArrayCount(CategoryList); ++k) {
            const LaunchCategory& category = ArrayData<LaunchCategory>(CategoryList)[k];
            EXPECT_EQ(ArrayCount(category.images), ArrayCount(category.paths));
            listed += ArrayCount(category.paths);
            for (int32_t j = 0; j < ArrayCount(category.paths); ++j)
                shown += std::string(TextOrEmpty(ArrayData<Text>(category.paths)[j])) + "\n";
        }
        EXPECT_EQ(files, listed) << "every file is an item; on disk:\n"
                                 << onDisk << "listed:\n"
                                 << shown;
        EXPECT_EQ(size_t(files), SkinCallsOf(SkinCommand::LoadImageEx).size());
        EXPECT_EQ(before, Snapshot(Scratch())) << "the scratch folder is left as it was";
    }

    TempFolder run{"hostile_scan"};
};

TEST_F(HostileScan, BrokenShortcutsAreListedWithoutPictures) {
    BuildBrokenShortcuts(Root() + "\\01坏");
    ScanListsEveryFile();
    for (const SkinCall& call : SkinCallsOf(SkinCommand::LoadImageEx))
        EXPECT_TRUE(call.bytes.empty() || call.folderImage);
}

TEST_F(HostileScan, ProgramsWithDamagedIconsKeepWhatCanBeRead) {
    BuildDamagedIcons(Root() + "\\02图标", LaunchTestDirectory());
    ScanListsEveryFile();
    // Sorted: count_over, empty_group, missing_member, past_end, png_only, then the two Chinese
    // names.
    std::vector<SkinCall> images = SkinCallsOf(SkinCommand::LoadImageEx);
    ASSERT_EQ(7u, images.size());
    std::vector<IconImage> icon;
    ASSERT_TRUE(ReadIconFile(images[0].bytes.data(), images[0].bytes.size(), &icon))
        << "the one member that exists survives a count past the directory";
    EXPECT_EQ(1u, icon.size());
    EXPECT_TRUE(images[1].bytes.empty()) << "a group of 0 images gives no picture";
    EXPECT_TRUE(images[2].bytes.empty()) << "members without images give no picture";
    EXPECT_TRUE(images[3].bytes.empty() ||
                (ReadIconFile(images[3].bytes.data(), images[3].bytes.size(), &icon)))
        << "damaged sizes never give a damaged icon file";
    ASSERT_TRUE(ReadIconFile(images[4].bytes.data(), images[4].bytes.size(), &icon));
    EXPECT_EQ(2u, icon.size()) << "PNG-only groups keep both images";
    EXPECT_TRUE(images[5].bytes.empty());
    EXPECT_TRUE(images[6].bytes.empty());
}

// A program whose icon group names one 8 KiB image 65,535 times made a 524 MB
// icon file and about 1 GB of memory at every start. The image is written
// once; the rest of the folder is shown as always.
TEST_F(HostileScan, AGroupNamingOneImageOverAndOverGivesItOnce) {
    BuildIconBlowUps(Root() + "\\04巨大", LaunchTestDirectory());
    ScanListsEveryFile();
    const std::vector<SkinCall> images = SkinCallsOf(SkinCommand::LoadImageEx);
    ASSERT_EQ(3u, images.size());  // blowup, large_image, png_only
    std::vector<IconImage> icon;
    ASSERT_TRUE(ReadIconFile(images[0].bytes.data(), images[0].bytes.size(), &icon));
    EXPECT_EQ(1u, icon.size());
    EXPECT_LT(images[0].bytes.size(), 16384u);
    ASSERT_TRUE(ReadIconFile(images[1].bytes.data(), images[1].bytes.size(), &icon));
    EXPECT_EQ(2u, icon.size());
    ASSERT_TRUE(ReadIconFile(images[2].bytes.data(), images[2].bytes.size(), &icon));
    EXPECT_EQ(2u, icon.size());
}

// An allocation that fails while an icon is collected (the address space of a
// 32-bit process runs out) costs that item its picture and nothing else.
TEST_F(HostileScan, AnAllocationFailureCostsOnlyThatItemsPicture) {
    BuildIconBlowUps(Root() + "\\04巨大", LaunchTestDirectory());
    gRefuseAllocationsAbove = 256 * 1024;
    ScanListsEveryFile();
    gRefuseAllocationsAbove = 0;
    const std::vector<SkinCall> images = SkinCallsOf(SkinCommand::LoadImageEx);
    ASSERT_EQ(3u, images.size());
    std::vector<IconImage> icon;
    // The 65,535 members of the blow-up's group need 1 MiB themselves.
    EXPECT_TRUE(images[0].bytes.empty());
    EXPECT_TRUE(images[1].bytes.empty()) << "the 512 KiB image could not be had";
    ASSERT_TRUE(ReadIconFile(images[2].bytes.data(), images[2].bytes.size(), &icon));
    EXPECT_EQ(2u, icon.size());
}

TEST_F(HostileScan, OddNamesAndLongPathsAreListed) {
    BuildHostileNames(Root());
    ScanListsEveryFile();
}

TEST(HostileScratch, NoFileOfTheUsersIsOverwrittenWhenEveryNameIsTaken) {
    InstallLaunchTestProgram();
    const std::string run = TakenScratchRunFolder();
    const std::string scratch = run + "\\" + kScratchFolder;
    const std::string root = run + "\\" + kQuickLaunchRoot;
    SetTestRunDirectory(run);
    ResetGlobalLists();
    RemoveTreeWide(root);
    MakeFolder(root);
    MakeFolder(root + "\\01记事本");
    ASSERT_TRUE(MakeShortcut(root + "\\01记事本\\note.lnk", SystemNotepad()));
    const std::vector<std::string> before = Snapshot(scratch);
    ASSERT_EQ(16385u, before.size());

    ScanQuickLaunchFolder();

    ASSERT_EQ(1u, SkinCallsOf(SkinCommand::LoadImageEx).size());
    EXPECT_TRUE(SkinCallsOf(SkinCommand::LoadImageEx)[0].bytes.empty())
        << "no scratch name is free, so the program gets no picture";
    EXPECT_EQ(before, Snapshot(scratch));
    RemoveTreeWide(root);
    ResetGlobalLists();
}

TEST_F(HostileScan, ScratchFolderReadOnlyOrMissing) {
    MakeFolder(Root() + "\\01记事本");
    MakeShortcut(Root() + "\\01记事本\\note.lnk", SystemNotepad());

    // Read-only: whatever the system makes of it, nothing is left behind.
    SetFileAttributesA(Scratch().c_str(), FILE_ATTRIBUTE_READONLY);
    ScanListsEveryFile();
    SetFileAttributesA(Scratch().c_str(), FILE_ATTRIBUTE_NORMAL);

    // Missing: no picture, and the folder is not created.
    RemoveTreeWide(Scratch());
    ResetGlobalLists();
    SkinCalls().clear();
    ScanQuickLaunchFolder();
    ASSERT_EQ(1u, SkinCallsOf(SkinCommand::LoadImageEx).size());
    EXPECT_TRUE(SkinCallsOf(SkinCommand::LoadImageEx)[0].bytes.empty());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(Scratch().c_str()));
}

}  // namespace
