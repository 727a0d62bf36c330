#include "bench/QuickLaunchTree.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

namespace {

bool MakeFolder(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool MakeShortcut(IShellLinkA* link, IPersistFile* file, const std::string& lnk,
                  const std::string& target) {
    link->SetPath(target.c_str());
    wchar_t wide[MAX_PATH * 2] = {};
    MultiByteToWideChar(CP_ACP, 0, lnk.c_str(), -1, wide, MAX_PATH * 2);
    return SUCCEEDED(file->Save(wide, TRUE));
}

bool WriteText(const std::string& path, const char* text) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD done = 0;
    WriteFile(f, text, static_cast<DWORD>(std::strlen(text)), &done, nullptr);
    CloseHandle(f);
    return true;
}

std::string Numbered(const char* format, int n) {
    char text[64];
    std::snprintf(text, sizeof(text), format, n);
    return text;
}

}  // namespace

std::string TargetName(int index) {
    return Numbered("目标%02d.exe", index);
}

bool MakeTargets(const std::string& binDirectory, const std::string& folder) {
    if (!MakeFolder(folder)) return false;
    for (int i = 0; i < kTargetPrograms; ++i) {
        // Half of the programs carry the group with the 256 x 256 PNG image.
        const char* source = i % 2 == 0 ? "bench_target_png.exe" : "bench_target_bmp.exe";
        if (!CopyFileA((binDirectory + "\\" + source).c_str(),
                       (folder + "\\" + TargetName(i)).c_str(), FALSE))
            return false;
    }
    return true;
}

bool MakeRunFolder(const std::string& productDirectory, const std::string& targets,
                   const std::string& path, const TreeShape& shape, RunFolder* out) {
    *out = RunFolder{};
    out->path = path;
    out->quickLaunch = path + "\\快速启动目录";
    if (!MakeFolder(path) || !MakeFolder(path + "\\临时数据") || !MakeFolder(out->quickLaunch))
        return false;
    for (const char* file : {"QuickDock.exe", "SkinEngine.dll"}) {
        if (!CopyFileA((productDirectory + "\\" + file).c_str(), (path + "\\" + file).c_str(),
                       FALSE))
            return false;
    }
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return false;
    bool ok = SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)));
    int program = 0;
    for (int c = 0; ok && c < shape.categories; ++c) {
        const std::string category = out->quickLaunch + Numbered("\\%02d分类", c) + std::to_string(c);
        ok = MakeFolder(category);
        const int programs = shape.programShortcuts / shape.categories;
        // Names sort program shortcuts first ("a"), then plain files ("d"), then folders ("f").
        for (int i = 0; ok && i < programs; ++i, ++program) {
            const std::string target = targets + "\\" + TargetName(program % kTargetPrograms);
            ok = MakeShortcut(link, file, category + Numbered("\\a程序%04d.lnk", i), target);
            if (c == 0 && i == 0) out->firstTarget = target;
            ++out->programItems;
            ++out->items;
        }
        for (int i = 0; ok && i < (programs + 9) / 10; ++i) {
            ok = WriteText(category + Numbered("\\d文档%03d.txt", i), "text\r\n") &&
                 MakeShortcut(link, file, category + Numbered("\\f文件夹%03d.lnk", i), targets);
            out->items += 2;
        }
    }
    if (file) file->Release();
    link->Release();
    return ok;
}
