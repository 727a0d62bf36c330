#include "app/common/DeclaredFunctions.h"

BOOL gStandInDirectoryAnswer = 0;

namespace {
// The next character: two bytes for a lead byte of code page 936 followed by
// anything but the terminator, else one; the terminator stays put.
const char* CharNext(const char* p) {
    if (!*p) return p;
    const unsigned char lead = static_cast<unsigned char>(*p);
    if (lead >= 0x81 && lead <= 0xFE && p[1]) return p + 2;
    return p + 1;
}
}  // namespace

namespace Declared {

// From the last "." of the last path part (a "\" or a blank starts over) to
// the end; the end itself when there is none.
char* PathFindExtensionA(const char* path) {
    const char* lastPoint = nullptr;
    if (path) {
        while (*path) {
            if (*path == '\\' || *path == ' ')
                lastPoint = nullptr;
            else if (*path == '.')
                lastPoint = path;
            path = CharNext(path);
        }
    }
    return const_cast<char*>(lastPoint ? lastPoint : path);
}

// After the last "\", "/" or ":" that something other than a separator follows.
char* PathFindFileNameA(const char* path) {
    const char* lastSlash = path;
    while (path && *path) {
        if ((*path == '\\' || *path == '/' || *path == ':') && path[1] && path[1] != '\\' &&
            path[1] != '/')
            lastSlash = path + 1;
        path = CharNext(path);
    }
    return const_cast<char*>(lastSlash);
}

BOOL PathIsDirectoryA(const char*) {
    return gStandInDirectoryAnswer;
}

}  // namespace Declared
