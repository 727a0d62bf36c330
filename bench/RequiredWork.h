// Runs of the required-work program (bench_baseline.exe) over a run folder.
#pragma once
#include <string>

#include "bench/QuickLaunchTree.h"

// Creation to exit of one run, in milliseconds; -1 when it did not start.
// `options` as bench_baseline.exe takes them.
double BaselineMs(const std::string& binDirectory, const RunFolder& folder,
                  const std::string& options = "");
// The work the start-up scan is required to do, with the engine of the build
// in `productDirectory`: the baseline, the scratch icon files and decoding.
double RequiredWorkMs(const std::string& binDirectory, const std::string& productDirectory,
                      const RunFolder& folder);
