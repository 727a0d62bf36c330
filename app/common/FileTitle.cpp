// The title of a file: its name within the path, with or without extension.
#include "app/common/FileTitle.h"

#include <string>

#include "app/common/DeclaredFunctions.h"
#include "runtime/win32/FileNames.h"

Text FileTitle(const char* path, bool keepExtension) {
    const char* nameInPath = Declared::PathFindFileNameA(TextOrEmpty(path));
    // A name that code page 936 cannot hold is listed by its short name; the
    // title shows the long name as well as the code page can ("??.lnk").
    const std::string longName = LongNameOfShortName(TextOrEmpty(path));
    OwnedText name(CopyText(longName.empty() ? nameInPath : longName.c_str()));
    // Asked of the last character: 運 ends in the byte of "\" too.
    if (EndsWithBackslash(name.Get())) return nullptr;
    if (keepExtension) return name.Release();
    const int32_t nameLength = TextLength(name.Get());
    const char* extension = Declared::PathFindExtensionA(TextOrEmpty(name.Get()));
    return MakeText(name.Get(), nameLength - TextLength(extension));
}
