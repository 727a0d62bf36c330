// The folder read again while the program runs, on the 1,000-shortcut tree:
// after one changed item, and after a whole new tree put in its place, each
// against the first scan of the same tree (the start-up) in the same run.
// The changes are made while the panel is shown, so nothing is read until the
// next click slides the panel in: the click waits for the rescan, and its
// time to rest, less the same click with nothing changed, is the rescan's
// cost. The dock button is asked to answer meanwhile.
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench/Benches.h"
#include "bench/DockSession.h"
#include "bench/ProcessProbe.h"

namespace {

// Long enough for the change notices to arrive (they are only marked while
// the panel is shown).
constexpr DWORD kNoticeMs = 1500;
constexpr DWORD kSlideTimeoutMs = 120000;

bool Toggle(DockSession& session, bool toShown) {
    session.ClickDock();
    return WaitFor([&] { return toShown ? session.Shown() : session.Hidden(); }, kSlideTimeoutMs);
}

// From a hidden panel: the click to the panel at rest, in milliseconds.
double SlideInMs(DockSession& session) {
    Sleep(300);
    const double start = NowMs();
    if (!Toggle(session, true)) return -1;
    return NowMs() - start;
}

// A new write time for one shortcut: its picture is made again.
bool TouchFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const bool done = SetFileTime(file, nullptr, nullptr, &now) != FALSE;
    CloseHandle(file);
    return done;
}

std::string FirstShortcut(const RunFolder& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder.quickLaunch + "\\*").c_str(), &found);
    std::string category;
    if (search == INVALID_HANDLE_VALUE) return "";
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != '.') {
            category = found.cFileName;
            break;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return folder.quickLaunch + "\\" + category + "\\a程序0000.lnk";
}

bool Swap(const std::string& a, const std::string& b) {
    const std::string aside = a + ".aside";
    return MoveFileA(a.c_str(), aside.c_str()) && MoveFileA(b.c_str(), a.c_str()) &&
           MoveFileA(aside.c_str(), b.c_str());
}

}  // namespace

void RunRescanBench(const BenchContext& context, Product& product) {
    Figures& f = product.figures;
    const std::string label = "1,000 shortcuts";
    Figure& first = f.Add("first scan: start-up, " + label + " (the tree read again below)", "ms");
    Figure& plain = f.Add("slide in, nothing changed, " + label, "ms");
    Figure& oneIn = f.Add("slide in with a rescan after one changed item, " + label, "ms");
    Figure& oneCost = f.Add("rescan after one changed item / first scan, " + label, "x");
    Figure& treeIn = f.Add("slide in with a rescan of a whole new tree, " + label, "ms");
    Figure& treeCost = f.Add("rescan of a whole new tree / first scan, " + label, "x");
    Figure& answer = f.Add("dock button's longest answer while a new tree is read, " + label, "ms");
    answer.target = "<= 50";
    answer.limit = 50.0000001;
    oneCost.note = treeCost.note = "(slide in with the rescan - slide in) / start-up, same run";
    oneIn.baseline = treeIn.baseline = plain.name;
    const std::string changed = FirstShortcut(product.large);
    for (int run = 0; run < context.runs; ++run) {
        DockSession session;
        if (!session.Start(product.large.path)) {
            std::fprintf(stderr, "rescan: the panel did not come up\n");
            return;
        }
        const double startUp = session.StartUpMs();
        double nothing = -1, one = -1, tree = -1;
        if (Toggle(session, true) && Toggle(session, false)) nothing = SlideInMs(session);
        if (nothing > 0 && TouchFile(changed)) {
            Sleep(kNoticeMs);
            if (Toggle(session, false)) one = SlideInMs(session);
        }
        StartWatch watch;
        const bool swapped = one > 0 && Swap(product.large.quickLaunch, product.fresh.quickLaunch);
        if (swapped) {
            Sleep(kNoticeMs);
            if (Toggle(session, false))
                watch = session.AnswersDuring([&] { tree = SlideInMs(session); });
        }
        session.Stop();
        if (swapped) Swap(product.large.quickLaunch, product.fresh.quickLaunch);
        if (tree < 0) {
            std::fprintf(stderr, "rescan: run %d did not complete\n", run + 1);
            continue;
        }
        first.samples.push_back(startUp);
        plain.samples.push_back(nothing);
        oneIn.samples.push_back(one);
        oneCost.samples.push_back((one - nothing) / startUp);
        treeIn.samples.push_back(tree);
        treeCost.samples.push_back((tree - nothing) / startUp);
        answer.samples.push_back(watch.longestAnswerMs);
        std::fprintf(stderr,
                     "  rescan run %d: start-up %.0f ms, slide in %.0f, after one change %.0f, "
                     "new tree %.0f ms\n",
                     run + 1, startUp, nothing, one, tree);
    }
}
