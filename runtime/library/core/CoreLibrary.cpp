// The core library: its command table and the two command doors through
// which the program and the runtime call library commands.
#include <cstring>
#include "runtime/library/Commands.h"
#include "runtime/library/core/CoreCommandList.h"
#include "runtime/process/Runtime.h"

const CommandFn kCoreCommands[static_cast<int>(CoreCommand::Count)] = {
    CmdIntegerDivide,   CmdRemainder,     CmdWindowHandleOf,     CmdLoadWindow,
    CmdTextLength,      CmdRunDirectory,  CmdExecutableFileName, CmdLeftText,
    CmdRightText,       CmdCharacterText, CmdToUpperCase,        CmdToNumber,
    CmdToInteger,       CmdSplitText,     CmdBlankText,          CmdCompareText,
    CmdReadFromByteSet, CmdToText,        CmdRemoveFile,         CmdReadWholeFile,
    CmdScreenWidth,     CmdScreenHeight,  CmdProcessEvents,      CmdPopUpMenu,
    CmdSetWaitCursor,   CmdRestoreCursor, CmdTextAtAddress,      CmdByteSetAtAddress,
    CmdIsWindowLoaded,
};

namespace {

void Call(CommandFn command, int32_t argCount, ArgumentRecord* args, ResultRecord* result) {
    *result = ResultRecord{};
    if (command) command(result, argCount, args);
}

}  // namespace

void CallCoreCommand(CoreCommand command, int32_t argCount, ArgumentRecord* args,
                     ResultRecord* result) {
    int32_t index = static_cast<int32_t>(command);
    bool known = index >= 0 && index < static_cast<int32_t>(CoreCommand::Count);
    Call(known ? kCoreCommands[index] : nullptr, argCount, args, result);
}

void CallLibraryCommand(int32_t library, int32_t command, int32_t argCount, ArgumentRecord* args,
                        ResultRecord* result) {
    const ProgramImageHeader* header = CurrentProgramHeader();
    const SupportLibrary* target = nullptr;
    if (header && library >= 0 && static_cast<uint32_t>(library) < header->supportLibraryCount) {
        target = header->supportLibraries[library];
    } else if (!header && library == kCoreLibrary) {
        target = &CoreLibrary();
    }
    bool known = target && target->commands && command >= 0 && command < target->commandCount;
    Call(known ? target->commands[command] : nullptr, argCount, args, result);
}

const SupportLibrary& CoreLibrary() {
    static const SupportLibrary library = {
        "51d0c0a7e3b24f0e9a6c2b7d8e4f1a30",
        "QuickDock core commands",
        1,
        0,
        0,
        nullptr,
        kCoreCommands,
        static_cast<int32_t>(CoreCommand::Count),
        nullptr,
        0,
    };
    return library;
}
