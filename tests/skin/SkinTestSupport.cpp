#include "tests/skin/SkinTestSupport.h"

#include <cstring>

namespace skin_test {

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path);
    return s.substr(0, s.find_last_of('\\'));
}
std::string RecordingEngineFolder() {
    return ProgramFolder() + "\\skin_recording";
}
std::string PartialEngineFolder() {
    return ProgramFolder() + "\\skin_partial";
}

TempFolder::TempFolder() {
    static int counter = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + "qdskin_" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(++counter);
    CreateDirectoryA(path_.c_str(), nullptr);
}
TempFolder::~TempFolder() {
    RemoveTree(path_);
}

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string full = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                DeleteFileA(full.c_str());
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    RemoveDirectoryA(path.c_str());
}

CurrentDirectoryGuard::CurrentDirectoryGuard() {
    char path[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, path);
    saved_ = path;
}
CurrentDirectoryGuard::~CurrentDirectoryGuard() {
    SetCurrentDirectoryA(saved_.c_str());
}

template <typename Fn>
void Bind(HMODULE module, const char* name, Fn* fn) {
    *fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

RecordingEngine::RecordingEngine(const std::string& folder) {
    module_ = GetModuleHandleA((folder + "\\SkinEngine.dll").c_str());
    if (!module_) return;
    Bind(module_, "Recording_Log", &log_);
    Bind(module_, "Recording_Clear", &clear_);
    Bind(module_, "Recording_Fire", &fire_);
    Bind(module_, "Recording_SetCreationEvent", &creationEvent_);
    Bind(module_, "Recording_SetBlockAnswer", &blockAnswer_);
}

std::vector<std::string> RecordingEngine::Lines() const {
    std::vector<std::string> lines;
    std::string all = log_();
    size_t start = 0;
    for (size_t end; (end = all.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(all.substr(start, end - start));
    }
    return lines;
}

HWND CreateParentWindow() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "QdSkinTestParent";
        RegisterClassA(&wc);
        registered = true;
    }
    return CreateWindowExA(0, "QdSkinTestParent", "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

}  // namespace skin_test
