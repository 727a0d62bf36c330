// Start-up scan: QuickDock.exe from process creation to its panel shown with
// category 0, against the baseline program over the same tree, alternating
// run by run; after the large scan, memory and the GDI objects and windows
// before and after 100 category switches.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "bench/Benches.h"
#include "bench/DockSession.h"
#include "bench/ProcessProbe.h"

namespace {

constexpr int kCategorySwitches = 100;
// Buttons wholly inside the toolbar without scrolling.
constexpr int kVisibleButtons = 5;

// One baseline run: creation to exit of the process, in milliseconds.
double BaselineMs(const BenchContext& context, const RunFolder& folder,
                  const std::string& options = "") {
    const std::string exe = context.binDirectory + "\\bench_baseline.exe";
    std::string command = "\"" + exe + "\" " + options + " \"" + folder.quickLaunch + "\"";
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.path.c_str(), &si, &pi))
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

int ScratchFiles(const RunFolder& folder) {
    int count = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder.path + "\\临时数据\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        if (found.cFileName[0] != '.') ++count;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

// Category switches as a user makes them, each handled before the next.
void SwitchCategories(HWND toolbar, int count) {
    RECT bar;
    GetClientRect(toolbar, &bar);
    for (int i = 0; i < count; ++i) {
        const LPARAM at = MAKELPARAM((bar.right - bar.left) / 2, 6 + 40 * (i % kVisibleButtons) + 18);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at, SMTO_NORMAL, 10000, &ignored);
        SendMessageTimeoutA(toolbar, WM_LBUTTONUP, 0, at, SMTO_NORMAL, 10000, &ignored);
    }
}

void ScanTree(BenchContext& context, const RunFolder& folder, const std::string& label,
              bool measureObjects) {
    Figures& f = *context.figures;
    const std::string items = std::to_string(folder.items) + " items";
    Figure& start = f.Add("start-up, " + label + " (" + items + ")", "ms");
    Figure& baseline = f.Add("baseline, " + label, "ms");
    Figure& perItem = f.Add("start-up per item, " + label, "ms");
    Figure& ratio = f.Add("start-up / baseline, " + label, "x");
    start.baseline = baseline.name;
    if (measureObjects) {
        ratio.target = "<= 1.5";
        ratio.limit = 1.5000001;
    }
    // One unrecorded run of each warms the file cache and Wine's loaded modules.
    for (int run = -1; run < context.runs; ++run) {
        DockSession session;
        if (!session.Start(folder.path)) {
            std::fprintf(stderr, "%s: the panel did not come up\n", label.c_str());
            continue;
        }
        const double program = session.StartUpMs();
        const int leftOver = ScratchFiles(folder);
        if (leftOver) std::fprintf(stderr, "%s: %d scratch files left\n", label.c_str(), leftOver);
        if (measureObjects && run >= 0) {
            const MemoryFigures memory = MemoryOf(session.Process());
            f.Add("peak working set after scan, " + label, "MB").samples.push_back(
                memory.peakWorkingSetMb);
            const double privateMb = memory.privateMb > 0
                                         ? memory.privateMb
                                         : HostPrivateMb(folder.path + "\\QuickDock.exe");
            if (privateMb > 0)
                f.Add("private bytes after scan, " + label, "MB").samples.push_back(privateMb);
            Sleep(300);
            const int gdi0 = GdiObjectsOf(session.Process());
            const int windows0 = WindowsOf(session.ProcessId());
            SwitchCategories(FindWindowExA(session.Panel(), nullptr, "ToolbarEx", nullptr),
                             kCategorySwitches);
            Sleep(300);
            const int gdi1 = GdiObjectsOf(session.Process());
            const int windows1 = WindowsOf(session.ProcessId());
            Figure& gdiStart = f.Add("GDI objects after start", "count");
            gdiStart.samples.push_back(gdi0);
            if (gdiStart.note.empty())
                gdiStart.note = GdiCountFollowsObjects() ? "count checked on 50 brushes"
                                                         : "count NOT confirmed on this system";
            Figure& gdiGrowth = f.Add("GDI growth after 100 category switches", "count");
            gdiGrowth.samples.push_back(gdi1 - gdi0);
            gdiGrowth.target = "0";
            gdiGrowth.limit = 0.5;
            f.Add("windows (USER) after start", "count").samples.push_back(windows0);
            Figure& userGrowth = f.Add("windows growth after 100 category switches", "count");
            userGrowth.samples.push_back(windows1 - windows0);
            userGrowth.target = "0";
            userGrowth.limit = 0.5;
            const MemoryFigures floor = MemoryOf(session.TaskbarProcess());
            f.Add("peak working set of a one-window program (Wine floor)", "MB")
                .samples.push_back(floor.peakWorkingSetMb);
        }
        session.Stop();
        const double base = BaselineMs(context, folder);
        if (run < 0) continue;
        if (measureObjects) {
            // Where the dock's extra time goes: the scratch file, then the engine's decoding.
            const std::string engine = "\"" + context.productDirectory + "\\SkinEngine.dll\"";
            Figure& scratch = f.Add("breakdown: baseline + scratch icon files, " + label, "ms");
            scratch.samples.push_back(BaselineMs(context, folder, "--scratch"));
            scratch.baseline = baseline.name;
            Figure& decode =
                f.Add("breakdown: baseline + scratch files + engine LoadImageEx, " + label, "ms");
            decode.samples.push_back(BaselineMs(context, folder, "--scratch --decode " + engine));
            decode.baseline = baseline.name;
        }
        start.samples.push_back(program);
        baseline.samples.push_back(base);
        perItem.samples.push_back(program / folder.items);
        ratio.samples.push_back(program / base);
        std::fprintf(stderr, "  %s run %d: %.0f ms, baseline %.0f ms\n", label.c_str(), run + 1,
                     program, base);
    }
    if (measureObjects) {
        Figure* peak = f.Find("peak working set after scan, " + label);
        peak->target = "< 40";
        peak->limit = 40;
        peak->baseline = "peak working set of a one-window program (Wine floor)";
        if (Figure* priv = f.Find("private bytes after scan, " + label)) {
            priv->target = "< 40";
            priv->limit = 40;
            priv->note = "under Wine: anonymous resident memory";
        }
    }
}

}  // namespace

void RunScanBench(BenchContext& context) {
    ScanTree(context, context.small, "100 shortcuts", false);
    ScanTree(context, context.large, "1,000 shortcuts", true);
}
