// Taking over the texts that commands hand back (new blocks owned by the caller).
#pragma once
#include "runtime/library/Commands.h"
#include "runtime/values/Records.h"
#include "runtime/values/Values.h"

inline Text TakeText(const ResultRecord& result) {
    return const_cast<Text>(result.AsText());
}

// The folder of the executable, without a trailing "\" (a new text).
inline Text RunDirectoryText() {
    return TakeText(CallCore(CoreCommand::RunDirectory));
}
