// Taking over the texts that commands hand back (new blocks owned by the caller).
#pragma once
#include "runtime/Records.h"
#include "runtime/Values.h"

inline Text TakeText(const ResultRecord& result) {
    return const_cast<Text>(result.AsText());
}
