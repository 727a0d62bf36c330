// Paths in the ANSI code page (code page 936), where one character may take
// two bytes.
#pragma once

// Whether the last character of an ANSI text (double-byte characters taken
// whole) is "\". A trailing byte 0x5C of a double-byte character (運, 誠, 錦,
// 籠, ...) is no backslash.
bool EndsWithBackslash(const char* text);
