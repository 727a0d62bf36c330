// A program for the launch tests to start through the shell: it appends one
// record of how it was started to "<its own path>.runs.txt" and ends.
// Record: the command line after the program name, a line break, the current
// directory, a line break.
#include <windows.h>

#include <string>

namespace {

// The command line without the program's own (possibly quoted) name.
std::string ArgumentsOf(const char* commandLine) {
    const char* p = commandLine;
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
        if (*p) ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t') ++p;
    }
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char self[MAX_PATH * 2] = {};
    GetModuleFileNameA(nullptr, self, sizeof(self) - 1);
    char directory[MAX_PATH * 2] = {};
    GetCurrentDirectoryA(sizeof(directory) - 1, directory);
    std::string record = ArgumentsOf(GetCommandLineA()) + "\n" + directory + "\n";
    std::string log = std::string(self) + ".runs.txt";
    // Appending in one write keeps records of processes started together apart.
    for (int attempt = 0; attempt < 200; ++attempt) {
        HANDLE file = CreateFileA(log.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
            CloseHandle(file);
            return 0;
        }
        Sleep(10);
    }
    return 1;
}
