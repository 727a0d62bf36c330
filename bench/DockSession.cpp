#include "bench/DockSession.h"

#include <algorithm>
#include <cstdio>
#include <thread>

#include "bench/PageCache.h"
#include "bench/ProcessProbe.h"

namespace {

constexpr double kAskEveryMs = 5;
constexpr DWORD kStartTimeoutMs = 120000;

DWORD OwnerOf(HWND w) {
    DWORD id = 0;
    GetWindowThreadProcessId(w, &id);
    return id;
}

void Click(HWND window, int x, int y) {
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

}  // namespace

void DockSession::AskDock(HWND taskbar, const std::atomic<bool>& started, const double& endMs,
                          StartWatch* watch) const {
    HWND dock = nullptr;
    while (!started && !(dock = program_.DockIn(taskbar))) Sleep(1);
    while (!started) {
        const double asked = NowMs();
        DWORD_PTR ignored = 0;
        if (!SendMessageTimeoutA(dock, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &ignored)) return;
        // An answer that came after the panel was ready counts up to that moment.
        const double answered = started ? endMs : NowMs();
        if (answered > asked)
            watch->longestAnswerMs = std::max(watch->longestAnswerMs, answered - asked);
        ++watch->answers;
        // Every 5 ms; at once after an answer that took longer.
        while (!started && NowMs() < asked + kAskEveryMs) Sleep(1);
    }
}

bool DockSession::Start(const std::string& runFolder, StartWatch* watch, bool cold,
                        StartMilestones* milestones) {
    Stop();
    // The taskbar lives as long as the longest session (the soak) may take.
    if (!standIn_.Start("--tree TrayNotifyWnd:900:300(TrayButton:10:40) --timeout 14400000"))
        return false;
    taskbarProcess_ = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE,
                                  OwnerOf(standIn_.Taskbar()));
    if (cold && !DropPageCache()) {
        std::fprintf(stderr, "the page cache could not be emptied\n");
        return false;
    }
    if (!program_.Start(runFolder)) return false;
    std::atomic<bool> started{false};
    std::thread asker;
    NowMs();  // the clock's origin is set before the asking thread reads it
    if (watch) {
        *watch = StartWatch{};
        asker = std::thread([&] { AskDock(standIn_.Taskbar(), started, readyMs_, watch); });
    }
    // The panel is shown only once its creation handler has scanned the
    // folder and filled category 0: that is the end of start-up.
    double dockAt = -1, panelAt = -1;
    const bool ready = WaitFor(
        [&] {
            if (milestones) {
                if (dockAt < 0 && program_.DockIn(standIn_.Taskbar())) dockAt = NowMs();
                if (panelAt < 0 && (panel_ || program_.PanelBeingBuilt())) panelAt = NowMs();
            }
            if (!panel_) panel_ = program_.Panel();
            return panel_ && IsWindowVisible(panel_);
        },
        kStartTimeoutMs);
    readyMs_ = NowMs();
    started = true;
    if (asker.joinable()) asker.join();
    createdMs_ = CreationMs(program_.Process());
    if (milestones) {
        *milestones = StartMilestones{};
        if (dockAt >= 0) milestones->dockEmbeddedMs = dockAt - createdMs_;
        if (panelAt >= 0) milestones->panelCreatedMs = panelAt - createdMs_;
    }
    if (!ready) return false;
    dock_ = program_.DockIn(standIn_.Taskbar());
    iconList_ = FindWindowExA(panel_, nullptr, "IcoListboxEx", nullptr);
    toolbar_ = FindWindowExA(panel_, nullptr, "ToolbarEx", nullptr);
    return dock_ && iconList_ && toolbar_;
}

void DockSession::Stop() {
    program_.Stop();
    panel_ = dock_ = iconList_ = toolbar_ = nullptr;
    if (taskbarProcess_) CloseHandle(taskbarProcess_);
    taskbarProcess_ = nullptr;
    standIn_.Stop();
}

int DockSession::PanelLeft() const {
    RECT r = {};
    GetWindowRect(panel_, &r);
    return r.left;
}

void DockSession::ClickDock() {
    Click(dock_, 10, 10);
}

StartWatch DockSession::AnswersDuring(const std::function<void()>& work) {
    StartWatch watch;
    std::atomic<bool> done{false};
    double endMs = 0;
    std::thread asker([&] { AskDock(standIn_.Taskbar(), done, endMs, &watch); });
    work();
    endMs = NowMs();
    done = true;
    asker.join();
    return watch;
}

void DockSession::ClickFirstItem() {
    // The first cell starts at the list's top left corner.
    Click(iconList_, 30, 30);
}

void DockSession::SelectCategory(int index) {
    RECT bar;
    GetClientRect(toolbar_, &bar);
    // Buttons are 40 pixels high below a 6 pixel margin.
    const LPARAM at = MAKELPARAM((bar.right - bar.left) / 2, 6 + 40 * index + 18);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(toolbar_, WM_LBUTTONDOWN, MK_LBUTTON, at, SMTO_NORMAL, 10000, &ignored);
    SendMessageTimeoutA(toolbar_, WM_LBUTTONUP, 0, at, SMTO_NORMAL, 10000, &ignored);
}
