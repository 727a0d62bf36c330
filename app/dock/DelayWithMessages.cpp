// A timed wait that keeps the thread's messages flowing: it waits on a
// waitable timer together with the thread's input and processes events
// whenever input arrives, instead of sleeping.
#include <windows.h>

#include "app/ExternalDeclarations.h"
#include "app/dock/PanelSlides.h"
#include "runtime/library/Commands.h"
#include "runtime/external/ExternalFunctions.h"

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

class TimerHandle {
  public:
    explicit TimerHandle(HANDLE h) : handle_(h) {}
    TimerHandle(const TimerHandle&) = delete;
    TimerHandle& operator=(const TimerHandle&) = delete;
    ~TimerHandle() {
        if (handle_) CallExternal<BOOL>(kCloseHandle, handle_);
    }
    HANDLE Get() const { return handle_; }

  private:
    HANDLE handle_;
};

}  // namespace

bool DelayWithMessages(int32_t interval, int64_t unit) {
    // Negative due times are relative, in units of 100 nanoseconds.
    // Far too long a wait is cut to the longest the timer can take.
    const double ticks = interval * MillisecondsPerUnit(unit) * -10000.0;
    LARGE_INTEGER due;
    due.QuadPart = ticks < -9.2e18  ? static_cast<LONGLONG>(-9.2e18)
                   : ticks > 9.2e18 ? static_cast<LONGLONG>(9.2e18)
                                    : static_cast<LONGLONG>(ticks);
    TimerHandle timer(CallExternal<HANDLE>(kCreateWaitableTimerA,
                                           static_cast<LPSECURITY_ATTRIBUTES>(nullptr), FALSE,
                                           static_cast<const char*>(nullptr)));
    // Without a running timer the wait below would never end.
    if (!timer.Get()) return true;
    if (!CallExternal<BOOL>(kSetWaitableTimer, timer.Get(), static_cast<const LARGE_INTEGER*>(&due),
                            0L, static_cast<PTIMERAPCROUTINE>(nullptr),
                            static_cast<LPVOID>(nullptr), FALSE)) {
        return true;
    }
    HANDLE handles[1] = {timer.Get()};
    for (;;) {
        const DWORD r = CallExternal<DWORD>(kMsgWaitForMultipleObjects, 1ul,
                                            static_cast<const HANDLE*>(handles), FALSE, INFINITE,
                                            static_cast<DWORD>(QS_ALLINPUT));
        if (r != WAIT_OBJECT_0 + 1) break;  // the timer fired, or the wait failed
        CallCore(CoreCommand::ProcessEvents);
    }
    return true;
}
