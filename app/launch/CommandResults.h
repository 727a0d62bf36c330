// Taking over the texts that commands hand back (new blocks owned by the caller).
#pragma once
#include "runtime/values/Records.h"
#include "runtime/values/Values.h"

inline Text TakeText(const ResultRecord& result) {
    return const_cast<Text>(result.AsText());
}
