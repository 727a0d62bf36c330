// SaveIconToFile, ReadShortcut and OpenWithShell through their command tables,
// on real modules, icon files and shortcuts.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "runtime/library/Commands.h"
#include "fuzz/PeImageModule.h"
#include "runtime/library/icon/IconFile.h"
#include "runtime/library/icon/IconLibrary.h"
#include "runtime/library/icon/ModuleIcons.h"
#include "runtime/process/Runtime.h"
#include "runtime/library/shell/ShellCommands.h"
#include "runtime/library/shell/ShellLibrary.h"
#include "tests/launch/LaunchTestSupport.h"

namespace {

int32_t SaveIcon(std::vector<ArgumentRecord> args) {
    ResultRecord result{};
    IconLibrary().commands[static_cast<int>(IconCommand::SaveIconToFile)](
        &result, static_cast<int32_t>(args.size()), args.data());
    return result.AsInt();
}

std::vector<IconImage> IconFileImages(const std::string& path) {
    std::vector<uint8_t> bytes = ReadBytes(path);
    std::vector<IconImage> images;
    EXPECT_TRUE(ReadIconFile(bytes.data(), bytes.size(), &images)) << path;
    return images;
}

// A bitmap image as written: the header's image-size field zeroed.
std::vector<uint8_t> AsWritten(std::vector<uint8_t> image) {
    if (image.size() >= 40 && image[0] == 40) std::fill(image.begin() + 20, image.begin() + 24, 0);
    return image;
}

class IconLibraryTest : public ::testing::Test {
  protected:
    TempFolder out{"icons"};
    std::string data = TestDataDirectory();
};

TEST_F(IconLibraryTest, IconFileToIconFileKeepsTheImagesAndCountsOne) {
    std::string target = out / "copy.ico";
    EXPECT_EQ(1, SaveIcon({ArgText((data + "\\picture.ico").c_str()), ArgInt(0),
                           ArgText(target.c_str())}));
    std::vector<IconImage> images = IconFileImages(target);
    ASSERT_EQ(2u, images.size());
    EXPECT_EQ(AsWritten(ReadBytes(data + "\\small.bin")), images[0].data);
    EXPECT_EQ(32, images[0].width);
    EXPECT_EQ(ReadBytes(data + "\\large.png"), images[1].data);
    EXPECT_EQ(0, images[1].width);
}

TEST_F(IconLibraryTest, ModuleGroupWithPngImageIsWrittenIntact) {
    std::string target = out / "png.ico";
    EXPECT_EQ(1, SaveIcon({ArgText((LaunchTestDirectory() + "\\launch_png_icons.dll").c_str()),
                           ArgInt(0), ArgText(target.c_str()), ArgInt(1)}));
    std::vector<IconImage> images = IconFileImages(target);
    ASSERT_EQ(2u, images.size());
    EXPECT_EQ(AsWritten(ReadBytes(data + "\\small.bin")), images[0].data);
    EXPECT_EQ(ReadBytes(data + "\\large.png"), images[1].data) << "PNG bytes copied unchanged";
    EXPECT_EQ(0, images[1].width) << "256 pixels";
    EXPECT_EQ(0, images[1].height);
    EXPECT_EQ(32, images[1].bitCount);
    EXPECT_EQ(1, images[1].planes);
}

TEST_F(IconLibraryTest, DamagedGroupKeepsItsSoundMembers) {
    std::string target = out / "damaged.ico";
    EXPECT_EQ(1, SaveIcon({ArgText((LaunchTestDirectory() + "\\launch_damaged_icons.dll").c_str()),
                           ArgInt(0), ArgText(target.c_str()), ArgInt(1)}));
    std::vector<IconImage> images = IconFileImages(target);
    ASSERT_EQ(1u, images.size()) << "missing and garbage members skipped";
    EXPECT_EQ(AsWritten(ReadBytes(data + "\\tiny.bin")), images[0].data);
    EXPECT_EQ(16, images[0].width);
}

TEST_F(IconLibraryTest, ProgramIconMatchesItsFirstGroup) {
    std::string target = out / "notepad.ico";
    int32_t groups =
        SaveIcon({ArgText(SystemNotepad().c_str()), ArgInt(0), ArgText(target.c_str()), ArgInt(0)});
    EXPECT_GE(groups, 1);
    std::vector<std::vector<uint8_t>> expected = FirstGroupImages(SystemNotepad());
    ASSERT_FALSE(expected.empty());
    std::vector<IconImage> images = IconFileImages(target);
    ASSERT_EQ(expected.size(), images.size());
    for (size_t i = 0; i < images.size(); ++i)
        EXPECT_EQ(AsWritten(expected[i]), images[i].data) << i;
}

// The fuzzers read programs through their own reader of the file
// (fuzz/PeImageModule) where the product asks the system's loader. On our
// programs, odd layouts included (named groups, languages, entries out of
// order, a size past the end of the file, shared and repeated images, a cut
// file), both must count the same groups and write the same icon file.
TEST_F(IconLibraryTest, FuzzersReadProgramsAsTheSystemLoaderDoes) {
    std::vector<std::string> modules = {LaunchTestDirectory() + "\\launch_png_icons.dll",
                                        LaunchTestDirectory() + "\\launch_damaged_icons.dll"};
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((data + "\\pe_*.dll").c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    do {
        modules.push_back(data + "\\" + found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    ASSERT_GE(modules.size(), 12u);

    const std::string target = out / "icon.ico";
    int iconsWritten = 0;
    for (const std::string& module : modules) {
        const std::vector<uint8_t> bytes = ReadBytes(module);
        const PeImageModule file(bytes.data(), bytes.size());
        ASSERT_TRUE(file.Loaded()) << module;
        const int32_t groups = ReadModuleIcon(file, 0).groupCount;
        for (int32_t number = 1; number <= std::max(groups, 1) + 1; ++number) {
            const std::vector<IconImage> images = ReadModuleIcon(file, number).images;
            DeleteFileA(target.c_str());
            EXPECT_EQ(groups, SaveIcon({ArgText(module.c_str()), ArgInt(0), ArgText(target.c_str()),
                                        ArgInt(number)}))
                << module;
            const std::vector<uint8_t> written =
                FileExists(target) ? ReadBytes(target) : std::vector<uint8_t>();
            EXPECT_EQ(images.empty() ? std::vector<uint8_t>() : WriteIconFile(images), written)
                << module << " group " << number << " of " << groups;
            iconsWritten += written.empty() ? 0 : 1;
        }
    }
    EXPECT_GE(iconsWritten, 12);
}

TEST_F(IconLibraryTest, KindsModesAndCounts) {
    std::string notepadUpper = SystemNotepad();
    notepadUpper.replace(notepadUpper.size() - 3, 3, "EXE");
    std::string target = out / "x.ICO";
    // Count only: the default mode, and any mode other than 0.
    int32_t groups = SaveIcon({ArgText(SystemNotepad().c_str())});
    EXPECT_GE(groups, 1);
    EXPECT_EQ(groups,
              SaveIcon({ArgText(notepadUpper.c_str()), ArgInt(7), ArgText(target.c_str())}));
    EXPECT_FALSE(FileExists(target));
    // Kinds are read case-insensitively from the last three characters.
    EXPECT_EQ(groups,
              SaveIcon({ArgText(notepadUpper.c_str()), ArgInt(0), ArgText(target.c_str())}));
    EXPECT_TRUE(FileExists(target));
    // Mode 0 without a target does nothing.
    EXPECT_EQ(0, SaveIcon({ArgText(SystemNotepad().c_str()), ArgInt(0)}));
    // A group number past the count writes nothing.
    std::string none = out / "none.ico";
    EXPECT_EQ(groups, SaveIcon({ArgText(SystemNotepad().c_str()), ArgInt(0), ArgText(none.c_str()),
                                ArgInt(groups + 1)}));
    EXPECT_FALSE(FileExists(none));
    // Other target kinds write nothing.
    std::string png = out / "x.png";
    SaveIcon({ArgText(SystemNotepad().c_str()), ArgInt(0), ArgText(png.c_str())});
    EXPECT_FALSE(FileExists(png));
    // Sources of no known kind, and modules that cannot be loaded, count 0.
    EXPECT_EQ(0, SaveIcon({ArgText((data + "\\large.png").c_str()), ArgInt(0),
                           ArgText((out / "y.ico").c_str())}));
    EXPECT_EQ(0, SaveIcon({ArgText((out / "missing.exe").c_str())}));
    // An unreadable icon file still counts one and writes nothing.
    std::string broken = out / "broken.ico";
    WriteBytes(broken, {0, 0, 1, 0, 5, 0});
    EXPECT_EQ(1, SaveIcon({ArgText(broken.c_str()), ArgInt(0), ArgText((out / "z.ico").c_str())}));
    EXPECT_FALSE(FileExists(out / "z.ico"));
}

// --- Shortcuts ---------------------------------------------------------------

struct ShortcutOutputs {
    Text target = nullptr, arguments = nullptr, directory = nullptr, icon = nullptr;
    int32_t show = -1;
    Text hotKey = nullptr;
    Text description = nullptr;
    ~ShortcutOutputs() {
        for (Text t : {target, arguments, directory, icon, hotKey, description}) FreeBlock(t);
    }
};

std::string ReadShortcutCommand(const std::string& path, ShortcutOutputs* o) {
    std::vector<ArgumentRecord> args = {ArgText(path.c_str()),
                                        ArgReference(&o->target, Tag::kText),
                                        ArgReference(&o->arguments, Tag::kText),
                                        ArgReference(&o->directory, Tag::kText),
                                        ArgReference(&o->icon, Tag::kText),
                                        ArgReference(&o->show, Tag::kInteger),
                                        ArgReference(&o->hotKey, Tag::kText),
                                        ArgReference(&o->description, Tag::kText)};
    ResultRecord result{};
    ShellLibrary().commands[static_cast<int>(ShellCommand::ReadShortcut)](
        &result, static_cast<int32_t>(args.size()), args.data());
    Text text = const_cast<Text>(result.AsText());
    std::string s = TextOrEmpty(text);
    FreeBlock(text);
    return s;
}

TEST(ShortcutReading, AllSevenOutputs) {
    TempFolder folder("lnk");
    ShortcutSpec recipe;
    recipe.target = SystemNotepad();
    recipe.arguments = "-a \"b c\"";
    recipe.workingDirectory = folder.Path();
    recipe.iconPath = SystemNotepad();
    recipe.iconIndex = 2;
    recipe.showCommand = SW_SHOWMAXIMIZED;
    recipe.hotKey = MAKEWORD('K', HOTKEYF_ALT | HOTKEYF_CONTROL);
    recipe.description = "记事本";
    ASSERT_TRUE(MakeShortcut(folder / "编辑器.lnk", recipe));

    ShortcutOutputs o;
    std::string result = ReadShortcutCommand(folder / "编辑器.lnk", &o);
    EXPECT_STRCASEEQ(SystemNotepad().c_str(), TextOrEmpty(o.target));
    EXPECT_STREQ("-a \"b c\"", TextOrEmpty(o.arguments));
    EXPECT_STRCASEEQ((std::string(TextOrEmpty(o.target)) + " -a \"b c\"").c_str(), result.c_str());
    EXPECT_STRCASEEQ(folder.Path().c_str(), TextOrEmpty(o.directory));
    EXPECT_STRCASEEQ((SystemNotepad() + ",2").c_str(), TextOrEmpty(o.icon));
    EXPECT_NE(-1, o.show);  // Wine's shortcuts do not keep the show command itself
    EXPECT_STREQ("Ctrl + Alt + K", TextOrEmpty(o.hotKey));
    EXPECT_STREQ("记事本", TextOrEmpty(o.description));
}

TEST(ShortcutReading, LnkAppendedOnlyWhenMissing) {
    TempFolder folder("lnk");
    ASSERT_TRUE(MakeShortcut(folder / "tool.lnk", SystemNotepad()));
    ASSERT_TRUE(MakeShortcut(folder / "tool.LNK.x.lnk", SystemNotepad()));
    ShortcutOutputs a, b, c;
    EXPECT_STRCASEEQ(SystemNotepad().c_str(), ReadShortcutCommand(folder / "tool", &a).c_str());
    // Contains ".LNK" already: used unchanged, so "tool.LNK.x" is not completed.
    EXPECT_EQ("", ReadShortcutCommand(folder / "tool.LNK.x", &b));
    EXPECT_STRCASEEQ(SystemNotepad().c_str(),
                     ReadShortcutCommand(folder / "tool.LNK.x.lnk", &c).c_str());
    EXPECT_EQ(nullptr, b.target);
}

TEST(ShortcutReading, UnreadableAndWrongTypedOutputs) {
    TempFolder folder("lnk");
    WriteBytes(folder / "broken.lnk", {1, 2, 3});
    ShortcutOutputs o;
    EXPECT_EQ("", ReadShortcutCommand(folder / "broken.lnk", &o));

    ASSERT_TRUE(MakeShortcut(folder / "ok.lnk", SystemNotepad()));
    int32_t notText = 77;
    Text notInteger = nullptr;
    std::vector<ArgumentRecord> args = {ArgText((folder / "ok.lnk").c_str()),
                                        ArgReference(&notText, Tag::kInteger),
                                        ArgOmitted(),
                                        ArgOmitted(),
                                        ArgOmitted(),
                                        ArgReference(&notInteger, Tag::kText)};
    ResultRecord result{};
    ShellLibrary().commands[static_cast<int>(ShellCommand::ReadShortcut)](
        &result, static_cast<int32_t>(args.size()), args.data());
    FreeBlock(const_cast<Text>(result.AsText()));
    EXPECT_EQ(77, notText) << "an output of the wrong type is left alone";
    EXPECT_EQ(nullptr, notInteger);
}

// --- Shell -------------------------------------------------------------------

TEST(ShellOpening, VerbsParametersDirectoryReachTheProgram) {
    TempFolder folder("shell");
    std::string marker = folder / "标记 程序.exe";
    ASSERT_TRUE(CopyFileA((LaunchTestDirectory() + "\\test_support_marker.exe").c_str(),
                          marker.c_str(), FALSE));
    std::string work = folder / "工作 目录";
    ASSERT_TRUE(MakeFolder(work));

    std::vector<ArgumentRecord> open = {ArgInt(4), ArgText(marker.c_str()), ArgText("一 two"),
                                        ArgText(work.c_str()), ArgInt(2)};
    ResultRecord result{};
    ShellLibrary().commands[static_cast<int>(ShellCommand::OpenWithShell)](&result, 5, open.data());
    EXPECT_EQ(0u, result.low | result.high);
    EXPECT_EQ(0u, result.tag);
    std::vector<std::string> lines = WaitForMarkerRecords(marker + ".runs.txt", 1);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ("一 two", lines[0]);
    EXPECT_STRCASEEQ(work.c_str(), lines[1].c_str());

    // Verb 9 is the default verb, which runs a program too; no parameters given.
    std::vector<ArgumentRecord> byDefault = {ArgInt(9), ArgText(marker.c_str())};
    ShellLibrary().commands[static_cast<int>(ShellCommand::OpenWithShell)](&result, 2,
                                                                           byDefault.data());
    lines = WaitForMarkerRecords(marker + ".runs.txt", 2);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ("", lines[2]);
}

}  // namespace
