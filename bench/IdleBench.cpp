// Idle cost: CPU time the program uses while nothing happens, with the panel
// hidden and with it shown, over windows of a fixed length.
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench/Benches.h"
#include "bench/DockSession.h"
#include "bench/ProcessProbe.h"

namespace {

// The process's CPU time: from the host's scheduler in nanoseconds where it
// can be read (under Wine), else as the system reports it (Wine reports it in
// 10 ms ticks, too coarse for these figures).
double CpuNow(const DockSession& session, const std::string& program) {
    const double host = HostCpuMs(program);
    return host >= 0 ? host : CpuMs(session.Process());
}

double IdleCpuMs(const DockSession& session, const std::string& program, int seconds) {
    // Let the last slide and repaint settle before the window opens.
    Sleep(1000);
    const double before = CpuNow(session, program);
    Sleep(static_cast<DWORD>(seconds) * 1000);
    const double after = CpuNow(session, program);
    return after - before;
}

}  // namespace

void RunIdleBench(const BenchContext& context, Product& product) {
    Figures& f = product.figures;
    DockSession session;
    if (!session.Start(product.small.path)) {
        std::fprintf(stderr, "idle: the panel did not come up\n");
        return;
    }
    const std::string program = product.small.path + "\\QuickDock.exe";
    const std::string span = std::to_string(context.idleSeconds) + " s";
    Figure& hidden = f.Add("idle CPU over " + span + ", panel hidden", "ms");
    Figure& shown = f.Add("idle CPU over " + span + ", panel shown", "ms");
    hidden.target = shown.target = "< 20";
    hidden.limit = shown.limit = 20;
    hidden.note = shown.note =
        std::string("change notifications armed; ") +
        (HostCpuMs(program) >= 0 ? "threads' CPU time from the host, ns" : "CPU time as reported");
    for (int run = 0; run < context.runs; ++run) {
        hidden.samples.push_back(IdleCpuMs(session, program, context.idleSeconds));
        session.ClickDock();
        if (WaitFor([&] { return session.Shown(); }, 3000))
            shown.samples.push_back(IdleCpuMs(session, program, context.idleSeconds));
        session.ClickDock();
        WaitFor([&] { return session.Hidden(); }, 3000);
    }
    session.Stop();
}
