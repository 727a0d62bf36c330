// Start-up scan: QuickDock.exe from process creation to its panel shown with
// category 0, against the baseline program over the same tree and the work
// the scan is required to do (the baseline plus the scratch icon files and the
// engine's decoding), all measured in the same run. With two builds, they
// alternate run by run, each run in the other order. After the large scan:
// memory and the GDI objects and windows before and after 100 category
// switches; then starts of their own for the dock button's longest answer.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/Benches.h"
#include "bench/DockSession.h"
#include "bench/ProcessProbe.h"
#include "bench/RequiredWork.h"

namespace {

constexpr int kCategorySwitches = 100;

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

void SetTarget(Figure& figure, const char* text, double limit) {
    figure.target = text;
    figure.limit = limit;
}

// What a tree's runs record besides the start-up time.
struct TreeMeasures {
    bool requiredWork = false;  // the breakdown and the ratio to it
    bool memory = false;
    bool objectsAndAnswers = false;
};

void RecordMemory(Product& product, DockSession& session, const RunFolder& folder,
                  const std::string& label) {
    Figures& f = product.figures;
    const MemoryFigures memory = MemoryOf(session.Process());
    f.Add("peak working set after scan, " + label, "MB").samples.push_back(memory.peakWorkingSetMb);
    const double privateMb =
        memory.privateMb > 0 ? memory.privateMb : HostPrivateMb(folder.path + "\\QuickDock.exe");
    if (privateMb > 0)
        f.Add("private bytes after scan, " + label, "MB").samples.push_back(privateMb);
}

void RecordObjects(Product& product, DockSession& session) {
    Figures& f = product.figures;
    Sleep(300);
    const int gdi0 = GdiObjectsOf(session.Process());
    const int windows0 = WindowsOf(session.ProcessId());
    for (int i = 0; i < kCategorySwitches; ++i) session.SelectCategory(i % kVisibleCategoryButtons);
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
    SetTarget(gdiGrowth, "0", 0.5);
    f.Add("windows (USER) after start", "count").samples.push_back(windows0);
    Figure& userGrowth = f.Add("windows growth after 100 category switches", "count");
    userGrowth.samples.push_back(windows1 - windows0);
    SetTarget(userGrowth, "0", 0.5);
    const MemoryFigures floor = MemoryOf(session.TaskbarProcess());
    f.Add("peak working set of a one-window program (Wine floor)", "MB")
        .samples.push_back(floor.peakWorkingSetMb);
}

// One start of one build over a tree; the start-up time, or -1.
double StartOnce(Product& product, RunFolder Product::*tree, const std::string& label,
                 const TreeMeasures& measures, bool record) {
    const RunFolder& folder = product.*tree;
    DockSession session;
    if (!session.Start(folder.path)) {
        std::fprintf(stderr, "%s: the panel did not come up\n", label.c_str());
        return -1;
    }
    const double startUp = session.StartUpMs();
    const int leftOver = ScratchFiles(folder);
    if (leftOver) std::fprintf(stderr, "%s: %d scratch files left\n", label.c_str(), leftOver);
    if (record) {
        if (measures.memory) RecordMemory(product, session, folder, label);
        if (measures.objectsAndAnswers) RecordObjects(product, session);
    }
    session.Stop();
    return startUp;
}

// One start of one build while the dock button is asked to answer; a start
// of its own, since the asking thread takes CPU time from the start it watches.
void WatchStart(Product& product, RunFolder Product::*tree, const std::string& label) {
    DockSession session;
    StartWatch watch;
    if (!session.Start((product.*tree).path, &watch)) {
        std::fprintf(stderr, "%s: the panel did not come up\n", label.c_str());
        return;
    }
    session.Stop();
    Figure& answer =
        product.figures.Add("dock button's longest answer while starting, " + label, "ms");
    answer.samples.push_back(watch.longestAnswerMs);
    SetTarget(answer, "<= 50", 50.0000001);
    answer.note = "asked every 5 ms from its embedding to the panel ready";
    product.figures.Add("dock button's answers while starting, " + label, "count")
        .samples.push_back(watch.answers);
}

// The builds in the order they start in this run: alternating, so that
// neither always starts right after the other's exit.
std::vector<size_t> StartOrder(const BenchContext& context, int run) {
    std::vector<size_t> order;
    for (size_t p = 0; p < context.products.size(); ++p) order.push_back(p);
    if (run % 2 != 0) std::reverse(order.begin(), order.end());
    return order;
}

void ScanTree(BenchContext& context, RunFolder Product::*tree, const std::string& label,
              const TreeMeasures& measures) {
    const RunFolder& shared = context.products.front().*tree;
    const std::string items = std::to_string(shared.items) + " items";
    for (Product& product : context.products) {
        Figures& f = product.figures;
        f.Add("start-up, " + label + " (" + items + ")", "ms");
        f.Add("baseline, " + label, "ms");
        if (measures.requiredWork) {
            Figure& ratio = f.Add("start-up / required work, " + label, "x");
            SetTarget(ratio, "<= 1.15", 1.1500001);
            ratio.note = "baseline + scratch files + engine decoding, same run";
        }
    }
    // One unrecorded run of each warms the file cache and Wine's loaded modules.
    for (int run = -1; run < context.runs; ++run) {
        const bool record = run >= 0;
        std::vector<double> startUps(context.products.size(), -1);
        for (const size_t p : StartOrder(context, run))
            startUps[p] = StartOnce(context.products[p], tree, label, measures, record);
        const double base = BaselineMs(context.binDirectory, shared);
        double scratch = -1;
        if (measures.requiredWork) scratch = BaselineMs(context.binDirectory, shared, "--scratch");
        for (size_t p = 0; p < context.products.size(); ++p) {
            Product& product = context.products[p];
            const RunFolder& folder = product.*tree;
            // The required work uses each build's own engine.
            double required = -1;
            if (measures.requiredWork)
                required = RequiredWorkMs(context.binDirectory, product.directory, folder);
            if (!record || startUps[p] < 0) continue;
            Figures& f = product.figures;
            f.Find("start-up, " + label + " (" + items + ")")->samples.push_back(startUps[p]);
            f.Find("baseline, " + label)->samples.push_back(base);
            f.Add("start-up / baseline, " + label, "x").samples.push_back(startUps[p] / base);
            if (measures.requiredWork) {
                Figure& withScratch =
                    f.Add("breakdown: baseline + scratch icon files, " + label, "ms");
                withScratch.samples.push_back(scratch);
                withScratch.baseline = "baseline, " + label;
                Figure& decode = f.Add(
                    "breakdown: baseline + scratch files + engine LoadImageEx, " + label, "ms");
                decode.samples.push_back(required);
                decode.baseline = "baseline, " + label;
                f.Find("start-up / required work, " + label)
                    ->samples.push_back(startUps[p] / required);
            }
            std::fprintf(stderr, "  %s%s run %d: %.0f ms, baseline %.0f ms, required %.0f ms\n",
                         product.label.empty() ? "" : (product.label + ", ").c_str(), label.c_str(),
                         run + 1, startUps[p], base, required);
        }
        // Two builds: the later one's start-up against the earlier one's, run by run.
        if (record && context.products.size() == 2 && startUps[0] > 0 && startUps[1] > 0) {
            Figure& paired = context.products.back().figures.Add(
                "start-up after / before, same run, " + label, "x");
            paired.samples.push_back(startUps[1] / startUps[0]);
        }
    }
    if (measures.objectsAndAnswers) {
        for (int run = 0; run < context.runs; ++run)
            for (const size_t p : StartOrder(context, run))
                WatchStart(context.products[p], tree, label);
    }
    for (Product& product : context.products) {
        Figures& f = product.figures;
        f.Find("start-up, " + label + " (" + items + ")")->baseline = "baseline, " + label;
        if (!measures.memory) continue;
        Figure* peak = f.Find("peak working set after scan, " + label);
        if (peak && measures.objectsAndAnswers) {
            SetTarget(*peak, "<= 45", 45.0000001);
            peak->baseline = "peak working set of a one-window program (Wine floor)";
        }
        Figure* priv = f.Find("private bytes after scan, " + label);
        if (priv) {
            if (measures.objectsAndAnswers) SetTarget(*priv, "<= 25", 25.0000001);
            priv->note = "under Wine: anonymous resident memory";
        }
    }
}

}  // namespace

void RunScanBench(BenchContext& context) {
    ScanTree(context, &Product::small, "100 shortcuts", {true, false, false});
    ScanTree(context, &Product::large, "1,000 shortcuts", {true, true, true});
    ScanTree(context, &Product::typical, "typical folder, 5 categories", {false, true, false});
}
