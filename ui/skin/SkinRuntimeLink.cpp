#include "ui/skin/SkinRuntimeLink.h"

namespace {
RuntimeNotifyFn gRuntimeNotify = nullptr;
}

void SetRuntimeNotifyEntry(RuntimeNotifyFn entry) {
    gRuntimeNotify = entry;
}

intptr_t NotifyRuntime(int32_t code, intptr_t a1, intptr_t a2, intptr_t a3) {
    return gRuntimeNotify ? gRuntimeNotify(code, a1, a2, a3) : 0;
}
