// Listing the entries of a folder into a text array.
#pragma once
#include <cstdint>

#include "runtime/values/Values.h"

// Appends the folder's subfolders ("." and ".." left out) to *names, as full
// paths or names alone, sorted if asked; returns the array's count.
int32_t ListSubfolders(const char* folder, ValueArray* names, bool fullPaths, bool sort);
// The files matching any of the "|"-separated patterns; *files is emptied
// first unless `recurse` (then subfolders are listed into it too). Returns
// the array's count.
int32_t ListFiles(const char* folder, const char* patterns, ValueArray* files, bool fullPaths,
                  bool sort, bool recurse);
