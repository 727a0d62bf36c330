// The benchmarks of the run and what they share.
#pragma once
#include <deque>
#include <string>

#include "bench/Figures.h"
#include "bench/QuickLaunchTree.h"

// One build of the product under measurement: its run folders and figures.
struct Product {
    std::string label;      // "before" or "after" when two builds are compared
    std::string directory;  // QuickDock.exe and SkinEngine.dll as built
    RunFolder small;        // 100 program shortcuts
    RunFolder large;        // 1,000 program shortcuts
    RunFolder typical;      // 50 items in 5 categories
    RunFolder empty;        // an empty quick-launch folder: the fixed start
    RunFolder fresh;        // another 1,000-shortcut tree, made later: read again in its place
    Figures figures;
};

struct BenchContext {
    std::string binDirectory;      // the benchmark tools
    std::deque<Product> products;  // one, or two compared run by run
    int runs = 5;
    int idleSeconds = 10;
    int soakSlides = 10000;
};

// Start-up against the unavoidable work, the dock's answers during the scan,
// memory and object counts after it; the products alternate run by run.
void RunScanBench(BenchContext& context);
// The same starts with the page cache emptied before each, against the
// required work done cold too.
void RunColdStartBench(BenchContext& context);
// The start with no shortcuts against a program that only loads the engine
// and GDI+ and shows a window.
void RunFixedStartBench(BenchContext& context);
// Slides in and out, launch latency and the way from a click to the hidden panel.
void RunInteractionBench(const BenchContext& context, Product& product);
// CPU time while idle, hidden and shown.
void RunIdleBench(const BenchContext& context, Product& product);
// Thousands of slides, category switches and launches in one run: growth of
// memory, GDI objects, windows and handles.
void RunSoakBench(const BenchContext& context, Product& product);
// The folder read again while the program runs, against its first scan.
void RunRescanBench(const BenchContext& context, Product& product);
