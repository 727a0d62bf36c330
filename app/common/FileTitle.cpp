// The title of a file: its name within the path, with or without extension.
#include "app/common/FileTitle.h"

#include "app/common/DeclaredFunctions.h"
#include "runtime/win32/FileNames.h"

Text FileTitle(const char* path, bool keepExtension) {
    const char* nameInPath = Declared::PathFindFileNameA(TextOrEmpty(path));
    OwnedText name(CopyText(nameInPath));
    // Asked of the last character: 運 ends in the byte of "\" too.
    if (EndsWithBackslash(name.Get())) return nullptr;
    if (keepExtension) return name.Release();
    const int32_t nameLength = TextLength(name.Get());
    const char* extension = Declared::PathFindExtensionA(TextOrEmpty(name.Get()));
    return MakeText(name.Get(), nameLength - TextLength(extension));
}
