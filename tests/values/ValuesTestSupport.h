// Shared helpers for the value and command tests: runtime errors are caught
// through the error hook instead of ending the test program.
#pragma once
#include <gtest/gtest.h>
#include <string>
#include "runtime/library/Commands.h"
#include "runtime/process/RuntimeError.h"
#include "runtime/values/Values.h"

struct CapturedRuntimeError {
    std::string text;
    int32_t code;
};

inline void ThrowRuntimeError(const char* boxText, int32_t code) {
    throw CapturedRuntimeError{boxText, code};
}

// Runs `action`, which must raise a runtime error, and gives the report.
template <typename F>
CapturedRuntimeError CatchRuntimeError(F action) {
    SetRuntimeErrorHook(ThrowRuntimeError);
    CapturedRuntimeError caught{"", -12345};
    try {
        action();
        ADD_FAILURE() << "no runtime error was raised";
    } catch (const CapturedRuntimeError& e) {
        caught = e;
    }
    SetRuntimeErrorHook(nullptr);
    return caught;
}

inline bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

// The text of a command result, taken over (freed at the end of the test).
inline std::string ResultText(const ResultRecord& r) {
    OwnedText text(static_cast<Text>(r.AsPointer()));
    return text ? std::string(text.Get()) : std::string();
}
