// The skin library's entry in the runtime's support-library table: its
// identity, its notification entry (on which the engine is loaded), its
// eight commands and its component types.
#include "ui/skin/SkinUiLibrary.h"

#include "runtime/process/Runtime.h"
#include "ui/skin/SkinCommands.h"
#include "ui/skin/SkinControls.h"
#include "ui/skin/SkinEngineLoader.h"
#include "ui/skin/SkinRuntimeLink.h"

namespace {

// Code 1 hands over the runtime's entry; the engine is loaded then, before
// the first window exists. Nothing is unloaded at the program's end.
intptr_t SkinUiNotify(int32_t code, intptr_t a1, intptr_t) {
    if (code != kLibraryNotifyInit) return -1;
    SetRuntimeNotifyEntry(reinterpret_cast<RuntimeNotifyFn>(a1));
    LoadSkinEngineOnce();
    return 0;
}

}  // namespace

const SupportLibrary& SkinUiLibrary() {
    static const SupportLibrary library{
        "3F7A19C2D8E44B05A6C1E29B7D30F586",
        "SKINUI20210101",
        2021,
        1,
        1,
        SkinUiNotify,
        kSkinCommands,
        static_cast<int32_t>(SkinCommand::Count),
        SkinComponentTypes(),
        kSkinDeclaredTypeCount,
    };
    return library;
}
