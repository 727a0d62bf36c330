// Idle cost: CPU time the program uses while nothing happens, with the panel
// hidden and with it shown, over windows of a fixed length.
#include <windows.h>

#include <cstdio>

#include "bench/Benches.h"
#include "bench/DockSession.h"
#include "bench/ProcessProbe.h"

namespace {

double IdleCpuMs(const DockSession& session, int seconds) {
    // Let the last slide and repaint settle before the window opens.
    Sleep(1000);
    const double before = CpuMs(session.Process());
    Sleep(static_cast<DWORD>(seconds) * 1000);
    return CpuMs(session.Process()) - before;
}

}  // namespace

void RunIdleBench(BenchContext& context) {
    Figures& f = *context.figures;
    DockSession session;
    if (!session.Start(context.small.path)) {
        std::fprintf(stderr, "idle: the panel did not come up\n");
        return;
    }
    const std::string span = std::to_string(context.idleSeconds) + " s";
    Figure& hidden = f.Add("idle CPU over " + span + ", panel hidden", "ms");
    Figure& shown = f.Add("idle CPU over " + span + ", panel shown", "ms");
    hidden.target = shown.target = "< 20";
    hidden.limit = shown.limit = 20;
    for (int run = 0; run < context.runs; ++run) {
        hidden.samples.push_back(IdleCpuMs(session, context.idleSeconds));
        session.ClickDock();
        if (WaitFor([&] { return session.Shown(); }, 3000))
            shown.samples.push_back(IdleCpuMs(session, context.idleSeconds));
        session.ClickDock();
        WaitFor([&] { return session.Hidden(); }, 3000);
    }
    session.Stop();
}
