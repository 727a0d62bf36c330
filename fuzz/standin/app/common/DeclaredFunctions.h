// Stands in natively for the program's table of declared Windows functions,
// for the fuzzers that build the program's own code around them unchanged
// (this folder comes first on their include path). Only the shell path
// functions that code calls are here, as faithful pure copies of their
// documented behaviour with the ANSI code page 936 (a byte from 0x81 to
// 0xFE starts a two-byte character), and PathIsDirectoryA, whose answer
// the fuzzer chooses.
#pragma once
#include <cstdint>

using BOOL = int;
constexpr BOOL FILE_ATTRIBUTE_DIRECTORY = 0x10;

namespace Declared {
char* PathFindExtensionA(const char* path);
char* PathFindFileNameA(const char* path);
BOOL PathIsDirectoryA(const char* path);
}  // namespace Declared

// What PathIsDirectoryA answers next.
extern BOOL gStandInDirectoryAnswer;
