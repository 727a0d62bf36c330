#include "app/common/CategoryTitle.h"

#include <windows.h>

Text CategoryTitle(const char* folderName) {
    const char* name = TextOrEmpty(folderName);
    const char* shown = name;
    // Whole characters of the ANSI code page, the way the toolbar draws them.
    while (*shown && shown - name < kHiddenSortKeyBytes) shown = CharNextA(shown);
    return CopyText(shown);
}
