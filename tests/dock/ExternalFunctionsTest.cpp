// The declared-function table: resolution order, caching, and the runtime
// errors for functions that cannot be found.
#include <windows.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "runtime/external/ExternalFunctions.h"
#include "runtime/process/Runtime.h"
#include "runtime/process/RuntimeError.h"
#include "runtime/process/RuntimeState.h"
#include "tests/support/TaskbarStandInClient.h"

namespace {

struct RuntimeErrorRaised : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void ThrowingHook(const char* boxText, int32_t) {
    throw RuntimeErrorRaised(boxText);
}

enum : int32_t {
    kBesideAndSystem,  // one copy in the run directory, another on the search path
    kSystemOnly,       // only on the search path
    kMissingExport,
    kMissingDll,
    kNoDllName,
    kNoDllNameMissing,
    kFullPath,
    kUser32Function,
    kDecoratedName,  // what a __stdcall export keeps without --kill-at
    kTakesOneArgument,
    kCount
};

std::string gFullPath;
std::string gRunDirectory;
const char* gDlls[kCount];
const char* gFunctions[kCount];
ProgramImageHeader gHeader = {};

class ExternalFunctions : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        const std::string dir = TestProgramDirectory();
        gFullPath = dir + "\\probe_search\\qd_probe_elsewhere.dll";
        const char* dlls[kCount] = {"qd_probe.dll",
                                    "qd_probe_elsewhere.dll",
                                    "user32.dll",
                                    "qd_no_such_library.dll",
                                    "",
                                    "",
                                    gFullPath.c_str(),
                                    "user32.dll",
                                    "qd_probe.dll",
                                    "user32.dll"};
        const char* functions[kCount] = {"ProbeCopy", "ProbeCopy",        "NoSuchExport",
                                         "ProbeCopy", "GetTickCount",     "NoSuchExportAnywhere",
                                         "ProbeCopy", "GetDesktopWindow", "ProbeCopy@0",
                                         "IsWindow"};
        for (int i = 0; i < kCount; ++i) {
            gDlls[i] = dlls[i];
            gFunctions[i] = functions[i];
        }
        gHeader.externalFunctionCount = kCount;
        gHeader.externalDllNames = gDlls;
        gHeader.externalFunctionNames = gFunctions;
        // The run directory is made to differ from the test program's own
        // folder, which the system's search looks at first.
        gRunDirectory = dir + "\\probe_run";
        SetRuntimeRunDirectory(gRunDirectory.c_str());
        SetDllDirectoryA((dir + "\\probe_search").c_str());
        SetRuntimeErrorHook(ThrowingHook);
    }
    static void TearDownTestSuite() {
        SetRuntimeErrorHook(nullptr);
        SetRuntimeRunDirectory("");
    }
    void SetUp() override { InitializeExternalFunctions(gHeader); }
};

std::string ErrorOf(int32_t index) {
    try {
        ResolveExternalFunction(index);
    } catch (const RuntimeErrorRaised& e) {
        return e.what();
    }
    return "";
}

TEST_F(ExternalFunctions, ADllInTheRunDirectoryWinsOverTheSystemSearch) {
    // Copy 1 lies beside the test program (the system's first choice), copy 2
    // in the run directory, copy 3 only on the DLL search path.
    EXPECT_EQ(2, CallExternal<int>(kBesideAndSystem));
    EXPECT_EQ(3, CallExternal<int>(kSystemOnly));
    EXPECT_EQ(3, CallExternal<int>(kFullPath));
}

TEST_F(ExternalFunctions, AResolvedEntryIsNotResolvedAgain) {
    const FARPROC first = ResolveExternalFunction(kSystemOnly);
    ASSERT_NE(nullptr, first);
    // The DLL can no longer be found; a second resolution would fail.
    SetDllDirectoryA(nullptr);
    EXPECT_EQ(first, ResolveExternalFunction(kSystemOnly));
    EXPECT_EQ(3, CallExternal<int>(kSystemOnly));
    SetDllDirectoryA((TestProgramDirectory() + "\\probe_search").c_str());
}

TEST_F(ExternalFunctions, EveryLoadTheTableHoldsIsGivenBackOnce) {
    // Two entries of one DLL hold two loads of it.
    ASSERT_NE(nullptr, ResolveExternalFunction(kSystemOnly));
    ASSERT_NE(nullptr, ResolveExternalFunction(kFullPath));
    ASSERT_NE(nullptr, GetModuleHandleA("qd_probe_elsewhere.dll"));
    InitializeExternalFunctions(gHeader);
    EXPECT_EQ(nullptr, GetModuleHandleA("qd_probe_elsewhere.dll"));
}

TEST_F(ExternalFunctions, AnEmptyDllNameSearchesTheSystemLibraries) {
    EXPECT_EQ((GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetTickCount")),
              ResolveExternalFunction(kNoDllName));
    EXPECT_NE(
        std::string::npos,
        ErrorOf(kNoDllNameMissing).find("无法找到指定DLL库文件中的输出命令“NoSuchExportAnywhere”"));
}

TEST_F(ExternalFunctions, AMissingFunctionIsARuntimeErrorOnlyWhenCalled) {
    // Entries around the broken ones work normally.
    EXPECT_EQ(GetDesktopWindow(), CallExternal<HWND>(kUser32Function));
    EXPECT_NE(std::string::npos,
              ErrorOf(kMissingExport)
                  .find("无法找到指定DLL库文件“user32.dll”中的输出命令“NoSuchExport”"));
    EXPECT_NE(std::string::npos,
              ErrorOf(kMissingDll)
                  .find("无法找到指定DLL库文件“qd_no_such_library.dll”中的输出命令“ProbeCopy”"));
    // Still unresolved: a second call reports again instead of calling null.
    EXPECT_FALSE(ErrorOf(kMissingExport).empty());
    EXPECT_EQ(GetDesktopWindow(), CallExternal<HWND>(kUser32Function));
}

TEST_F(ExternalFunctions, NamesAreLookedUpExactlyAsDeclared) {
    // No "@bytes" suffix is added or taken away: the probe exports plain
    // "ProbeCopy" on both targets, so the decorated name is not found.
    EXPECT_EQ(2, CallExternal<int>(kBesideAndSystem));
    EXPECT_NE(std::string::npos,
              ErrorOf(kDecoratedName).find("“qd_probe.dll”中的输出命令“ProbeCopy@0”"));
}

TEST_F(ExternalFunctions, AnIndexOutsideTheTableIsARuntimeError) {
    EXPECT_FALSE(ErrorOf(kCount).empty());
    EXPECT_FALSE(ErrorOf(-1).empty());
}

#if defined(__i386__)
// Only 32-bit code can get the stack wrong: a __cdecl callee leaves its
// arguments for the caller to remove, where a declared function must not.
int __cdecl LeavesItsArguments(int a, int b) {
    return a + b;
}

template <typename... A>
std::string ErrorOfCall(int32_t index, A... args) {
    try {
        CallExternal<int>(index, args...);
    } catch (const RuntimeErrorRaised& e) {
        return e.what();
    }
    return "";
}

TEST_F(ExternalFunctions, ACalleeThatLeavesItsArgumentsOnTheStackIsRuntimeError6) {
    OverrideExternalFunction(
        kMissingExport, reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&LeavesItsArguments)));
    const std::string error = ErrorOfCall(kMissingExport, 1, 2);
    OverrideExternalFunction(kMissingExport, nullptr);
    EXPECT_NE(std::string::npos, error.find("调用DLL命令后发现堆栈错误"));
}

TEST_F(ExternalFunctions, ASystemFunctionGivenTooFewArgumentsIsRuntimeError6) {
    // IsWindow removes the 4 bytes of its one argument, which were never
    // pushed; the call is still survived and reported, and a correct call
    // after it works.
    EXPECT_NE(std::string::npos, ErrorOfCall(kTakesOneArgument).find("调用DLL命令后发现堆栈错误"));
    EXPECT_EQ("", ErrorOfCall(kTakesOneArgument, GetDesktopWindow()));
    EXPECT_EQ(TRUE, CallExternal<BOOL>(kTakesOneArgument, GetDesktopWindow()));
}
#endif

}  // namespace
