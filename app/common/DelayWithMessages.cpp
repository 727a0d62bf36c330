// A timed wait that keeps the thread's messages flowing: it waits on a
// waitable timer together with the thread's input and processes events
// whenever input arrives, instead of sleeping.
#include "app/common/DelayWithMessages.h"

#include <windows.h>

#include "app/common/DeclaredFunctions.h"
#include "runtime/library/Commands.h"
#include "runtime/win32/ScopedOwners.h"

namespace {

double MillisecondsPerUnit(int64_t unit) {
    switch (unit) {
        case 0:
            return 1;
        case 1:
            return 1000;
        case 2:
            return 60000;
        case 3:
            return 3600000;
        default:
            return static_cast<double>(unit);
    }
}

// The timer is closed through the declared CloseHandle, like every other
// call the wait makes.
struct DeclaredTimerTraits {
    using Type = HANDLE;
    static Type Empty() { return nullptr; }
    static bool Held(Type h) { return h != nullptr; }
    static void Close(Type h) { Declared::CloseHandle(h); }
};
using TimerHandle = ScopedResource<DeclaredTimerTraits>;

}  // namespace

bool DelayWithMessages(int32_t interval, int64_t unit) {
    // Negative due times are relative, in units of 100 nanoseconds.
    // Far too long a wait is cut to the longest the timer can take.
    const double ticks = interval * MillisecondsPerUnit(unit) * -10000.0;
    LARGE_INTEGER due;
    due.QuadPart = ticks < -9.2e18  ? static_cast<LONGLONG>(-9.2e18)
                   : ticks > 9.2e18 ? static_cast<LONGLONG>(9.2e18)
                                    : static_cast<LONGLONG>(ticks);
    TimerHandle timer(Declared::CreateWaitableTimerA(nullptr, FALSE, nullptr));
    // Without a running timer the wait below would never end.
    if (!timer.Get()) return true;
    if (!Declared::SetWaitableTimer(timer.Get(), &due, 0, nullptr, nullptr, FALSE)) {
        return true;
    }
    HANDLE handles[1] = {timer.Get()};
    for (;;) {
        const DWORD r =
            Declared::MsgWaitForMultipleObjects(1, handles, FALSE, INFINITE, QS_ALLINPUT);
        if (r != WAIT_OBJECT_0 + 1) break;  // the timer fired, or the wait failed
        CallCore(CoreCommand::ProcessEvents);
    }
    return true;
}
