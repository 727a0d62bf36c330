#include "runtime/win32/FileNames.h"

#include <windows.h>

#include <cstring>

bool EndsWithBackslash(const char* text) {
    if (!text || !*text) return false;
    const char* end = text + std::strlen(text);
    const char* last = CharPrevA(text, end);
    return last == end - 1 && *last == '\\';
}
