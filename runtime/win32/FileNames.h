// Paths in the ANSI code page that still reach the real file. The program's
// texts are code page 936 bytes: a name with a character that code page
// cannot hold (an emoji, Korean, "™") has no ANSI spelling, and the ANSI calls
// take at most MAX_PATH bytes. Names that cannot be spelt are handed out as
// the short (8.3) name the file system keeps for them; the calls that open a
// file take the wide form of a path, with the long-path prefix when it needs
// one; the calls that have no long-path form at all (LoadLibraryEx,
// ShellExecute) take the short form of a long path.
#pragma once
#include <windows.h>

#include <string>

// The wide form of an ANSI path, with "\\?\" (or "\\?\UNC\") in front of a
// full path of MAX_PATH bytes or more so that the wide calls accept it.
std::wstring WidePath(const char* path);
// The wide text of ANSI bytes (no prefix).
std::wstring WideFromAnsi(const char* text);
// A wide path without its "\\?\" (or "\\?\UNC\") prefix.
std::wstring WithoutLongPrefix(const std::wstring& path);

// `wide` in the ANSI code page; true when every character has its own bytes
// there (no "?" put in, no look-alike chosen, the bytes read back the same).
bool AnsiFromWide(const wchar_t* wide, std::string* ansi);

// The ANSI name under which a directory entry is handed out: its own name
// when the code page holds it, else its short name; the lossy spelling when
// the volume keeps no short names (then the name opens nothing).
std::string EntryNameForAnsi(const wchar_t* name, const wchar_t* shortName);

// An ANSI spelling of a wide path that opens it: the path itself when the
// code page holds it and it is shorter than MAX_PATH, else its short form
// when the file exists and the volume has short names, else the path as well
// as the code page can hold it.
std::string AnsiPathFromWide(const std::wstring& wide);

// A path for the calls limited to MAX_PATH: a path that long is replaced by
// its short form when there is one; otherwise the path is handed back as is.
std::string ShortFormForAnsiCalls(const char* path);

// The long name of the file `path` names, as well as the code page can hold
// it, when the path's last part is a short name (it holds "~"); empty when
// the last part is already the file's own name or the file cannot be found.
std::string LongNameOfShortName(const char* path);
// The same name exactly, in full: empty also when the file's own name is the
// path's last part itself.
std::wstring OwnNameOfShortName(const char* path);
// Whether `path` names a file whose own name is exactly `ownName`. A short
// name can come to name another file once its own is deleted.
bool PathNamesFileCalled(const char* path, const wchar_t* ownName);

// Whether the last character of an ANSI text (double-byte characters taken
// whole) is "\". A trailing byte 0x5C of a double-byte character (運, 誠, 錦,
// 籠, ...) is no backslash.
bool EndsWithBackslash(const char* text);
