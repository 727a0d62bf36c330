// File search for the program's code: one search handle per calling routine,
// kept in the caller's variable, which starts as null.
#pragma once
#include <windows.h>
#include <cstdint>
#include "runtime/values/Values.h"

// The next matching file name (no directory), or null when nothing more
// matches. A non-empty pattern starts a new search (closing any open one);
// an empty pattern continues the search in *state. The mask is limited to
// read-only, hidden, system, directory and archive (0x37); left out, only
// entries without the directory attribute match; 0 matches entries without
// any attribute; otherwise an entry needs one of the mask's attributes.
// A name that the ANSI code page cannot hold is handed out as its short name
// (runtime/win32/FileNames.h), so that dir + name always opens the entry.
Text FindFile(const char* pattern, int32_t mask, bool maskOmitted, HANDLE* state);
// Whether an entry with these attributes and this name passes the mask as
// FindFile applies it.
bool FileEntryMatches(DWORD attributes, const char* name, int32_t mask, bool maskOmitted);
// Closes the search in *state if one is open, leaving it null.
void CloseFileSearch(HANDLE* state);
