#include "bench/ProcessProbe.h"

#include <psapi.h>
#include <winternl.h>

#include <cstdlib>
#include <vector>

namespace {

double gMsPerTick = 0;
// System time of the first NowMs call and the performance counter then: the
// shared clock is system time read at performance-counter resolution.
uint64_t gOriginFileTime = 0;
LARGE_INTEGER gOriginCounter{};

uint64_t ToU64(const FILETIME& t) {
    return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

void StartClock() {
    if (gMsPerTick != 0) return;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    gMsPerTick = 1000.0 / static_cast<double>(frequency.QuadPart);
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    QueryPerformanceCounter(&gOriginCounter);
    gOriginFileTime = ToU64(now);
}

// One entry of the process's GDI handle table as the system lays it out.
struct GdiHandleEntry {
    uint64_t object;
    uint32_t owner;
    uint16_t unique;  // bit 7: stock object
    uint8_t type;     // 0: free
    uint8_t flags;
    uint64_t userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24, "handle table entry");
constexpr size_t kGdiTableEntries = 0x10000;
// Where the table's address lies in the process environment block.
constexpr size_t kPebGdiTableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;

int CountGdiTable(HANDLE process) {
    PROCESS_BASIC_INFORMATION basic{};
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof(basic),
                                  nullptr) != 0 ||
        !basic.PebBaseAddress)
        return -1;
    void* table = nullptr;
    SIZE_T got = 0;
    if (!ReadProcessMemory(
            process, reinterpret_cast<const uint8_t*>(basic.PebBaseAddress) + kPebGdiTableOffset,
            &table, sizeof(table), &got) ||
        !table)
        return -1;
    std::vector<GdiHandleEntry> entries(kGdiTableEntries);
    if (!ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof(entries[0]),
                           &got))
        return -1;
    int count = 0;
    for (size_t i = 0; i < got / sizeof(GdiHandleEntry); ++i) {
        if (entries[i].type != 0 && (entries[i].unique & 0x80) == 0) ++count;
    }
    return count;
}

struct WindowCount {
    DWORD process;
    int count;
};

BOOL CALLBACK CountChild(HWND window, LPARAM param) {
    auto* c = reinterpret_cast<WindowCount*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == c->process) ++c->count;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM param) {
    CountChild(window, param);
    EnumChildWindows(window, CountChild, param);
    return TRUE;
}

std::string ReadHostFile(const std::string& path) {
    std::string text;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(f, buffer, sizeof(buffer), &got, nullptr) && got > 0) text.append(buffer, got);
    CloseHandle(f);
    return text;
}

}  // namespace

// The host's process folder ("Z:\\proc\\N") of the process started from programPath.
std::string HostProcessFolder(const std::string& programPath) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return "";
    std::string folder;
    do {
        if (found.cFileName[0] < '1' || found.cFileName[0] > '9') continue;
        const std::string dir = std::string("Z:\\proc\\") + found.cFileName;
        if (ReadHostFile(dir + "\\cmdline").find(programPath) != std::string::npos) {
            folder = dir;
            break;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return folder;
}

double HostPrivateMb(const std::string& programPath) {
    const std::string dir = HostProcessFolder(programPath);
    if (dir.empty()) return -1;
    const std::string status = ReadHostFile(dir + "\\status");
    const size_t at = status.find("RssAnon:");
    return at == std::string::npos ? -1 : std::atof(status.c_str() + at + 8) / 1024.0;
}

double HostCpuMs(const std::string& programPath) {
    const std::string dir = HostProcessFolder(programPath);
    if (dir.empty()) return -1;
    // Each thread's first schedstat field is its time on a CPU in nanoseconds.
    double ns = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\task\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return -1;
    do {
        if (found.cFileName[0] < '1' || found.cFileName[0] > '9') continue;
        ns += std::atof(ReadHostFile(dir + "\\task\\" + found.cFileName + "\\schedstat").c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return ns / 1e6;
}

double NowMs() {
    StartClock();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - gOriginCounter.QuadPart) * gMsPerTick;
}

double FileTimeToMs(uint64_t fileTime) {
    StartClock();
    return (static_cast<double>(fileTime) - static_cast<double>(gOriginFileTime)) / 10000.0;
}

double CreationMs(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    return FileTimeToMs(ToU64(created));
}

double CpuMs(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
    return static_cast<double>(ToU64(kernel) + ToU64(user)) / 10000.0;
}

MemoryFigures MemoryOf(HANDLE process) {
    MemoryFigures figures;
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof(counters))) {
        constexpr double kMb = 1024.0 * 1024.0;
        figures.peakWorkingSetMb = static_cast<double>(counters.PeakWorkingSetSize) / kMb;
        figures.workingSetMb = static_cast<double>(counters.WorkingSetSize) / kMb;
        figures.privateMb = static_cast<double>(counters.PrivateUsage) / kMb;
    }
    return figures;
}

int GdiObjectsOf(HANDLE process) {
    const DWORD reported = GetGuiResources(process, GR_GDIOBJECTS);
    if (reported) return static_cast<int>(reported);
    return CountGdiTable(process);
}

bool GdiCountFollowsObjects() {
    constexpr int kProbes = 50;
    const int before = GdiObjectsOf(GetCurrentProcess());
    std::vector<HBRUSH> brushes;
    for (int i = 0; i < kProbes; ++i) brushes.push_back(CreateSolidBrush(RGB(i, 0, 0)));
    const int during = GdiObjectsOf(GetCurrentProcess());
    for (HBRUSH brush : brushes) DeleteObject(brush);
    const int after = GdiObjectsOf(GetCurrentProcess());
    return before >= 0 && during - before == kProbes && after == before;
}

int HandlesOf(HANDLE process) {
    DWORD reported = 0;
    if (GetProcessHandleCount(process, &reported) && reported) return static_cast<int>(reported);
    // Wine numbers a process's handles 4, 8, 12, ... from the start of its
    // table; a dock holds some dozens.
    constexpr ULONG_PTR kLastProbed = 4 * 8192;
    int count = 0;
    for (ULONG_PTR value = 4; value <= kLastProbed; value += 4) {
        HANDLE copy = nullptr;
        if (DuplicateHandle(process, reinterpret_cast<HANDLE>(value), GetCurrentProcess(), &copy, 0,
                            FALSE, DUPLICATE_SAME_ACCESS)) {
            ++count;
            CloseHandle(copy);
        }
    }
    return count;
}

bool HandleCountFollowsObjects() {
    constexpr int kProbes = 10;
    const int before = HandlesOf(GetCurrentProcess());
    std::vector<HANDLE> events;
    for (int i = 0; i < kProbes; ++i) events.push_back(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    const int during = HandlesOf(GetCurrentProcess());
    for (HANDLE event : events) CloseHandle(event);
    const int after = HandlesOf(GetCurrentProcess());
    return before >= 0 && during - before == kProbes && after == before;
}

int WindowsOf(DWORD processId) {
    WindowCount c{processId, 0};
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&c));
    for (HWND w = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); w;
         w = FindWindowExA(HWND_MESSAGE, w, nullptr, nullptr))
        CountChild(w, reinterpret_cast<LPARAM>(&c));
    return c.count;
}

bool StartProgram(const std::string& exe, const std::string& arguments,
                  const std::string& directory, PROCESS_INFORMATION* started) {
    std::string command = "\"" + exe + "\" " + arguments;
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    *started = {};
    return CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          directory.c_str(), &si, started) != FALSE;
}
