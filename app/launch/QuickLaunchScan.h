// Reading "快速启动目录" into categories, items and toolbar buttons.
#pragma once
#include <cstdint>
#include "runtime/values/Values.h"

void ScanQuickLaunchFolder();
int32_t ListSubfolders(const char* folder, ValueArray* names, bool fullPaths, bool sort);
int32_t ListFiles(const char* folder, const char* patterns, ValueArray* files, bool fullPaths,
                  bool sort, bool recurse);
void SortTextArray(ValueArray* texts);
