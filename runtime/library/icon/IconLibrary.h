// The icon library: saving a module's or an icon file's icon as a file.
#pragma once
#include <cstdint>
#include <vector>

struct SupportLibrary;
const SupportLibrary& IconLibrary();

// Counts the icons of `source` (an ".ico" file counts as one; ".exe", ".dll"
// and ".icl" modules count their icon groups) and, in mode 0, writes icon
// `number` (from 1) to `target` as an ".ico" file or a ".bmp" picture. The
// target is created new: a file, link or junction that already has its name
// is neither replaced nor followed (nothing is written then); `written`, when
// given, says whether the target was created and written. `readBack`, when
// given, makes the target a scratch file: what was written is read back
// through the handle that wrote it and the file is deleted with that handle,
// so no other file can be read or deleted in its place, and it exists only
// during the call. The result is the count; 0 for any other kind, an
// unloadable module, or mode 0 with an empty target.
int32_t SaveIconToFile(const char* source, int32_t mode, const char* target, int32_t number,
                       bool* written = nullptr, std::vector<uint8_t>* readBack = nullptr);
