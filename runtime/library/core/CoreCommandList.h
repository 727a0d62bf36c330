// The core library's command routines, in the order of CoreCommand. Each
// fills *result (zeroed by the caller) from its argument records.
#pragma once
#include <cstdint>
#include "runtime/values/Records.h"
#include "runtime/process/Runtime.h"

void CmdIntegerDivide(ResultRecord* result, int32_t argCount, ArgumentRecord* args);
void CmdRemainder(ResultRecord* result, int32_t argCount, ArgumentRecord* args);
void CmdWindowHandleOf(ResultRecord* result, int32_t argCount, ArgumentRecord* args);
void CmdLoadWindow(ResultRecord* result, int32_t argCount, ArgumentRecord* args);
void CmdTextLength(ResultRecord* result, int32_t argCount, ArgumentRecord* args);
void CmdRunDirectory(ResultRecord* result, int32_t argCount, ArgumentRecord* args);
void CmdExecutableFileName(ResultRecord* result, int32_t argCount, ArgumentRecord* args);
void CmdLeftText(ResultRecord* result, int32_t argCount, ArgumentRecord* args);
void CmdRightText(ResultRecord* result, int32_t argCount, ArgumentRecord* args);
void CmdCharacterText(ResultRecord* result, int32_t argCount, ArgumentRecord* args);
void CmdToUpperCase(ResultRecord* result, int32_t argCount, ArgumentRecord* args);
void CmdToNumber(ResultRecord* result, int32_t argCount, ArgumentRecord* args);
void CmdToInteger(ResultRecord* result, int32_t argCount, ArgumentRecord* args);
void CmdSplitText(ResultRecord* result, int32_t argCount, ArgumentRecord* args);
void CmdBlankText(ResultRecord* result, int32_t argCount, ArgumentRecord* args);
void CmdCompareText(ResultRecord* result, int32_t argCount, ArgumentRecord* args);
void CmdReadFromByteSet(ResultRecord* result, int32_t argCount, ArgumentRecord* args);
void CmdToText(ResultRecord* result, int32_t argCount, ArgumentRecord* args);
void CmdRemoveFile(ResultRecord* result, int32_t argCount, ArgumentRecord* args);
void CmdReadWholeFile(ResultRecord* result, int32_t argCount, ArgumentRecord* args);
void CmdScreenWidth(ResultRecord* result, int32_t argCount, ArgumentRecord* args);
void CmdScreenHeight(ResultRecord* result, int32_t argCount, ArgumentRecord* args);
void CmdProcessEvents(ResultRecord* result, int32_t argCount, ArgumentRecord* args);
void CmdPopUpMenu(ResultRecord* result, int32_t argCount, ArgumentRecord* args);
void CmdSetWaitCursor(ResultRecord* result, int32_t argCount, ArgumentRecord* args);
void CmdRestoreCursor(ResultRecord* result, int32_t argCount, ArgumentRecord* args);
void CmdTextAtAddress(ResultRecord* result, int32_t argCount, ArgumentRecord* args);
void CmdByteSetAtAddress(ResultRecord* result, int32_t argCount, ArgumentRecord* args);
void CmdIsWindowLoaded(ResultRecord* result, int32_t argCount, ArgumentRecord* args);

// The core library as a support library of the program image header.
const SupportLibrary& CoreLibrary();
