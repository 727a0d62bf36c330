#include "bench/RequiredWork.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>

#include "bench/ProcessProbe.h"

double BaselineMs(const std::string& binDirectory, const RunFolder& folder,
                  const std::string& options) {
    const std::string exe = binDirectory + "\\bench_baseline.exe";
    PROCESS_INFORMATION pi;
    if (!StartProgram(exe, options + " \"" + folder.quickLaunch + "\"", folder.path, &pi))
        return -1;
    WaitForSingleObject(pi.hProcess, 300000);
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(pi.hProcess, &created, &exited, &kernel, &user);
    DWORD groups = 0;
    GetExitCodeProcess(pi.hProcess, &groups);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    const auto value = [](const FILETIME& t) {
        return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    if (static_cast<int>(groups) != folder.programItems)
        std::fprintf(stderr, "baseline read %lu icon groups, expected %d\n", groups,
                     folder.programItems);
    return static_cast<double>(value(exited) - value(created)) / 10000.0;
}

double RequiredWorkMs(const std::string& binDirectory, const std::string& productDirectory,
                      const RunFolder& folder) {
    const std::string engine = "\"" + productDirectory + "\\SkinEngine.dll\"";
    return BaselineMs(binDirectory, folder, "--scratch --decode " + engine);
}
