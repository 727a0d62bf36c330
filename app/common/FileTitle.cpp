// The title of a file: its name within the path, with or without extension.
#include "app/common/FileTitle.h"

#include "app/common/DeclaredFunctions.h"

Text FileTitle(const char* path, bool keepExtension) {
    const char* nameInPath = Declared::PathFindFileNameA(TextOrEmpty(path));
    OwnedText name(CopyText(nameInPath));
    const int32_t nameLength = TextLength(name.Get());
    if (nameLength > 0 && name.Get()[nameLength - 1] == '\\') return nullptr;
    if (keepExtension) return name.Release();
    const char* extension = Declared::PathFindExtensionA(TextOrEmpty(name.Get()));
    return MakeText(name.Get(), nameLength - TextLength(extension));
}
