// Where SkinUi looks for SkinEngine.dll, in which order, and what it does
// with the stored path of the settings file.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tests/skin/SkinTestSupport.h"
#include "ui/skin/SkinEngineLoader.h"
#include "ui/skin/SkinControls.h"
#include "ui/skin/SkinEngineLoader.h"

using namespace skin_test;

namespace {

std::vector<std::string> gTried;
size_t gRealFrom = 1000;  // attempts from this index on use LoadLibraryA
HMODULE RecordAttempt(const char* path) {
    gTried.push_back(path);
    return gTried.size() > gRealFrom ? LoadLibraryA(path) : nullptr;
}

// The loader seam takes a plain function; LoadLibraryA is __stdcall on i686,
// so it is called from one rather than passed as the loader itself.
HMODULE LoadForReal(const char* path) {
    return LoadLibraryA(path);
}

std::string ModulePath(HMODULE module) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module, path, MAX_PATH);
    return path;
}

bool CopyEngine(const std::string& toFolder) {
    return CopyFileA((RecordingEngineFolder() + "\\SkinEngine.dll").c_str(),
                     (toFolder + "\\SkinEngine.dll").c_str(), FALSE) != 0;
}

// Writes C:\SkinEngine.ini for one test and removes it afterwards.
class SettingsFile {
  public:
    explicit SettingsFile(const std::string& content) {
        HANDLE file = CreateFileA(kPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(file);
    }
    ~SettingsFile() { DeleteFileA(kPath); }
    static constexpr const char* kPath = "C:\\SkinEngine.ini";
};

class EngineSearch : public ::testing::Test {
  protected:
    void SetUp() override {
        DeleteFileA(SettingsFile::kPath);
        gTried.clear();
        gRealFrom = 1000;
    }
    std::string CurrentDirectory() {
        char path[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, path);
        return path;
    }
    CurrentDirectoryGuard directory_;
    TempFolder folder_;
};

TEST_F(EngineSearch, CandidatesInOrderWhenNothingLoads) {
    SetCurrentDirectoryA(folder_.Path().c_str());
    std::string cwd = CurrentDirectory();
    EXPECT_EQ(FindSkinEngine(RecordAttempt), nullptr);
    EXPECT_EQ(gTried, (std::vector<std::string>{
                          cwd + "\\SkinEngine.dll", cwd + "\\lib\\SkinEngine\\SkinEngine.dll",
                          "SkinEngine.dll", "lib\\SkinEngine\\SkinEngine.dll"}));
}

TEST_F(EngineSearch, TheEngineBesideTheProgramWinsOverTheSubfolder) {
    std::string lib = folder_.Path() + "\\lib";
    std::string sub = lib + "\\SkinEngine";
    ASSERT_TRUE(CreateDirectoryA(lib.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    ASSERT_TRUE(CopyEngine(folder_.Path()));
    ASSERT_TRUE(CopyEngine(sub));
    SetCurrentDirectoryA(folder_.Path().c_str());
    std::string cwd = CurrentDirectory();

    HMODULE beside = FindSkinEngine(LoadForReal);
    ASSERT_NE(beside, nullptr);
    EXPECT_EQ(ModulePath(beside), cwd + "\\SkinEngine.dll");
    FreeLibrary(beside);

    // Without the one beside, the subfolder's is next.
    ASSERT_TRUE(DeleteFileA((folder_.Path() + "\\SkinEngine.dll").c_str()));
    HMODULE below = FindSkinEngine(LoadForReal);
    ASSERT_NE(below, nullptr);
    EXPECT_EQ(ModulePath(below), cwd + "\\lib\\SkinEngine\\SkinEngine.dll");
    FreeLibrary(below);
}

TEST_F(EngineSearch, StoredPathIsUsedUnchanged) {
    SetCurrentDirectoryA(folder_.Path().c_str());
    std::string engine = RecordingEngineFolder() + "\\SkinEngine.dll";
    gRealFrom = 4;  // only the settings file's path really loads
    {
        SettingsFile settings(engine + "\r\n");
        EXPECT_EQ(FindSkinEngine(RecordAttempt), nullptr);
        ASSERT_EQ(gTried.size(), 5u);
        EXPECT_EQ(gTried[4], engine + "\r\n");
    }
    gTried.clear();
    {
        SettingsFile settings(engine);
        HMODULE module = FindSkinEngine(RecordAttempt);
        ASSERT_EQ(gTried.size(), 5u);
        EXPECT_EQ(gTried[4], engine);
        EXPECT_NE(module, nullptr);
        if (module) FreeLibrary(module);
    }
    gTried.clear();
    gRealFrom = 1000;
    {
        // At most 255 bytes are read.
        SettingsFile settings(std::string(300, 'x'));
        FindSkinEngine(RecordAttempt);
        ASSERT_EQ(gTried.size(), 5u);
        EXPECT_EQ(gTried[4], std::string(255, 'x'));
    }
}

TEST_F(EngineSearch, EveryEntryIsFoundByItsPlainNameInTheRealEngine) {
    // The product's SkinEngine.dll lies beside the test programs. Its exports
    // are __stdcall: on i686 they keep their plain names ("LoadImageEx", not
    // "LoadImageEx@32") only because the engine is linked for it.
    StartSkinUiIn(ProgramFolder());
    const SkinEngineEntries entries = SkinEngine();
    ForgetSkinEngineForTesting();
    FreeLibrary(GetModuleHandleA((ProgramFolder() + "\\SkinEngine.dll").c_str()));

    static_assert(sizeof(entries) % sizeof(void*) == 0, "the table holds only entry points");
    void* slots[sizeof(entries) / sizeof(void*)];
    std::memcpy(slots, &entries, sizeof(entries));
    for (size_t i = 0; i < sizeof(slots) / sizeof(slots[0]); ++i) {
        EXPECT_NE(nullptr, slots[i]) << "entry " << i << " of the engine table";
    }
}

// A folder whose full path is exactly `length` bytes, below `base`.
std::string MakeFolderOfLength(const std::string& base, size_t length) {
    std::string path = base;
    while (path.size() < length) {
        size_t room = length - path.size();
        size_t part = room <= 51 ? room - 1 : std::min<size_t>(50, room - 3);
        path += "\\" + std::string(part, 'd');
        if (!CreateDirectoryA(path.c_str(), nullptr)) return "";
    }
    return path;
}

TEST_F(EngineSearch, CandidatesThatDoNotFitAreNotTried) {
    SetCurrentDirectoryA(folder_.Path().c_str());
    std::string base = CurrentDirectory();

    // 240 bytes: "\SkinEngine.dll" still fits, the subfolder path does not.
    std::string medium = MakeFolderOfLength(base, 240);
    ASSERT_EQ(medium.size(), 240u);
    ASSERT_TRUE(SetCurrentDirectoryA(medium.c_str()));
    ASSERT_EQ(CurrentDirectory(), medium);
    FindSkinEngine(RecordAttempt);
    EXPECT_EQ(gTried, (std::vector<std::string>{medium + "\\SkinEngine.dll", "SkinEngine.dll",
                                                "lib\\SkinEngine\\SkinEngine.dll"}));

    // 246 bytes: neither fits in the buffer.
    SetCurrentDirectoryA(base.c_str());
    ASSERT_TRUE(CreateDirectoryA((base + "\\e").c_str(), nullptr));
    std::string longer = MakeFolderOfLength(base + "\\e", 246);
    ASSERT_EQ(longer.size(), 246u);
    ASSERT_TRUE(SetCurrentDirectoryA(longer.c_str()));
    gTried.clear();
    FindSkinEngine(RecordAttempt);
    EXPECT_EQ(gTried,
              (std::vector<std::string>{"SkinEngine.dll", "lib\\SkinEngine\\SkinEngine.dll"}));
    SetCurrentDirectoryA(base.c_str());
}

}  // namespace
