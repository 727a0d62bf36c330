#include "runtime/library/shell/ShellLibrary.h"

#include <windows.h>

#include "runtime/library/Commands.h"
#include "runtime/library/LibraryArguments.h"
#include "runtime/process/Runtime.h"
#include "runtime/library/shell/ShellCommands.h"

namespace {

void CmdReadShortcut(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    ShortcutInfo info = LoadShortcut(TextArgument(argCount, args, 0));
    if (void* v = OutputVariable(argCount, args, 1, Tag::kText))
        StoreTextVariable(v, info.target.c_str());
    if (void* v = OutputVariable(argCount, args, 2, Tag::kText))
        StoreTextVariable(v, info.arguments.c_str());
    if (void* v = OutputVariable(argCount, args, 3, Tag::kText))
        StoreTextVariable(v, info.workingDirectory.c_str());
    if (void* v = OutputVariable(argCount, args, 4, Tag::kText))
        StoreTextVariable(v, info.iconLocation.c_str());
    if (void* v = OutputVariable(argCount, args, 5, Tag::kInteger))
        *static_cast<int32_t*>(v) = info.showCommand;
    if (void* v = OutputVariable(argCount, args, 6, Tag::kInteger)) {
        *static_cast<int32_t*>(v) = info.hotKey;
    } else if (void* t = OutputVariable(argCount, args, 6, Tag::kText)) {
        StoreTextVariable(t, info.loaded ? HotKeyText(info.hotKey).c_str() : "");
    }
    if (void* v = OutputVariable(argCount, args, 7, Tag::kText))
        StoreTextVariable(v, info.description.c_str());

    std::string text = info.target;
    if (!info.arguments.empty()) text += " " + info.arguments;
    SetResultText(result, CopyText(text.c_str()));
}

// A sixth argument, the owner window's handle, asks the shell to report a
// failure itself (left out: failures pass silently, as before).
void CmdOpenWithShell(ResultRecord*, int32_t argCount, ArgumentRecord* args) {
    const char* parameters =
        ArgumentGiven(argCount, args, 2) ? TextArgument(argCount, args, 2) : nullptr;
    // Window handles keep their value in 32 bits, also on x86_64.
    const HWND owner = static_cast<HWND>(LongToHandle(ArgumentInt(argCount, args, 5, 0)));
    OpenWithShell(ArgumentInt(argCount, args, 0, 0), TextArgument(argCount, args, 1), parameters,
                  TextArgument(argCount, args, 3), ArgumentInt(argCount, args, 4, 0),
                  ArgumentGiven(argCount, args, 5), owner);
}

const CommandFn kShellCommands[static_cast<int>(ShellCommand::Count)] = {CmdReadShortcut,
                                                                         CmdOpenWithShell};

const SupportLibrary kShellLibraryEntry = {
    "A4C17E92B3D8405F8E26C9F1D07B3A58",        "SHELLLIB", 1, 0, 0, nullptr, kShellCommands,
    static_cast<int32_t>(ShellCommand::Count), nullptr,    0};

}  // namespace

const SupportLibrary& ShellLibrary() {
    return kShellLibraryEntry;
}
