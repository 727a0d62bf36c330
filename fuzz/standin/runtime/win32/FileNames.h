// Stands in natively for the program's file-name helpers that the title
// routine calls (this folder comes first on the shortcut_target fuzzer's
// include path): the fuzzer has no file system, so a short name is never
// looked up, and the last-character test walks code page 936 as the system's
// CharPrevA does.
#pragma once
#include <string>

// Always empty: no file is found, as for a name that is not a short name.
std::string LongNameOfShortName(const char* path);
// Whether the last character (double-byte characters taken whole) is "\".
bool EndsWithBackslash(const char* text);
