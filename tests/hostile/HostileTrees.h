// Quick-launch trees that users and other programs could leave behind:
// damaged shortcuts, programs with damaged icons, names the code page cannot
// hold, paths near and past 260 bytes, very many items and categories. The
// tests count what actually landed on disk (with the wide file API), since
// some hostile names cannot be created on every system.
#pragma once
#include <string>
#include <vector>

extern const char* const kQuickLaunchRoot;  // "快速启动目录"
extern const char* const kScratchFolder;    // "临时数据"

// Shortcuts that are empty, truncated or random bytes; to a missing program,
// to a network path that does not resolve, with a very long target.
void BuildBrokenShortcuts(const std::string& category);
// Shortcuts to the damaged-icon programs beside the test program, to a
// program of 0 bytes, and to a PNG-only program.
void BuildDamagedIcons(const std::string& category, const std::string& programsFolder);
// Shortcuts to programs whose icon groups are too big: one naming one image
// 65,535 times (blowup.lnk), one holding a 512 KiB image (large.lnk), and
// one sound program (png_only.lnk).
void BuildIconBlowUps(const std::string& category, const std::string& programsFolder);
// Names with bytes that are not GBK, names the code page cannot represent,
// and paths just below and past 260 bytes (inside `root`).
void BuildHostileNames(const std::string& root);
// `items` files in one category and `categories` categories of one file.
void BuildManyItems(const std::string& root, int items, int categories);

// Files (not folders) directly in a folder, any name, any path length.
int CountFiles(const std::string& folder);
// Subfolders of a folder.
std::vector<std::string> SubfolderPaths(const std::string& folder);
// Names and sizes of everything in a folder, for comparing before and after.
std::vector<std::string> Snapshot(const std::string& folder);
// Removes a tree with the wide API, long paths and odd names included.
void RemoveTreeWide(const std::string& folder);
// A run folder prepared at build time whose scratch folder already holds a
// file under every name the program can draw (beside the test programs).
std::string TakenScratchRunFolder();
