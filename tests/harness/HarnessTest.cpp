// The test host itself: everything else assumes these facts of the Wine setup.
#include <windows.h>
#include <gtest/gtest.h>
#include <cstring>

TEST(Harness, AnsiCodePageIsGbk) {
    // Without the generated zh_CN.UTF-8 locale Wine silently stays at 1252
    // and every GBK folder name turns into mojibake.
    EXPECT_EQ(936u, GetACP());
}

TEST(Harness, LiteralsAreGbkBytes) {
    const char* folder = "快速启动目录";
    const unsigned char expected[] = {0xBF, 0xEC, 0xCB, 0xD9, 0xC6, 0xF4,
                                      0xB6, 0xAF, 0xC4, 0xBF, 0xC2, 0xBC};
    ASSERT_EQ(sizeof(expected), std::strlen(folder));
    EXPECT_EQ(0, std::memcmp(folder, expected, sizeof(expected)));
}

TEST(Harness, GbkFolderNamesRoundTrip) {
    char dir[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, dir), 0u);
    std::strcat(dir, "快速启动目录_harness");
    RemoveDirectoryA(dir);
    ASSERT_TRUE(CreateDirectoryA(dir, nullptr));
    WIN32_FIND_DATAA fd;
    std::string pattern = std::string(dir);
    HANDLE h = FindFirstFileA(pattern.c_str(), &fd);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    FindClose(h);
    EXPECT_STREQ("快速启动目录_harness", fd.cFileName);
    EXPECT_TRUE(RemoveDirectoryA(dir));
}
