// The benchmarks of the run and what they share.
#pragma once
#include <string>

#include "bench/Figures.h"
#include "bench/QuickLaunchTree.h"

struct BenchContext {
    std::string binDirectory;      // the benchmark tools
    std::string productDirectory;  // QuickDock.exe and SkinEngine.dll as built
    RunFolder small;               // 100 program shortcuts
    RunFolder large;               // 1,000 program shortcuts
    int runs = 5;
    int idleSeconds = 10;
    Figures* figures = nullptr;
};

// Start-up against the baseline, memory and object counts after the scan.
void RunScanBench(BenchContext& context);
// Slides in and out, launch latency and the way from a click to the hidden panel.
void RunInteractionBench(BenchContext& context);
// CPU time while idle, hidden and shown.
void RunIdleBench(BenchContext& context);
