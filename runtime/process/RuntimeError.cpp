// Runtime error reports: compose the box text, show it, end the program with
// exit code -1 without the program's exit routines. The report is composed in
// a fixed buffer: a report of a failed allocation must not allocate.
#include "runtime/process/RuntimeError.h"
#include <windows.h>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include "runtime/process/Runtime.h"
#include "runtime/process/RuntimeMessages.h"
#include "runtime/process/RuntimeState.h"

namespace {

constexpr int32_t kNumberedMessageCount =
    sizeof(RuntimeMessage::kNumbered) / sizeof(RuntimeMessage::kNumbered[0]);

ErrorSubjectLookup gSubjectLookup = nullptr;
RuntimeErrorHook gErrorHook = nullptr;
// A fault while a report is being made on the same thread ends the program
// at once instead of reporting again without end.
thread_local int gReportDepth = 0;

// Appends to a fixed buffer, cutting what does not fit.
class BoxText {
  public:
    void Append(const char* s) {
        if (!s) return;
        size_t n = std::strlen(s);
        if (n > kCapacity - length_) n = kCapacity - length_;
        std::memcpy(text_ + length_, s, n);
        length_ += n;
        text_[length_] = 0;
    }
    void AppendInt(int32_t v) {
        char number[16];
        std::snprintf(number, sizeof number, "%d", v);
        Append(number);
    }
    void AppendQuoted(const char* name) {
        Append("\r\n\"");
        Append(name);
        Append("\"");
    }
    const char* Get() const { return text_; }

  private:
    static constexpr size_t kCapacity = 4095;
    char text_[kCapacity + 1] = "";
    size_t length_ = 0;
};

// Bits 24-27 of an identifier give its kind; 2 is a window.
bool IsWindowId(int32_t value) {
    return ((static_cast<uint32_t>(value) >> 24) & 0xF) == 2;
}

void Compose(BoxText* box, const char* message, int32_t code, int32_t value1, int32_t value2) {
    box->Append(RuntimeMessage::kHeading);
    box->Append("\r\n");
    if (code != 0) {
        box->Append("\r\n");
        box->Append(RuntimeMessage::kCodeLabel);
        box->AppendInt(code);
        box->Append("\r\n");
    }
    if (message && *message) {
        box->Append("\r\n");
        box->Append(RuntimeMessage::kMessageLabel);
        box->Append(message);
        box->Append("\r\n");
    }
    box->Append("\r\n");
    box->AppendInt(value1);
    box->Append(", ");
    box->AppendInt(value2);
    if (IsWindowId(value1)) {
        ErrorSubjectNames names;
        if (gSubjectLookup) {
            names = gSubjectLookup(static_cast<uint32_t>(value1), static_cast<uint32_t>(value2));
        }
        if (names.windowFound) {
            box->AppendQuoted(names.windowName);
            if (names.componentFound) {
                box->AppendQuoted(names.componentName);
            } else {
                box->Append("\r\n");
                box->Append(RuntimeMessage::kNoSuchComponent);
            }
        } else {
            box->Append("\r\n");
            box->Append(RuntimeMessage::kNoSuchWindow);
        }
    }
    box->Append("\r\n");
}

[[noreturn]] void Report(const char* message, int32_t code, int32_t value1, int32_t value2) {
    if (gReportDepth > 0) {
        ClearExitRoutines();
        ExitProgram(-1);
    }
    ++gReportDepth;
    SuspendEvents();
    BoxText box;
    Compose(&box, message, code, value1, value2);
    if (gErrorHook) {
        // A test's hook may throw to get back control; the runtime is then
        // left as it was before the report.
        try {
            gErrorHook(box.Get(), code);
        } catch (...) {
            ResumeEvents();
            --gReportDepth;
            throw;
        }
    } else {
        MessageBoxA(nullptr, box.Get(), RuntimeMessage::kCaption, MB_ICONERROR);
    }
    ClearExitRoutines();
    ExitProgram(-1);
}

}  // namespace

void ReportRuntimeError(int32_t number, int32_t value1, int32_t value2) {
    const char* message = (number >= 1 && number <= kNumberedMessageCount)
                              ? RuntimeMessage::kNumbered[number - 1]
                              : "";
    Report(message, number, value1, value2);
}

void ReportRuntimeErrorText(const char* message, int32_t value1, int32_t value2) {
    Report(message, 0, value1, value2);
}

void ReportRuntimeErrorFormat(int32_t value1, int32_t value2, const char* format, ...) {
    char message[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    Report(message, 0, value1, value2);
}

void SetErrorSubjectLookup(ErrorSubjectLookup lookup) {
    gSubjectLookup = lookup;
}

void SetRuntimeErrorHook(RuntimeErrorHook hook) {
    gErrorHook = hook;
}

char* ComposeRuntimeErrorText(const char* message, int32_t code, int32_t value1, int32_t value2) {
    BoxText box;
    Compose(&box, message, code, value1, value2);
    // A block of the process heap like every value block (the caller frees it
    // with FreeBlock), taken here directly: error reporting sits below the
    // value model, whose allocation failures it reports.
    const size_t size = std::strlen(box.Get()) + 1;
    char* text = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, size));
    if (text) std::memcpy(text, box.Get(), size);
    return text;
}
