// The live handle of one of the program's windows, from the core command.
#include "app/common/ProgramWindows.h"

#include "runtime/library/Commands.h"

HWND WindowHandleOf(const ArgumentRecord& window) {
    const ResultRecord r = CallCore(CoreCommand::WindowHandleOf, window);
    // Window handles are 32-bit values on both targets; widen with the sign.
    return reinterpret_cast<HWND>(static_cast<intptr_t>(r.AsInt()));
}

bool IsLoaded(const ArgumentRecord& window) {
    return CallCore(CoreCommand::IsWindowLoaded, window).AsInt() != 0;
}
