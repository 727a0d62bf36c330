// File search, whole-file reading and removal on a scratch folder.
#include <windows.h>
#include <algorithm>
#include <set>
#include "runtime/library/core/FileSearch.h"
#include "tests/values/ValuesTestSupport.h"

namespace {

using Names = std::set<std::string>;

class FileCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "qd_values_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder_.c_str(), nullptr);
        CreateDirectoryA(Path("sub").c_str(), nullptr);
        Write("a.txt", "alpha");
        Write("b.dat", "");
        Write("h.txt", "hidden");
        SetFileAttributesA(Path("h.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    }
    void TearDown() override {
        for (const char* name : {"a.txt", "b.dat", "h.txt", "gone.txt"}) {
            SetFileAttributesA(Path(name).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(Path(name).c_str());
        }
        RemoveDirectoryA(Path("sub").c_str());
        RemoveDirectoryA(folder_.c_str());
    }
    std::string Path(const char* name) const { return folder_ + "\\" + name; }
    void Write(const char* name, const std::string& content) {
        HANDLE h = CreateFileA(Path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
        DWORD written = 0;
        if (!content.empty())
            WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(h);
    }
    // Every name one search gives, continuing with the empty pattern.
    Names Search(int32_t mask, bool maskOmitted) {
        Names names;
        HANDLE state = nullptr;
        std::string pattern = Path("*");
        for (Text name = FindFile(pattern.c_str(), mask, maskOmitted, &state); name;
             name = FindFile("", mask, maskOmitted, &state)) {
            names.insert(name);
            FreeBlock(name);
        }
        EXPECT_EQ(nullptr, state) << "a finished search leaves no handle";
        return names;
    }

    std::string folder_;
};

}  // namespace

TEST_F(FileCommandTest, MaskRules) {
    EXPECT_EQ((Names{"a.txt", "b.dat", "h.txt"}), Search(0, true));
    EXPECT_EQ((Names{".", "..", "sub"}), Search(FILE_ATTRIBUTE_DIRECTORY, false));
    EXPECT_EQ((Names{"h.txt"}), Search(FILE_ATTRIBUTE_HIDDEN, false));
    // Bits outside read-only, hidden, system, directory and archive are dropped.
    EXPECT_EQ((Names{"h.txt"}), Search(FILE_ATTRIBUTE_HIDDEN | 0x4000, false));
    // Mask 0: entries with no attribute at all (the system calls them "normal").
    Names plain = Search(0, false);
    EXPECT_EQ(0u, plain.count("h.txt"));
    EXPECT_EQ(0u, plain.count("sub"));
    EXPECT_EQ(0u, plain.count("."));
}

// The file system here marks every file "archive", so the rule for a mask
// of 0 is checked on attribute values directly.
TEST(FileSearchRule, AttributesAgainstMask) {
    EXPECT_TRUE(FileEntryMatches(FILE_ATTRIBUTE_NORMAL, "a", 0, false));
    EXPECT_TRUE(FileEntryMatches(0, "a", 0, false));
    EXPECT_FALSE(FileEntryMatches(FILE_ATTRIBUTE_ARCHIVE, "a", 0, false));
    EXPECT_FALSE(FileEntryMatches(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_NORMAL, "a", 0, false));
    // A mask of only unsupported bits is a mask of 0.
    EXPECT_TRUE(FileEntryMatches(FILE_ATTRIBUTE_NORMAL, "a", FILE_ATTRIBUTE_NORMAL, false));
    EXPECT_TRUE(FileEntryMatches(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN, "a",
                                 FILE_ATTRIBUTE_HIDDEN, false));
    EXPECT_FALSE(FileEntryMatches(FILE_ATTRIBUTE_ARCHIVE, "a", FILE_ATTRIBUTE_HIDDEN, false));
    EXPECT_FALSE(FileEntryMatches(FILE_ATTRIBUTE_DIRECTORY, "sub", 0, true));
    // "." and ".." are folders even when reported without the attribute.
    EXPECT_FALSE(FileEntryMatches(0, "..", 0, true));
    EXPECT_TRUE(FileEntryMatches(0, ".", FILE_ATTRIBUTE_DIRECTORY, false));
}

TEST_F(FileCommandTest, ContinuingClosingAndRestarting) {
    HANDLE state = nullptr;
    EXPECT_EQ(nullptr, FindFile("", 0, true, &state));  // nothing to continue
    std::string pattern = Path("*.txt");
    OwnedText first(FindFile(pattern.c_str(), 0, true, &state));
    ASSERT_TRUE(first);
    EXPECT_NE(nullptr, state);
    CloseFileSearch(&state);
    EXPECT_EQ(nullptr, state);
    EXPECT_EQ(nullptr, FindFile("", 0, true, &state));
    CloseFileSearch(&state);  // closing twice is harmless

    // A new pattern replaces an open search.
    OwnedText a(FindFile(pattern.c_str(), 0, true, &state));
    std::string only = Path("b.dat");
    OwnedText b(FindFile(only.c_str(), 0, true, &state));
    EXPECT_STREQ("b.dat", b.Get());
    EXPECT_EQ(nullptr, FindFile("", 0, true, &state));
    EXPECT_EQ(nullptr, state);

    std::string missing = Path("*.none");
    EXPECT_EQ(nullptr, FindFile(missing.c_str(), 0, true, &state));
    EXPECT_EQ(nullptr, state);
}

TEST_F(FileCommandTest, ReadWholeFile) {
    std::string a = Path("a.txt");
    ResultRecord r = CallCore(CoreCommand::ReadWholeFile, ArgText(a.c_str()));
    EXPECT_EQ(Tag::kByteSet, r.tag);
    OwnedByteSet set(r.AsByteSet());
    ASSERT_EQ(5, ByteSetLength(set.Get()));
    EXPECT_EQ(0, memcmp("alpha", ByteSetBytes(set.Get()), 5));

    std::string empty = Path("b.dat");
    EXPECT_EQ(nullptr, CallCore(CoreCommand::ReadWholeFile, ArgText(empty.c_str())).AsPointer());
    std::string missing = Path("missing.bin");
    EXPECT_EQ(nullptr, CallCore(CoreCommand::ReadWholeFile, ArgText(missing.c_str())).AsPointer());

    // Someone writing to the file: the read is refused.
    HANDLE writer = CreateFileA(a.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, writer);
    EXPECT_EQ(nullptr, CallCore(CoreCommand::ReadWholeFile, ArgText(a.c_str())).AsPointer());
    CloseHandle(writer);
}

TEST_F(FileCommandTest, RemoveFile) {
    Write("gone.txt", "x");
    std::string gone = Path("gone.txt");
    EXPECT_EQ(1, CallCore(CoreCommand::RemoveFile, ArgText(gone.c_str())).AsInt());
    EXPECT_EQ(0, CallCore(CoreCommand::RemoveFile, ArgText(gone.c_str())).AsInt());
}
