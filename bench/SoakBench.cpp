// A long day of use in one run of the program: slides in and out, with a
// category switch every fifth time the panel is shown and a launch (which
// slides the panel out itself) about every 33rd, as a user mixes them.
// Private bytes, working set, GDI objects, windows and handles are sampled
// after a warm-up and at the end; a dock that runs for weeks must not grow.
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench/Benches.h"
#include "bench/DockSession.h"
#include "bench/ProcessProbe.h"

namespace {

constexpr int kSwitchEvery = 5;
constexpr int kLaunchEvery = 33;
// Slides (each in and out) before the first sample: the first launch loads
// the shell's modules, the first category switches fill the engine's caches.
constexpr int kWarmUpSlides = 100;
constexpr DWORD kSlideTimeoutMs = 3000;
// A launch: the 150 ms wait, then the slide out.
constexpr DWORD kLaunchTimeoutMs = 10000;

struct Sample {
    double privateMb = 0;
    double workingSetMb = 0;
    int gdi = 0;
    int windows = 0;
    int handles = 0;
};

Sample Take(const DockSession& session, const std::string& program) {
    // Let the last launch's worker thread end and the last paint settle.
    Sleep(1000);
    Sample s;
    const MemoryFigures memory = MemoryOf(session.Process());
    s.privateMb = memory.privateMb > 0 ? memory.privateMb : HostPrivateMb(program);
    s.workingSetMb = memory.workingSetMb;
    s.gdi = GdiObjectsOf(session.Process());
    s.windows = WindowsOf(session.ProcessId());
    s.handles = HandlesOf(session.Process());
    return s;
}

struct Counts {
    int slides = 0, switches = 0, launches = 0, timeouts = 0;
};

// Slide number `i` of the day: in, perhaps a category switch, then out by a
// click on the dock or by a launch.
void OneSlide(DockSession& session, int i, int launchLimit, Counts* done) {
    session.ClickDock();
    if (!WaitFor([&] { return session.Shown(); }, kSlideTimeoutMs)) {
        ++done->timeouts;
        return;
    }
    if (i % kSwitchEvery == 0) {
        session.SelectCategory((i / kSwitchEvery) % kVisibleCategoryButtons);
        ++done->switches;
    }
    const bool launch = i % kLaunchEvery == kLaunchEvery / 2 && done->launches < launchLimit;
    if (launch) {
        session.ClickFirstItem();
        ++done->launches;
    } else {
        session.ClickDock();
    }
    if (!WaitFor([&] { return session.Hidden(); }, launch ? kLaunchTimeoutMs : kSlideTimeoutMs))
        ++done->timeouts;
    ++done->slides;
}

void RecordGrowth(Figures& f, const std::string& name, const char* unit, double growth,
                  const char* target, double limit, const std::string& note) {
    Figure& figure = f.Add("soak: growth of " + name, unit);
    figure.samples.push_back(growth);
    figure.target = target;
    figure.limit = limit;
    figure.note = note;
}

}  // namespace

void RunSoakBench(const BenchContext& context, Product& product) {
    const int slides = context.soakSlides;
    const int launchLimit = slides * 3 / 100;
    DockSession session;
    if (!session.Start(product.small.path)) {
        std::fprintf(stderr, "soak: the panel did not come up\n");
        return;
    }
    const std::string program = product.small.path + "\\QuickDock.exe";
    Counts warmUp;
    for (int i = 0; i < kWarmUpSlides; ++i) OneSlide(session, i, launchLimit, &warmUp);
    const Sample before = Take(session, program);
    const double started = NowMs();
    Counts done;
    for (int i = 0; i < slides; ++i) {
        OneSlide(session, i, launchLimit, &done);
        if ((i + 1) % 1000 == 0)
            std::fprintf(stderr, "  soak %s: %d slides, %.0f s\n", product.label.c_str(), i + 1,
                         (NowMs() - started) / 1000);
    }
    const double minutes = (NowMs() - started) / 60000;
    const Sample after = Take(session, program);
    const bool alive = WaitForSingleObject(session.Process(), 0) == WAIT_TIMEOUT;
    session.Stop();

    Figures& f = product.figures;
    const std::string day = std::to_string(done.slides) + " slides, " +
                            std::to_string(done.switches) + " switches, " +
                            std::to_string(done.launches) + " launches";
    RecordGrowth(f, "private bytes", "MB", after.privateMb - before.privateMb, "< 1", 1,
                 day + (alive ? "" : "; the program ENDED"));
    RecordGrowth(f, "working set", "MB", after.workingSetMb - before.workingSetMb, "", 0, "");
    RecordGrowth(f, "GDI objects", "count", after.gdi - before.gdi, "0", 0.5,
                 std::to_string(before.gdi) + " after warm-up");
    RecordGrowth(f, "windows (USER)", "count", after.windows - before.windows, "0", 0.5,
                 std::to_string(before.windows) + " after warm-up");
    RecordGrowth(f, "handles", "count", after.handles - before.handles, "0", 0.5,
                 std::to_string(before.handles) + " after warm-up" +
                     (HandleCountFollowsObjects() ? "" : ", count NOT confirmed on this system"));
    f.Add("soak: private bytes after warm-up", "MB").samples.push_back(before.privateMb);
    f.Add("soak: duration", "min").samples.push_back(minutes);
    if (done.timeouts + warmUp.timeouts)
        f.Add("soak: slides that did not come to rest in time", "count")
            .samples.push_back(done.timeouts + warmUp.timeouts);
}
