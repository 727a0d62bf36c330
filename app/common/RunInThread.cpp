// Running a routine of the program on a short-lived detached thread. The
// integer and four texts travel as texts in a six-slot argument block that
// the new thread takes over and frees once it has copied them.
#include "app/common/RunInThread.h"

#include <cstdio>
#include <cstdlib>

#include "app/common/DeclaredFunctions.h"
#include "runtime/values/Values.h"

namespace {

constexpr int32_t kSlotCount = 6;

Text DecimalText(long long value) {
    char text[24];
    std::snprintf(text, sizeof(text), "%lld", value);
    return CopyText(text);
}

// The leading decimal integer of a slot text; 0 when there is none.
long long SlotNumber(const char* text) {
    return text ? std::strtoll(text, nullptr, 10) : 0;
}

// A one-dimensional array block keeps its elements right after the dimension
// count and the one dimension size.
ValueArray BlockOfFirstSlot(void* slot0) {
    return static_cast<int32_t*>(slot0) - 2;
}

}  // namespace

HANDLE RunInThread(ThreadRoutine routine, int32_t n, const char* t1, const char* t2, const char* t3,
                   const char* t4, DWORD* threadId) {
    ValueArray block = NewArray(sizeof(Text), kSlotCount);
    Text* slots = ArrayData<Text>(block);
    // Addresses are written in full so that they survive on 64-bit builds too.
    slots[0] = DecimalText(static_cast<long long>(reinterpret_cast<intptr_t>(routine)));
    slots[1] = DecimalText(n);
    slots[2] = CopyText(t1);
    slots[3] = CopyText(t2);
    slots[4] = CopyText(t3);
    slots[5] = CopyText(t4);
    HANDLE thread = Declared::CreateThread(nullptr, 0, ThreadEntry, slots, 0, threadId);
    // Without a thread nobody else will ever free the block.
    if (!thread) FreeTextArray(block);
    Declared::Sleep(1);
    return thread;
}

DWORD WINAPI ThreadEntry(LPVOID block) {
    // Copy every slot first: the block belongs to this thread and goes at once.
    Text copies[kSlotCount];
    Text* slots = static_cast<Text*>(block);
    for (int32_t k = 0; k < kSlotCount; ++k) copies[k] = CopyText(slots[k]);
    FreeTextArray(BlockOfFirstSlot(block));

    long long address = SlotNumber(copies[0]);
    if (address > 0) {
        auto routine = reinterpret_cast<ThreadRoutine>(static_cast<intptr_t>(address));
        routine(static_cast<int32_t>(SlotNumber(copies[1])), copies[2], copies[3], copies[4],
                copies[5]);
    }
    for (Text copy : copies) FreeBlock(copy);
    return 0;
}
