#include "app/launch/TargetPicture.h"

#include "app/common/DeclaredFunctions.h"
#include "runtime/values/Values.h"

namespace {
const char* ExtensionOf(const char* path) {
    return Declared::PathFindExtensionA(TextOrEmpty(path));
}
}  // namespace

bool IsShortcutItem(const char* path) {
    return TextCompare(ExtensionOf(path), ".lnk") == 0;
}

TargetPicture PictureForTarget(const char* target, const char* ownName) {
    if (TextCompare(ExtensionOf(ownName), ".exe") == 0) return TargetPicture::ProgramIcon;
    // Only the directory attribute itself counts; other true values do not.
    if (Declared::PathIsDirectoryA(TextOrEmpty(target)) == FILE_ATTRIBUTE_DIRECTORY)
        return TargetPicture::FolderPicture;
    return TargetPicture::None;
}
