// The program every generated shortcut points to. When the dock opens one, it
// appends the moment its process was created (100 ns units of system time) to
// "<its own path>.runs.txt" and ends: the benchmark's probe of the shell call.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const unsigned long long when =
        (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
    char self[MAX_PATH * 2] = {};
    GetModuleFileNameA(nullptr, self, sizeof(self) - 1);
    char record[32];
    std::snprintf(record, sizeof(record), "%llu\n", when);
    const std::string log = std::string(self) + ".runs.txt";
    // One write per record keeps records of processes started together apart.
    for (int attempt = 0; attempt < 200; ++attempt) {
        HANDLE file = CreateFileA(log.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, record, static_cast<DWORD>(std::strlen(record)), &written, nullptr);
            CloseHandle(file);
            return 0;
        }
        Sleep(10);
    }
    return 1;
}
