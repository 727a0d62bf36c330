// The run folders the benchmark starts QuickDock.exe in: the program, its
// engine, the scratch folder and a generated quick-launch tree.
#pragma once
#include <string>

struct TreeShape {
    int programShortcuts = 100;  // shortcuts to the generated icon programs
    int categories = 10;
    // Per category, besides the program shortcuts: one folder shortcut and one
    // plain file for every ten program shortcuts.
};

struct RunFolder {
    std::string path;
    std::string quickLaunch;  // its quick-launch folder
    int items = 0;            // every file in the categories
    int programItems = 0;
    std::string firstTarget;  // the program the first item of category 0 opens
};

// The shortcut targets: copies of the two icon programs in `folder`.
bool MakeTargets(const std::string& binDirectory, const std::string& folder);
// A run folder with QuickDock.exe and SkinEngine.dll from productDirectory.
bool MakeRunFolder(const std::string& productDirectory, const std::string& targets,
                   const std::string& path, const TreeShape& shape, RunFolder* out);

constexpr int kTargetPrograms = 20;
std::string TargetName(int index);
