// The core library's command routines, in the order of CoreCommand. Each
// fills *result (zeroed by the caller) from its argument records.
#pragma once
#include <cstdint>
#include "runtime/Records.h"
#include "runtime/Runtime.h"

#define QD_CORE_COMMAND(name) void Cmd##name(ResultRecord* result, int32_t argCount, ArgumentRecord* args)

QD_CORE_COMMAND(IntegerDivide);
QD_CORE_COMMAND(Remainder);
QD_CORE_COMMAND(WindowHandleOf);
QD_CORE_COMMAND(LoadWindow);
QD_CORE_COMMAND(TextLength);
QD_CORE_COMMAND(RunDirectory);
QD_CORE_COMMAND(ExecutableFileName);
QD_CORE_COMMAND(LeftText);
QD_CORE_COMMAND(RightText);
QD_CORE_COMMAND(CharacterText);
QD_CORE_COMMAND(ToUpperCase);
QD_CORE_COMMAND(ToNumber);
QD_CORE_COMMAND(ToInteger);
QD_CORE_COMMAND(SplitText);
QD_CORE_COMMAND(BlankText);
QD_CORE_COMMAND(CompareText);
QD_CORE_COMMAND(ReadFromByteSet);
QD_CORE_COMMAND(ToText);
QD_CORE_COMMAND(RemoveFile);
QD_CORE_COMMAND(ReadWholeFile);
QD_CORE_COMMAND(ScreenWidth);
QD_CORE_COMMAND(ScreenHeight);
QD_CORE_COMMAND(ProcessEvents);
QD_CORE_COMMAND(PopUpMenu);
QD_CORE_COMMAND(SetWaitCursor);
QD_CORE_COMMAND(RestoreCursor);
QD_CORE_COMMAND(TextAtAddress);
QD_CORE_COMMAND(ByteSetAtAddress);

#undef QD_CORE_COMMAND

// The core library as a support library of the program image header.
const SupportLibrary& CoreLibrary();
