// Cold start-up, as at logon: the page cache is emptied before every start of
// QuickDock.exe and before every run of the required work, which alternate
// run by run (the dock first in even runs). The taskbar runs already when the
// cache is emptied, as the shell does at logon.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "bench/Benches.h"
#include "bench/DockSession.h"
#include "bench/PageCache.h"
#include "bench/RequiredWork.h"

namespace {

double ColdDockMs(Product& product, RunFolder Product::*tree) {
    DockSession session;
    if (!session.Start((product.*tree).path, nullptr, true)) return -1;
    const double ms = session.StartUpMs();
    session.Stop();
    return ms;
}

double ColdRequiredWorkMs(const BenchContext& context, Product& product, RunFolder Product::*tree) {
    if (!DropPageCache()) return -1;
    return RequiredWorkMs(context.binDirectory, product.directory, product.*tree);
}

// `targeted`: the ratio has a target (the trees of 100 and 1,000 shortcuts).
void ColdTree(BenchContext& context, RunFolder Product::*tree, const std::string& label,
              bool targeted) {
    const std::string startName = "cold start-up, " + label;
    const std::string requiredName = "cold required work, " + label;
    const std::string ratioName = "cold start-up / required work, " + label;
    for (Product& product : context.products) {
        Figures& f = product.figures;
        f.Add(startName, "ms").baseline = requiredName;
        f.Add(requiredName, "ms");
        Figure& ratio = f.Add(ratioName, "x");
        if (targeted) {
            ratio.target = "<= 1.15";
            ratio.limit = 1.1500001;
        }
        ratio.note = "page cache emptied before each, same run";
    }
    // Every run is cold by construction: no warm-up run.
    for (int run = 0; run < context.runs; ++run) {
        const size_t n = context.products.size();
        std::vector<double> dock(n, -1), required(n, -1);
        std::vector<std::function<void()>> steps;
        for (size_t p = 0; p < n; ++p)
            steps.push_back([&, p] { dock[p] = ColdDockMs(context.products[p], tree); });
        for (size_t p = 0; p < n; ++p)
            steps.push_back(
                [&, p] { required[p] = ColdRequiredWorkMs(context, context.products[p], tree); });
        if (run % 2 != 0) std::rotate(steps.begin(), steps.begin() + n, steps.end());
        for (const auto& step : steps) step();
        for (size_t p = 0; p < n; ++p) {
            Product& product = context.products[p];
            std::fprintf(stderr, "  %scold %s run %d: %.0f ms, required %.0f ms\n",
                         product.label.empty() ? "" : (product.label + ", ").c_str(), label.c_str(),
                         run + 1, dock[p], required[p]);
            if (dock[p] < 0 || required[p] <= 0) continue;
            Figures& f = product.figures;
            f.Find(startName)->samples.push_back(dock[p]);
            f.Find(requiredName)->samples.push_back(required[p]);
            f.Find(ratioName)->samples.push_back(dock[p] / required[p]);
        }
    }
}

}  // namespace

void RunColdStartBench(BenchContext& context) {
    if (!PageCacheCanBeDropped()) {
        std::fprintf(stderr, "bench: cold start-up skipped (emptying the page cache needs root)\n");
        return;
    }
    ColdTree(context, &Product::small, "100 shortcuts", true);
    ColdTree(context, &Product::large, "1,000 shortcuts", true);
    ColdTree(context, &Product::typical, "typical folder, 5 categories", false);
}
