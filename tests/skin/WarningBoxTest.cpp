// Without an engine each skinned control shows the real warning box; a
// watcher thread reads and closes every box as a user would, so the test
// never waits on one.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/skin/FakeRuntime.h"
#include "tests/skin/SkinTestSupport.h"
#include "ui/skin/SkinControls.h"
#include "ui/skin/SkinEngineLoader.h"
#include "ui/skin/SkinUiLibrary.h"

using namespace skin_test;

namespace {

struct SeenBox {
    HWND box;
    HWND owner;
    std::vector<std::string> texts;
};

std::mutex gMutex;
std::vector<SeenBox> gSeen;
std::set<HWND> gClosed;

BOOL CALLBACK CollectText(HWND child, LPARAM param) {
    char text[256] = {};
    GetWindowTextA(child, text, sizeof text);
    reinterpret_cast<std::vector<std::string>*>(param)->push_back(text);
    return TRUE;
}

BOOL CALLBACK CloseWarningBoxes(HWND window, LPARAM) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
    char className[16] = {}, caption[32] = {};
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, caption, sizeof caption);
    if (std::string(className) != "#32770" || std::string(caption) != "Warning") return TRUE;
    std::lock_guard<std::mutex> lock(gMutex);
    if (gClosed.insert(window).second) {
        SeenBox seen{window, GetWindow(window, GW_OWNER), {}};
        EnumChildWindows(window, CollectText, reinterpret_cast<LPARAM>(&seen.texts));
        gSeen.push_back(seen);
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    }
    return TRUE;
}

HMODULE LoadNothing(const char*) {
    return nullptr;
}

TEST(MissingEngineWarning, OneRealBoxPerSkinnedControl) {
    CurrentDirectoryGuard directory;
    TempFolder empty;
    fake_runtime::Reset();
    SetSkinLibraryLoaderForTesting(LoadNothing);
    StartSkinUiIn(empty.Path());
    HWND parent = CreateParentWindow();

    std::atomic<bool> done{false};
    std::thread watcher([&] {
        while (!done) {
            EnumWindows(CloseWarningBoxes, 0);
            Sleep(20);
        }
    });
    std::vector<RuntimeWindowObject> objects;
    for (int number : {1, 18, 20}) {
        objects.push_back(CreateSkinControl(number, parent, 0x52012C96, 0x16010000u + number));
    }
    done = true;
    watcher.join();

    ASSERT_EQ(gSeen.size(), 3u);
    for (const SeenBox& box : gSeen) {
        EXPECT_EQ(box.owner, nullptr);
        bool found = false;
        for (const std::string& text : box.texts) {
            found = found || text == "程序缺少界面运行库必须依赖的 SkinEngine.dll 文件";
        }
        EXPECT_TRUE(found) << "the box does not show the missing-engine text";
    }
    // The program goes on: every wrapper exists.
    for (RuntimeWindowObject object : objects) EXPECT_TRUE(IsWindow(WindowObjectHandle(object)));
    DestroyWindow(parent);
    SetSkinLibraryLoaderForTesting(nullptr);
}

}  // namespace
