// The release as a user gets it, in the folder that the release archive
// unpacked to (given on the command line, as the package check runs it).
// QuickDock.exe started there against the taskbar stand-in embeds its button,
// and its panel shows the archive's three empty sample categories. The guide
// there quotes the program's own texts and names, and its examples of
// category titles are what the program makes of those names.
//   test_release_unpacked.exe FOLDER [PICTURE.bmp]
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "app/common/CategoryTitle.h"
#include "app/common/ProgramFolders.h"
#include "runtime/library/system/SystemLibrary.h"
#include "runtime/process/RuntimeMessages.h"
#include "tests/e2e/DesktopSupport.h"
#include "tests/support/DockProgram.h"
#include "tests/support/ProcessWatch.h"
#include "tests/support/TaskbarStandInClient.h"
#include "ui/description/WindowGeometry.h"
#include "ui/skin/SkinControls.h"

namespace {

constexpr int kButtonPitch = 40, kButtonHeight = 36, kToolbarPadding = 6;
constexpr int kCellWidth = 74, kIconSize = 48, kColumns = 4;

std::string gFolder, gPicture;

class UnpackedProgram : public ::testing::Test {
  protected:
    void TearDown() override {
        if (!program_.Process()) return;
        program_.Stop();
        ForgetAutoStart();
    }
    // The program registered the unpacked copy to start with Windows; the
    // folder goes away after the check, so the value goes too.
    static void ForgetAutoStart() {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) !=
            ERROR_SUCCESS)
            return;
        char value[1024] = {};
        DWORD size = sizeof(value) - 1;
        if (RegQueryValueExA(key, "QuickDock.exe", nullptr, nullptr, reinterpret_cast<BYTE*>(value),
                             &size) == ERROR_SUCCESS &&
            std::string(value).find(gFolder) != std::string::npos)
            RegDeleteValueA(key, "QuickDock.exe");
        RegCloseKey(key);
    }
    bool Start() { return program_.Start(gFolder); }
    HWND Dock(HWND taskbar) const { return program_.DockIn(taskbar); }
    HWND Panel() const { return program_.Panel(); }
    DockProgram program_;
};

TEST_F(UnpackedProgram, StartsEmbedsAndShowsTheThreeEmptyCategories) {
    TaskbarStandIn standIn;
    char tree[96];
    std::snprintf(tree, sizeof(tree), "--tree TrayNotifyWnd:%d:300(TrayButton:10:40)",
                  GetSystemMetrics(SM_CXSCREEN) - 780);
    ASSERT_TRUE(standIn.Start(tree));
    HWND trayButton = standIn.Find("TrayButton");
    const RECT buttonBox = standIn.Entry(trayButton)->box;

    ASSERT_TRUE(Start());
    HWND dock = nullptr, panel = nullptr;
    ASSERT_TRUE(Eventually([&] { return (dock = Dock(standIn.Taskbar())) != nullptr; }));
    EXPECT_TRUE(Eventually([&] { return Box(dock).left == buttonBox.left; }));
    EXPECT_TRUE(Eventually([&] { return !IsWindowVisible(trayButton); }));
    ASSERT_TRUE(Eventually([&] { return (panel = Panel()) != nullptr; }));
    HWND toolbar = FindWindowExA(panel, nullptr, "ToolbarEx", nullptr);
    HWND list = FindWindowExA(panel, nullptr, "IcoListboxEx", nullptr);
    ASSERT_NE(toolbar, nullptr);
    ASSERT_NE(list, nullptr);

    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const POINT dockCentre = {(Box(dock).left + Box(dock).right) / 2,
                              (Box(dock).top + Box(dock).bottom) / 2};
    ClickAt(dockCentre.x, dockCentre.y);
    ASSERT_TRUE(Eventually([&] { return Box(panel).left == screenWidth - kPanelWidth; }))
        << "the panel did not slide in";
    MoveMouse(screenWidth - kPanelWidth - 60, Box(panel).top + 60);
    Settle(500);

    const RECT box = Box(panel);
    ScreenPicture picture(box);
    if (!gPicture.empty()) picture.SaveBmp(gPicture);
    auto local = [&](const RECT& r) {
        return RECT{r.left - box.left, r.top - box.top, r.right - box.left, r.bottom - box.top};
    };
    // A button's title: drawn for the three categories, nothing below them.
    const RECT bar = Box(toolbar);
    auto title = [&](int index) {
        const int top = bar.top + kToolbarPadding + index * kButtonPitch;
        return local(RECT{bar.left + kToolbarPadding + 12, top, bar.right - kToolbarPadding,
                          top + kButtonHeight});
    };
    for (int i = 0; i < 3; ++i) EXPECT_GT(picture.CountColours(title(i)), 6) << "button " << i;
    EXPECT_LT(picture.CountColours(title(3)), 4) << "a fourth category button";
    // The first category is shown, and it is empty: no item in the list.
    const RECT listBox = local(Box(list));
    const COLORREF background = picture.At(listBox.right - 30, listBox.bottom - 12);
    for (int i = 0; i < kColumns; ++i) {
        const int left = listBox.left + 1 + i * kCellWidth + (kCellWidth - kIconSize) / 2;
        const RECT icon = {left, listBox.top + 12, left + kIconSize, listBox.top + 12 + kIconSize};
        EXPECT_LT(picture.CountDifferent(icon, background), 20) << "an item at place " << i;
    }
}

std::wstring WideOf(const std::string& text, UINT codePage) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()),
                                    &wide[0], static_cast<int>(wide.size())));
    return wide;
}
std::string Gbk(const std::wstring& wide) {
    std::string text(wide.size() * 2, '\0');
    text.resize(WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), &text[0],
                                    static_cast<int>(text.size()), nullptr, nullptr));
    return text;
}

// A text of the program as the guide quotes it: in quotes, a value filled in
// at run time ("%d", "%s") shown as "……".
std::wstring AsQuoted(const char* text) {
    const std::string filled = std::regex_replace(std::string(text), std::regex("%[ds]"), "……");
    return L"\u201c" + WideOf(filled, 936) + L"\u201d";
}

TEST(ReleaseGuide, QuotesTheProgramAndShowsItsTitles) {
    std::ifstream file(gFolder + "\\使用说明.txt", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    // Read as Notepad shows it (UTF-8), words joined across wrapped lines.
    std::wstring guide = WideOf(bytes, CP_UTF8);
    guide = std::regex_replace(guide, std::wregex(L"\r\n *"), L"");
    ASSERT_FALSE(guide.empty());
    auto mentions = [&](const std::wstring& part) {
        return guide.find(part) != std::wstring::npos ? ::testing::AssertionSuccess()
                                                      : ::testing::AssertionFailure() << Gbk(part);
    };

    EXPECT_TRUE(mentions(AsQuoted(kQuickLaunchFolderName)));
    EXPECT_TRUE(mentions(AsQuoted(kIconScratchFolderName)));
    // Where automatic start is registered, and the commands that remove it.
    const std::wstring run = WideOf(kRunKey, 936);
    const std::wstring wow64Run =
        std::regex_replace(run, std::wregex(L"^Software\\\\"), L"Software\\WOW6432Node\\");
    for (const std::wstring& key :
         {L"HKEY_LOCAL_MACHINE\\" + run, L"HKEY_CURRENT_USER\\" + run,
          L"HKEY_LOCAL_MACHINE\\" + wow64Run, L"K=" + run, L"K=" + wow64Run})
        EXPECT_TRUE(mentions(key));
    // Every box the program can show, word for word.
    for (const char* text :
         {kMissingEngineCaption, kMissingEngineText, RuntimeMessage::kCaption,
          RuntimeMessage::kHeading, RuntimeMessage::kCodeLabel, RuntimeMessage::kMessageLabel,
          RuntimeMessage::kNoSuchWindow, RuntimeMessage::kNoSuchComponent})
        EXPECT_TRUE(mentions(AsQuoted(text)));
    for (const char* text : RuntimeMessage::kAllUnnumbered) EXPECT_TRUE(mentions(AsQuoted(text)));
    for (const char* text : RuntimeMessage::kNumbered) EXPECT_TRUE(mentions(AsQuoted(text)));
    // "“04游戏”显示为“游戏”": each example is the title the program shows.
    const std::wregex example(
        L"\u201c([^\u201d]+)\u201d\u663e\u793a\u4e3a\u201c([^\u201d]*)\u201d");
    int examples = 0;
    for (std::wsregex_iterator at(guide.begin(), guide.end(), example), end; at != end; ++at) {
        OwnedText title(CategoryTitle(Gbk((*at)[1]).c_str()));
        EXPECT_EQ(Gbk((*at)[2]), TextOrEmpty(title.Get())) << Gbk((*at)[1]);
        ++examples;
    }
    EXPECT_GE(examples, 4) << "the guide shows how names become titles";
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: test_release_unpacked.exe FOLDER [PICTURE.bmp]\n");
        return 2;
    }
    gFolder = argv[1];
    if (argc > 2) gPicture = argv[2];
    return RUN_ALL_TESTS();
}
