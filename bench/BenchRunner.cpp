// The benchmark driver: builds the run folders, runs every benchmark and
// prints one table of medians with their spread and targets.
//
//   bench_runner.exe --product DIR --work DIR [--before DIR] [--stripped DIR]
//                    [--runs N] [--idle-seconds S] [--soak-slides N] [--quick]
//                    [--drop-caches PROGRAM]
//                    [--only scan|cold|fixed|interaction|idle|rescan|soak]
//
// --product  the folder holding QuickDock.exe and SkinEngine.dll
// --before   another build's folder, measured alongside (start-ups run by run)
//            and shown beside the first in one table
// --work     an empty folder for the run folders and shortcut targets
// --stripped a folder with x86_64\ and i686\ copies of both, stripped
// --drop-caches  a host program that empties the page cache (cold starts)
// --quick    the warm figures only: no cold starts, no soak
// Progress goes to the error stream, the table to the output.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/Benches.h"
#include "bench/PageCache.h"
#include "bench/ProcessProbe.h"

namespace {

std::string OwnDirectory() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    return path.substr(0, path.find_last_of('\\'));
}

std::string WineVersion() {
    using Version = const char*(CDECL*)();
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    auto version = reinterpret_cast<Version>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version")));
    return version ? std::string("Wine ") + version() : "Windows (not Wine)";
}

double FileKb(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return static_cast<double>(data.nFileSizeLow) / 1024.0;
}

void RecordSizes(Figures& f, const std::string& stripped) {
    for (const char* target : {"x86_64", "i686"}) {
        for (const char* file : {"QuickDock.exe", "SkinEngine.dll"}) {
            const double kb = FileKb(stripped + "\\" + target + "\\" + file);
            if (kb >= 0)
                f.Add(std::string("size of ") + file + ", " + target + ", stripped", "KB")
                    .samples.push_back(kb);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    BenchContext context;
    context.binDirectory = OwnDirectory();
    std::string product, before, work, stripped, only;
    bool quick = false;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--quick") {
            quick = true;
            continue;
        }
        if (i + 1 >= argc) break;
        const std::string value = argv[++i];
        if (option == "--product") product = value;
        if (option == "--before") before = value;
        if (option == "--work") work = value;
        if (option == "--stripped") stripped = value;
        if (option == "--runs") context.runs = std::max(1, std::atoi(value.c_str()));
        if (option == "--idle-seconds") context.idleSeconds = std::max(1, std::atoi(value.c_str()));
        if (option == "--only") only = value;
        if (option == "--soak-slides") context.soakSlides = std::max(1, std::atoi(value.c_str()));
        if (option == "--drop-caches") SetPageCacheDropper(value);
    }
    if (product.empty() || work.empty()) {
        std::fprintf(stderr,
                     "usage: bench_runner --product DIR --work DIR [--before DIR] "
                     "[--stripped DIR]\n");
        return 2;
    }
    if (!before.empty())
        context.products.push_back(Product{"before", before, {}, {}, {}, {}, {}, {}});
    context.products.push_back(
        Product{before.empty() ? "" : "after", product, {}, {}, {}, {}, {}, {}});
    OleInitialize(nullptr);

    std::fprintf(stderr, "bench: making the quick-launch trees\n");
    const std::string targets = work + "\\targets";
    CreateDirectoryA(work.c_str(), nullptr);
    TreeShape small, large, typical, empty;
    small.programShortcuts = 100;
    large.programShortcuts = 1000;
    // Eight program shortcuts, a document and a folder shortcut per category.
    typical.programShortcuts = 40;
    typical.categories = 5;
    empty.programShortcuts = 0;
    empty.categories = 0;
    bool made = MakeTargets(context.binDirectory, targets);
    for (Product& p : context.products) {
        const std::string run = work + "\\run" + (p.label.empty() ? "" : "-" + p.label);
        made = made && MakeRunFolder(p.directory, targets, run + "100", small, &p.small) &&
               MakeRunFolder(p.directory, targets, run + "1000", large, &p.large) &&
               MakeRunFolder(p.directory, targets, run + "typical", typical, &p.typical) &&
               MakeRunFolder(p.directory, targets, run + "empty", empty, &p.empty) &&
               MakeRunFolder(p.directory, targets, run + "1000-fresh", large, &p.fresh);
    }
    if (!made) {
        std::fprintf(stderr, "bench: could not make the run folders in %s\n", work.c_str());
        return 1;
    }
    const auto wanted = [&](const char* bench, bool warm) {
        return only.empty() ? warm || !quick : only == bench;
    };
    if (wanted("scan", true)) {
        std::fprintf(stderr, "bench: start-up scan\n");
        RunScanBench(context);
    }
    if (wanted("cold", false)) {
        std::fprintf(stderr, "bench: cold start-up\n");
        RunColdStartBench(context);
    }
    if (wanted("fixed", true)) {
        std::fprintf(stderr, "bench: fixed start\n");
        RunFixedStartBench(context);
    }
    for (Product& p : context.products) {
        if (wanted("interaction", true)) {
            std::fprintf(stderr, "bench: slides and launches %s\n", p.label.c_str());
            RunInteractionBench(context, p);
        }
        if (wanted("idle", true)) {
            std::fprintf(stderr, "bench: idle %s\n", p.label.c_str());
            RunIdleBench(context, p);
        }
        if (wanted("rescan", true)) {
            std::fprintf(stderr, "bench: rescans %s\n", p.label.c_str());
            RunRescanBench(context, p);
        }
        if (wanted("soak", false)) {
            std::fprintf(stderr, "bench: soak %s\n", p.label.c_str());
            RunSoakBench(context, p);
        }
    }
    if (!stripped.empty()) RecordSizes(context.products.back().figures, stripped);

    SYSTEM_INFO system;
    GetSystemInfo(&system);
    std::printf("Machine: %lu cores, %s, screen %d x %d. Medians over the runs shown.\n\n",
                system.dwNumberOfProcessors, WineVersion().c_str(), GetSystemMetrics(SM_CXSCREEN),
                GetSystemMetrics(SM_CYSCREEN));
    if (context.products.size() == 2) {
        std::printf("%s", Figures::SideBySide(context.products.front().figures,
                                              context.products.back().figures)
                              .c_str());
    } else {
        std::printf("%s", context.products.back().figures.Table().c_str());
    }
    OleUninitialize();
    return 0;
}
