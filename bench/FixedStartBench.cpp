// The fixed start: what the dock's start costs before and beside its content.
// QuickDock.exe over an empty quick-launch folder, from process creation to
// its panel shown (its first top-level window; the scan finds nothing), against the
// windowed baseline (bench_windowed.exe, with the same build's engine) from
// its creation to its window shown. Warm; the two alternate run by run. Each
// run adds a start of the dock's own that notes when its button reached the
// taskbar and when the panel window came, to show where its time goes.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "bench/Benches.h"
#include "bench/DockSession.h"
#include "bench/ProcessProbe.h"
#include "tests/support/ProcessWatch.h"

namespace {

constexpr DWORD kShowTimeoutMs = 60000;
constexpr const char* kToDock = "fixed start breakdown: creation to dock button in the taskbar";
constexpr const char* kToPanel = "fixed start breakdown: creation to panel window created";
constexpr const char* kToShown = "fixed start breakdown: creation to panel shown";

// One start of the windowed baseline with the engine of `product`: creation
// to its window shown, in milliseconds; -1 when it did not come up.
double WindowedBaselineMs(const BenchContext& context, const Product& product) {
    const std::string exe = context.binDirectory + "\\bench_windowed.exe";
    const std::string folder = product.empty.path;
    PROCESS_INFORMATION pi;
    if (!StartProgram(exe, "\"" + folder + "\\SkinEngine.dll\"", folder, &pi)) return -1;
    HWND window = nullptr;
    const bool shown = WaitFor(
        [&] {
            window = VisibleWindowOf(pi.dwProcessId);
            return window != nullptr || WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0;
        },
        kShowTimeoutMs);
    const double ms = NowMs() - CreationMs(pi.hProcess);
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 9);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return shown && window ? ms : -1;
}

double DockFixedStartMs(const Product& product, StartMilestones* milestones = nullptr) {
    DockSession session;
    if (!session.Start(product.empty.path, nullptr, false, milestones)) return -1;
    const double ms = session.StartUpMs();
    session.Stop();
    return ms;
}

void RecordMilestones(const Product& product, Figures& f, int run) {
    StartMilestones m;
    const double shown = DockFixedStartMs(product, &m);
    if (shown < 0 || m.dockEmbeddedMs < 0 || m.panelCreatedMs < 0) {
        std::fprintf(stderr, "fixed start %s run %d: a milestone was not seen\n",
                     product.label.c_str(), run + 1);
        return;
    }
    f.Find(kToDock)->samples.push_back(m.dockEmbeddedMs);
    f.Find(kToPanel)->samples.push_back(m.panelCreatedMs);
    f.Find(kToShown)->samples.push_back(shown);
}

}  // namespace

void RunFixedStartBench(BenchContext& context) {
    const std::string dockName = "fixed start: creation to panel shown, empty folder";
    const std::string baseName = "windowed baseline: creation to its window shown";
    for (Product& product : context.products) {
        product.figures.Add(dockName, "ms").baseline = baseName;
        product.figures.Add(baseName, "ms");
        Figure& ratio = product.figures.Add("fixed start / windowed baseline", "x");
        ratio.target = "<= 1.10";
        ratio.limit = 1.1000001;
        ratio.note = "same run, same engine";
        for (const char* name : {kToDock, kToPanel, kToShown}) {
            Figure& step = product.figures.Add(name, "ms");
            step.baseline = baseName;
            step.note = "starts of their own, polled for each step";
        }
    }
    // One unrecorded run of each warms the file cache and Wine's loaded modules.
    for (int run = -1; run < context.runs; ++run) {
        std::vector<double> dock(context.products.size(), -1), base(context.products.size(), -1);
        // The dock first in even runs, the baseline first in odd ones.
        for (int half = 0; half < 2; ++half) {
            const bool dockNow = (half == 0) == (run % 2 == 0);
            for (size_t p = 0; p < context.products.size(); ++p) {
                if (dockNow) {
                    dock[p] = DockFixedStartMs(context.products[p]);
                } else {
                    base[p] = WindowedBaselineMs(context, context.products[p]);
                }
            }
        }
        if (run < 0) continue;
        for (size_t p = 0; p < context.products.size(); ++p) {
            Product& product = context.products[p];
            RecordMilestones(product, product.figures, run);
            if (dock[p] < 0 || base[p] < 0) {
                std::fprintf(stderr, "fixed start %s run %d: a start did not come up\n",
                             product.label.c_str(), run + 1);
                continue;
            }
            Figures& f = product.figures;
            f.Find(dockName)->samples.push_back(dock[p]);
            f.Find(baseName)->samples.push_back(base[p]);
            f.Find("fixed start / windowed baseline")->samples.push_back(dock[p] / base[p]);
            std::fprintf(stderr, "  %sfixed start run %d: %.0f ms, windowed baseline %.0f ms\n",
                         product.label.empty() ? "" : (product.label + ", ").c_str(), run + 1,
                         dock[p], base[p]);
        }
    }
}
