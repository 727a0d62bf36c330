// Runtime error reporting: one modal box that says what went wrong and where,
// then the program ends with exit code -1 without its exit routines.
#pragma once
#include <cstdint>

// Numbered errors 1-11 raised by the program's code (6: stack error after an
// external call).
[[noreturn]] void ReportRuntimeError(int32_t number, int32_t value1, int32_t value2);
// Errors of the runtime itself: code 0 and a message (GBK). value1/value2 name
// a window and a component when the fault concerns one.
[[noreturn]] void ReportRuntimeErrorText(const char* message, int32_t value1, int32_t value2);
// Formats "分配 %d 字节内存失败!"-style messages.
[[noreturn]] void ReportRuntimeErrorFormat(int32_t value1, int32_t value2, const char* format, ...);

// The names shown in a report, from the window definitions once they exist.
struct ErrorSubjectNames {
    bool windowFound = false;
    const char* windowName = nullptr;
    bool componentFound = false;  // false also for a menu item
    const char* componentName = nullptr;
};
using ErrorSubjectLookup = ErrorSubjectNames (*)(uint32_t windowId, uint32_t componentId);
void SetErrorSubjectLookup(ErrorSubjectLookup lookup);

// Composes the box text exactly as shown to the user.
// (Exposed for tests; the result is a new Text.)
char* ComposeRuntimeErrorText(const char* message, int32_t code, int32_t value1, int32_t value2);

// Installable hook replacing the box (the product installs none). It receives
// the composed text and the code; after it returns the program still ends
// with -1, unless the hook does not return (a test may throw).
using RuntimeErrorHook = void (*)(const char* boxText, int32_t code);
void SetRuntimeErrorHook(RuntimeErrorHook hook);
