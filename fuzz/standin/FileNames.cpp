#include "runtime/win32/FileNames.h"

std::string LongNameOfShortName(const char*) { return std::string(); }

bool EndsWithBackslash(const char* text) {
    if (!text) return false;
    // Code page 936: a byte from 0x81 to 0xFE starts a two-byte character
    // unless the terminator follows it.
    const char* last = nullptr;
    for (const char* p = text; *p;) {
        last = p;
        const unsigned char lead = static_cast<unsigned char>(*p);
        p += (lead >= 0x81 && lead <= 0xFE && p[1]) ? 2 : 1;
    }
    return last && last[0] == '\\' && last[1] == '\0';
}
