// Integer division and remainder over a chain of divisors.
#include <cmath>
#include "runtime/library/core/CoreArguments.h"
#include "runtime/library/core/CoreCommandList.h"
#include "runtime/process/RuntimeError.h"
#include "runtime/process/RuntimeMessages.h"

void CmdIntegerDivide(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    double x = argCount > 0 ? ArgumentNumber(args[0]) : 0;
    for (int32_t i = 1; i < argCount; ++i) {
        double d = ArgumentNumber(args[i]);
        if (d == 0) ReportRuntimeErrorText(RuntimeMessage::kDivideByZero, 0, 0);
        x = std::trunc(x / d);
    }
    SetResultDouble(result, x);
}

void CmdRemainder(ResultRecord* result, int32_t argCount, ArgumentRecord* args) {
    double x = argCount > 0 ? ArgumentNumber(args[0]) : 0;
    for (int32_t i = 1; i < argCount; ++i) {
        double d = ArgumentNumber(args[i]);
        if (d == 0) ReportRuntimeErrorText(RuntimeMessage::kRemainderByZero, 0, 0);
        x = std::fmod(x, d);
    }
    SetResultDouble(result, x);
}
