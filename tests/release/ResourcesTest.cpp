// The resources of the shipped files, read back through the system's resource
// functions from both builds: the x86_64 files beside this test and the i686
// ones of the product build (loaded as data, which runs none of their code).
// QuickDock.exe: its icon at every size, its version and its manifest;
// SkinEngine.dll: its version.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "ProductVersion.h"
#include "tests/support/TaskbarStandInClient.h"

namespace {

struct Build {
    const char* name;
    std::string folder;
    const char* bits;  // as the file descriptions say it
};

std::vector<Build> Builds() {
    return {{"x86_64", TestProgramDirectory(), "(64 位)"},
            {"i686", QD_I686_PROGRAM_FOLDER, "(32 位)"}};
}

class DataModule {
  public:
    explicit DataModule(const std::string& path)
        : module_(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    DataModule(const DataModule&) = delete;
    DataModule& operator=(const DataModule&) = delete;
    ~DataModule() {
        if (module_) FreeLibrary(module_);
    }
    HMODULE Get() const { return module_; }
    // The bytes of one resource, empty when there is none.
    std::string Resource(LPCSTR type, LPCSTR name) const {
        HRSRC found = FindResourceA(module_, name, type);
        HGLOBAL loaded = found ? LoadResource(module_, found) : nullptr;
        const void* bytes = loaded ? LockResource(loaded) : nullptr;
        if (!bytes) return {};
        return std::string(static_cast<const char*>(bytes), SizeofResource(module_, found));
    }

  private:
    HMODULE module_;
};

#pragma pack(push, 2)
struct GroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

// The version resource as Explorer's Properties show it.
class VersionInfo {
  public:
    explicit VersionInfo(const std::string& path) {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
        if (size == 0) return;
        data_.resize(size);
        if (!GetFileVersionInfoA(path.c_str(), 0, size, data_.data())) data_.clear();
    }
    bool Present() const { return !data_.empty(); }
    const VS_FIXEDFILEINFO* Fixed() {
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(data_.data(), "\\", &value, &length) ||
            length < sizeof(VS_FIXEDFILEINFO))
            return nullptr;
        return static_cast<const VS_FIXEDFILEINFO*>(value);
    }
    DWORD Translation() {
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(data_.data(), "\\VarFileInfo\\Translation", &value, &length) ||
            length < 4)
            return 0;
        const WORD* pair = static_cast<const WORD*>(value);
        return MAKELONG(pair[1], pair[0]);
    }
    // A text in the ANSI code page, as a program of this code page reads it.
    std::string Text(const char* name) {
        const std::string key = std::string("\\StringFileInfo\\080404b0\\") + name;
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(data_.data(), key.c_str(), &value, &length) || length == 0) return {};
        return static_cast<const char*>(value);
    }

  private:
    std::vector<char> data_;
};

void ExpectVersion(const std::string& path, const char* fileName, const std::string& description,
                   DWORD fileType) {
    SCOPED_TRACE(path);
    VersionInfo info(path);
    ASSERT_TRUE(info.Present());
    const VS_FIXEDFILEINFO* fixed = info.Fixed();
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(VS_FFI_SIGNATURE, fixed->dwSignature);
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(QD_VERSION_MINOR, QD_VERSION_MAJOR)),
              fixed->dwFileVersionMS);
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(0, QD_VERSION_PATCH)), fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
    EXPECT_EQ(fixed->dwFileVersionLS, fixed->dwProductVersionLS);
    EXPECT_EQ(fileType, fixed->dwFileType);
    EXPECT_EQ(0x080404B0u, info.Translation()) << "Simplified Chinese, UTF-16 texts";
    EXPECT_EQ("QuickDock", info.Text("ProductName"));
    EXPECT_EQ(QD_VERSION_TEXT, info.Text("FileVersion"));
    EXPECT_EQ(QD_VERSION_TEXT, info.Text("ProductVersion"));
    EXPECT_EQ(fileName, info.Text("OriginalFilename"));
    // Read back in code page 936: the Chinese texts survived the way through
    // the resource compiler.
    EXPECT_EQ(description, info.Text("FileDescription"));
    EXPECT_EQ("QuickDock 项目", info.Text("CompanyName"));
    EXPECT_EQ("版权所有 (C) 2026 QuickDock 项目", info.Text("LegalCopyright"));
}

TEST(ProductResources, BothProgramFilesCarryTheirVersion) {
    for (const Build& build : Builds()) {
        SCOPED_TRACE(build.name);
        ExpectVersion(build.folder + "\\QuickDock.exe", "QuickDock.exe",
                      std::string("QuickDock 任务栏快速启动 ") + build.bits, VFT_APP);
        ExpectVersion(build.folder + "\\SkinEngine.dll", "SkinEngine.dll",
                      std::string("QuickDock 界面运行库 ") + build.bits, VFT_DLL);
    }
}

// The first icon group holds the dock button at 16, 24, 32, 48 and 256
// pixels, 32-bit; the system picks and makes each size from it.
TEST(ProductResources, TheProgramIconHasEverySize) {
    for (const Build& build : Builds()) {
        SCOPED_TRACE(build.name);
        DataModule program(build.folder + "\\QuickDock.exe");
        ASSERT_NE(program.Get(), nullptr);
        const std::string group = program.Resource(RT_GROUP_ICON, MAKEINTRESOURCEA(1));
        ASSERT_GE(group.size(), 6u);
        const WORD count = *reinterpret_cast<const WORD*>(group.data() + 4);
        ASSERT_EQ(group.size(), 6u + count * sizeof(GroupEntry));
        std::vector<int> sizes;
        for (WORD i = 0; i < count; ++i) {
            GroupEntry entry;
            std::memcpy(&entry, group.data() + 6 + i * sizeof(GroupEntry), sizeof(entry));
            const int side = entry.width ? entry.width : 256;
            sizes.push_back(side);
            EXPECT_EQ(entry.width, entry.height);
            EXPECT_EQ(32, entry.bitCount);
            const std::string image = program.Resource(RT_ICON, MAKEINTRESOURCEA(entry.id));
            EXPECT_EQ(entry.bytes, image.size()) << "image " << entry.id;
        }
        std::sort(sizes.begin(), sizes.end());
        EXPECT_EQ((std::vector<int>{16, 24, 32, 48, 256}), sizes);

        for (int side : {16, 24, 32, 48, 256}) {
            SCOPED_TRACE(side);
            const int id = LookupIconIdFromDirectoryEx(
                reinterpret_cast<BYTE*>(const_cast<char*>(group.data())), TRUE, side, side,
                LR_DEFAULTCOLOR);
            std::string image = program.Resource(RT_ICON, MAKEINTRESOURCEA(id));
            ASSERT_FALSE(image.empty());
            HICON icon = CreateIconFromResourceEx(reinterpret_cast<BYTE*>(image.data()),
                                                  static_cast<DWORD>(image.size()), TRUE,
                                                  0x00030000, side, side, LR_DEFAULTCOLOR);
            ASSERT_NE(icon, nullptr);
            ICONINFO info = {};
            ASSERT_TRUE(GetIconInfo(icon, &info));
            BITMAP colour = {};
            GetObjectA(info.hbmColor, sizeof(colour), &colour);
            EXPECT_EQ(side, colour.bmWidth);
            EXPECT_EQ(side, colour.bmHeight);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(icon);
        }
    }
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The manifest the loader reads at start: Windows 7 to 11, the rights of
// whoever starts it, system DPI awareness, and no code page of its own.
TEST(ProductResources, TheProgramManifestDeclaresWindowsVersionsRightsAndDpi) {
    for (const Build& build : Builds()) {
        SCOPED_TRACE(build.name);
        DataModule program(build.folder + "\\QuickDock.exe");
        ASSERT_NE(program.Get(), nullptr);
        const std::string manifest =
            program.Resource(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));  // RT_MANIFEST
        ASSERT_FALSE(manifest.empty());
        EXPECT_TRUE(Contains(manifest, "level=\"asInvoker\""));
        EXPECT_TRUE(Contains(manifest, "uiAccess=\"false\""));
        for (const char* os : {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",     // 7
                               "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",     // 8
                               "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",     // 8.1
                               "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {  // 10, 11
            EXPECT_TRUE(Contains(manifest, os)) << os;
        }
        EXPECT_TRUE(Contains(manifest, std::string("version=\"") + QD_VERSION_TEXT + ".0\""));
        EXPECT_FALSE(Contains(manifest, "activeCodePage"));
        EXPECT_FALSE(Contains(manifest, "requireAdministrator"));

        // The settings as the system's own manifest reader takes them.
        const std::string path = build.folder + "\\QuickDock.exe";
        ACTCTXA request = {};
        request.cbSize = sizeof(request);
        request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.lpSource = path.c_str();
        request.lpResourceName = MAKEINTRESOURCEA(1);
        HANDLE context = CreateActCtxA(&request);
        ASSERT_NE(context, INVALID_HANDLE_VALUE) << "the manifest does not parse";
        auto setting = [&](const wchar_t* space, const wchar_t* name) {
            wchar_t value[64] = {};
            SIZE_T written = 0;
            if (!QueryActCtxSettingsW(0, context, space, name, value, 64, &written))
                return std::wstring();
            return std::wstring(value);
        };
        EXPECT_EQ(L"true",
                  setting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"));
        EXPECT_EQ(L"system", setting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings",
                                     L"dpiAwareness"));
        ReleaseActCtx(context);
    }
}

}  // namespace
