// Slides and launches, observed from outside: the panel's left edge polled
// about once a millisecond, and the moment the opened program's process was
// created (the shortcut's target records it) as the probe of the shell call.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/Benches.h"
#include "bench/DockSession.h"
#include "bench/ProcessProbe.h"

namespace {

constexpr int kSlides = 10;
constexpr int kLaunches = 8;

struct Move {
    double ms;
    int left;
};

// The panel's left edge over time, from `startMs` until it rests at `finalLeft`.
std::vector<Move> TracePanel(const DockSession& session, int finalLeft, DWORD timeoutMs) {
    std::vector<Move> moves;
    int last = session.PanelLeft();
    WaitFor(
        [&] {
            const int left = session.PanelLeft();
            if (left != last) {
                moves.push_back({NowMs(), left});
                last = left;
            }
            return left == finalLeft && moves.size() >= 4;
        },
        timeoutMs);
    return moves;
}

// The three steps of a slide from its trace: the times between the four
// positions it writes. False when a position was not seen.
bool SlideSteps(const std::vector<Move>& moves, const int (&positions)[4], double steps[3]) {
    if (moves.size() < 4) return false;
    const Move* m = moves.data() + moves.size() - 4;
    for (int i = 0; i < 4; ++i) {
        if (m[i].left != positions[i]) return false;
    }
    for (int i = 0; i < 3; ++i) steps[i] = m[i + 1].ms - m[i].ms;
    return true;
}

void RecordSlide(Figures& f, const std::string& which, const std::vector<Move>& moves,
                 const int (&positions)[4], double clickMs) {
    double steps[3];
    if (!SlideSteps(moves, positions, steps)) {
        f.Add(which + ": slides with a position not seen", "count").samples.push_back(1);
        return;
    }
    for (int i = 0; i < 3; ++i) {
        Figure& step = f.Add(which + " step " + std::to_string(i + 1), "ms");
        step.samples.push_back(steps[i]);
        step.target = ">= 5";
        step.limit = 5;
        step.upper = false;
    }
    Figure& whole = f.Add(which + ", first move to rest", "ms");
    whole.samples.push_back(moves.back().ms - moves[moves.size() - 4].ms);
    whole.target = "< 30";
    whole.limit = 30;
    if (clickMs > 0)
        f.Add(which + ", click to rest", "ms").samples.push_back(moves.back().ms - clickMs);
}

// The creation time of the newest process recorded in the target's log.
bool LastRecordedStart(const std::string& log, double* ms) {
    FILE* file = std::fopen(log.c_str(), "r");
    if (!file) return false;
    unsigned long long value = 0, last = 0;
    while (std::fscanf(file, "%llu", &value) == 1) last = value;
    std::fclose(file);
    if (!last) return false;
    *ms = FileTimeToMs(last);
    return true;
}

}  // namespace

void RunInteractionBench(const BenchContext&, Product& product) {
    Figures& f = product.figures;
    DockSession session;
    if (!session.Start(product.small.path)) {
        std::fprintf(stderr, "interaction: the panel did not come up\n");
        return;
    }
    const int w = session.ScreenWidth();
    const int in[4] = {w - 133, w - 266, w - 399, w - kPanelWidth};
    const int out[4] = {w - 267, w - 1, w + 398, w};
    Sleep(500);
    for (int i = 0; i < kSlides; ++i) {
        double click = NowMs();
        session.ClickDock();
        RecordSlide(f, "slide in", TracePanel(session, w - kPanelWidth, 3000), in, click);
        Sleep(150);
        click = NowMs();
        session.ClickDock();
        RecordSlide(f, "slide out", TracePanel(session, w, 3000), out, click);
        Sleep(150);
    }

    const std::string log = product.small.firstTarget + ".runs.txt";
    // One unrecorded launch: the first shell call of a process loads its modules.
    for (int i = -1; i < kLaunches; ++i) {
        session.ClickDock();
        if (!WaitFor([&] { return session.Shown(); }, 3000)) continue;
        Sleep(200);
        DeleteFileA(log.c_str());
        const double click = NowMs();
        session.ClickFirstItem();
        const std::vector<Move> moves = TracePanel(session, w, 5000);
        double started = 0;
        const bool recorded = WaitFor([&] { return LastRecordedStart(log, &started); }, 10000);
        if (i < 0) continue;
        if (recorded) {
            Figure& latency = f.Add("launch: click to the opened program's process created", "ms");
            latency.samples.push_back(started - click);
            latency.target = "< 20";
            latency.limit = 20;
        }
        if (!moves.empty() && moves.back().left == w) {
            Figure& hidden = f.Add("launch: click to panel hidden", "ms");
            hidden.samples.push_back(moves.back().ms - click);
            hidden.note = "150 ms wait + slide";
        }
        RecordSlide(f, "slide out after launch", moves, out, 0);
        Sleep(200);
    }
    session.Stop();
}
