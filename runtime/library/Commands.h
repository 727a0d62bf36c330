// The command door: the program calls the runtime's library commands (and the
// skin library's) with argument records and gets one result record back.
#pragma once
#include <cstdint>
#include "runtime/library/CommandFn.h"
#include "runtime/values/Records.h"

// Commands of the core library, in table order.
enum class CoreCommand : int32_t {
    IntegerDivide,
    Remainder,
    WindowHandleOf,
    LoadWindow,
    TextLength,
    RunDirectory,
    ExecutableFileName,
    LeftText,
    RightText,
    CharacterText,
    ToUpperCase,
    ToNumber,
    ToInteger,
    SplitText,
    BlankText,
    CompareText,
    ReadFromByteSet,
    ToText,
    RemoveFile,
    ReadWholeFile,
    ScreenWidth,
    ScreenHeight,
    ProcessEvents,
    PopUpMenu,
    SetWaitCursor,
    RestoreCursor,
    TextAtAddress,
    ByteSetAtAddress,
    IsWindowLoaded,
    Count
};

// The six support libraries, in the runtime's table order.
enum SupportLibraryIndex : int32_t {
    kCoreLibrary = 0,
    kSkinLibrary = 1,    // SkinUi (ui/skin)
    kThreadLibrary = 2,  // StartThread
    kSystemLibrary = 3,  // SetAutoStart
    kIconLibrary = 4,    // SaveIconToFile
    kShellLibrary = 5,   // ReadShortcut, OpenWithShell
    kSupportLibraryCount = 6
};
enum class ThreadCommand : int32_t { StartThread, Count };
enum class SystemCommand : int32_t { SetAutoStart, Count };
enum class IconCommand : int32_t { SaveIconToFile, Count };
enum class ShellCommand : int32_t { ReadShortcut, OpenWithShell, Count };
// OpenWithShell's verbs: 1 edit, 2 explore, 3 find, 4 open, 5 print.
constexpr int32_t kShellVerbOpen = 4;

// Zero the result, call, hand the result back.
void CallCoreCommand(CoreCommand command, int32_t argCount, ArgumentRecord* args,
                     ResultRecord* result);
void CallLibraryCommand(int32_t library, int32_t command, int32_t argCount, ArgumentRecord* args,
                        ResultRecord* result);

// Convenience: CallCore(CoreCommand::LeftText, ArgText(t), ArgInt(2)).
template <typename... A>
ResultRecord CallCore(CoreCommand command, A... args) {
    ArgumentRecord records[] = {args..., ArgumentRecord{}};
    ResultRecord result{};
    CallCoreCommand(command, static_cast<int32_t>(sizeof...(A)), records, &result);
    return result;
}
template <typename C, typename... A>
ResultRecord CallLibrary(int32_t library, C command, A... args) {
    ArgumentRecord records[] = {args..., ArgumentRecord{}};
    ResultRecord result{};
    CallLibraryCommand(library, static_cast<int32_t>(command), static_cast<int32_t>(sizeof...(A)),
                       records, &result);
    return result;
}

// The core library's command table (runtime/CoreLibrary.cpp).
extern const CommandFn kCoreCommands[static_cast<int>(CoreCommand::Count)];
