// The watcher thread owns every directory handle and its pending read; the
// GUI thread only hands it requests through the completion port and reads
// the changed mark. No handle is held on a folder the user may delete other
// than the ones asked for: a folder deleted while a handle is open on it
// stays until the handle goes.
#include "app/launch/FolderWatch.h"

#include <atomic>
#include <memory>

#include "runtime/win32/FileNames.h"
#include "runtime/win32/ScopedOwners.h"

namespace {

// A burst (a folder copied in, a thousand files deleted) arrives as many
// notices; the folder counts as settled after this much quiet.
constexpr DWORD kSettleMs = 500;
// Only the fact of a change is used; an overflowing buffer still says that.
constexpr DWORD kNoticeBytes = 1024;
// Cancelled reads are waited for this long each before their memory goes.
constexpr DWORD kDrainMs = 2000;
constexpr DWORD kArmWaitMs = 2000;
constexpr ULONG_PTR kStopKey = 1;
constexpr ULONG_PTR kFoldersKey = 2;
constexpr UINT kMsgSettled = WM_APP + 1;
constexpr char kWindowClass[] = "QuickDockFolderWatch";

struct Watch {
    ScopedFileHandle directory;
    OVERLAPPED overlapped{};
    DWORD changes = 0;
    bool subtree = false;
    bool pending = false;  // a read is under way: its completion will come
    bool retired = false;
    alignas(DWORD) BYTE notices[kNoticeBytes];
};

struct FolderRequest {
    std::vector<std::wstring> paths;
    std::vector<WatchedFolder> folders;
};

struct Watcher {
    ScopedHandle port;
    ScopedHandle thread;
    ScopedHandle armed;  // set by the thread once a request's folders are armed
    HWND window = nullptr;
    void (*settled)() = nullptr;
    std::atomic<bool> changed{false};
};

Watcher* gWatcher = nullptr;

bool Arm(Watch& watch) {
    watch.overlapped = OVERLAPPED{};
    watch.pending =
        ReadDirectoryChangesW(watch.directory.Get(), watch.notices, kNoticeBytes, watch.subtree,
                              watch.changes, nullptr, &watch.overlapped, nullptr) != FALSE;
    return watch.pending;
}

// Everything below runs on the watcher thread.
class WatchThread {
  public:
    explicit WatchThread(Watcher& watcher) : w_(watcher) {}

    void Run() {
        bool quietPending = false;
        DWORD lastChange = 0;
        for (;;) {
            DWORD timeout = INFINITE;
            if (quietPending) {
                const DWORD since = GetTickCount() - lastChange;
                timeout = since >= kSettleMs ? 0 : kSettleMs - since;
            }
            const Packet next = Next(timeout);
            if (!next.ok && !next.overlapped) {
                if (GetLastError() != WAIT_TIMEOUT) break;  // the port is gone
                quietPending = false;
                PostMessageA(w_.window, kMsgSettled, 0, 0);
            } else if (next.key == kStopKey) {
                break;
            } else if (next.key == kFoldersKey) {
                Replace(reinterpret_cast<FolderRequest*>(next.overlapped));
            } else if (Completed(reinterpret_cast<Watch*>(next.key), next.ok)) {
                w_.changed.store(true);
                lastChange = GetTickCount();
                quietPending = true;
            }
        }
        for (auto& watch : watches_) Retire(*watch);
        Drain();
    }

  private:
    // A completed read, a request, or (neither ok nor overlapped) a timeout.
    struct Packet {
        bool ok = false;
        ULONG_PTR key = 0;
        OVERLAPPED* overlapped = nullptr;
    };
    Packet Next(DWORD timeout) const {
        Packet packet;
        DWORD bytes = 0;
        packet.ok = GetQueuedCompletionStatus(w_.port.Get(), &bytes, &packet.key,
                                              &packet.overlapped, timeout) != FALSE;
        return packet;
    }

    // Arms the requested folders, then drops the earlier watches.
    void Replace(FolderRequest* request) {
        std::unique_ptr<FolderRequest> owned(request);
        std::vector<std::unique_ptr<Watch>> earlier;
        earlier.swap(watches_);
        for (size_t i = 0; i < owned->paths.size(); ++i) {
            auto watch = std::make_unique<Watch>();
            watch->directory.Reset(CreateFileW(
                owned->paths[i].c_str(), FILE_LIST_DIRECTORY,
                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr));
            // A folder that is not there is not watched; its parent's watch
            // sees it come.
            if (!watch->directory.Valid()) continue;
            if (!CreateIoCompletionPort(watch->directory.Get(), w_.port.Get(),
                                        reinterpret_cast<ULONG_PTR>(watch.get()), 0))
                continue;
            watch->subtree = owned->folders[i].subtree;
            watch->changes = owned->folders[i].changes;
            if (Arm(*watch)) watches_.push_back(std::move(watch));
        }
        SetEvent(w_.armed.Get());
        for (auto& watch : earlier) Retire(*watch);
        for (auto& watch : earlier)
            if (watch->pending) watches_.push_back(std::move(watch));
    }

    // True when the completion tells of a change (an overflow does too, and
    // so does a failed read: usually its folder went). The read is made again.
    bool Completed(Watch* watch, bool ok) {
        watch->pending = false;
        const bool retired = watch->retired;
        // Dropped, cancelled or failing: the handle goes at once, so that a
        // deleted folder does not linger while it is held open.
        if (retired || !ok || !Arm(*watch)) Forget(watch);
        return ok || !retired;
    }

    void Forget(Watch* watch) {
        for (auto it = watches_.begin(); it != watches_.end(); ++it) {
            if (it->get() == watch) {
                watches_.erase(it);
                return;
            }
        }
    }

    static void Retire(Watch& watch) {
        watch.retired = true;
        if (watch.pending) CancelIo(watch.directory.Get());
    }

    // Waits for the cancelled reads: their buffers are written until then.
    void Drain() {
        for (;;) {
            bool pending = false;
            for (auto& watch : watches_) pending = pending || watch->pending;
            if (!pending) break;
            const Packet next = Next(kDrainMs);
            if (!next.ok && !next.overlapped) {
                // A read that never ends keeps its memory: freeing it could
                // let the system write into memory that is used again.
                for (auto& watch : watches_)
                    if (watch->pending) watch.release();
                break;
            }
            if (next.key == kFoldersKey) {
                delete reinterpret_cast<FolderRequest*>(next.overlapped);
                SetEvent(w_.armed.Get());
            } else if (next.overlapped) {
                reinterpret_cast<Watch*>(next.key)->pending = false;
            }
        }
        watches_.clear();
    }

    Watcher& w_;
    std::vector<std::unique_ptr<Watch>> watches_;
};

DWORD WINAPI WatchThreadEntry(LPVOID parameter) {
    WatchThread(*static_cast<Watcher*>(parameter)).Run();
    return 0;
}

LRESULT CALLBACK NoticeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kMsgSettled) {
        if (gWatcher && gWatcher->window == window && gWatcher->settled) gWatcher->settled();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeNoticeWindow() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    if (!GetClassInfoA(instance, kWindowClass, &wc)) {
        wc.lpfnWndProc = NoticeProc;
        wc.hInstance = instance;
        wc.lpszClassName = kWindowClass;
        RegisterClassA(&wc);
    }
    // A message-only window: it receives the notices and is never shown.
    return CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                           nullptr);
}

}  // namespace

bool StartFolderWatch(void (*settled)()) {
    StopFolderWatch();
    auto watcher = std::make_unique<Watcher>();
    watcher->settled = settled;
    watcher->port.Reset(CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1));
    watcher->armed.Reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    watcher->window = MakeNoticeWindow();
    if (!watcher->port.Valid() || !watcher->armed.Valid() || !watcher->window) {
        if (watcher->window) DestroyWindow(watcher->window);
        return false;
    }
    watcher->thread.Reset(CreateThread(nullptr, 0, WatchThreadEntry, watcher.get(), 0, nullptr));
    if (!watcher->thread.Valid()) {
        DestroyWindow(watcher->window);
        return false;
    }
    gWatcher = watcher.release();
    return true;
}

void StopFolderWatch() {
    if (!gWatcher) return;
    std::unique_ptr<Watcher> watcher(gWatcher);
    gWatcher = nullptr;
    DestroyWindow(watcher->window);
    if (!PostQueuedCompletionStatus(watcher->port.Get(), 0, kStopKey, nullptr)) {
        // The thread cannot be told to end (the system is out of memory):
        // its state stays rather than go from under it.
        watcher.release();
        return;
    }
    WaitForSingleObject(watcher->thread.Get(), INFINITE);
}

bool FolderWatchRunning() {
    return gWatcher != nullptr;
}

void WatchFolders(const std::vector<WatchedFolder>& folders) {
    if (!gWatcher) return;
    auto request = std::make_unique<FolderRequest>();
    request->folders = folders;
    for (const WatchedFolder& folder : folders)
        request->paths.push_back(WidePath(folder.path.c_str()));
    if (!PostQueuedCompletionStatus(gWatcher->port.Get(), 0, kFoldersKey,
                                    reinterpret_cast<OVERLAPPED*>(request.get())))
        return;
    request.release();  // the watcher thread frees it
    WaitForSingleObject(gWatcher->armed.Get(), kArmWaitMs);
}

bool TakeFolderChange() {
    return gWatcher && gWatcher->changed.exchange(false);
}

bool FolderChangePending() {
    return gWatcher && gWatcher->changed.load();
}

void NoteFolderChange() {
    if (gWatcher) gWatcher->changed.store(true);
}

void RecheckFolderLater() {
    if (gWatcher) PostMessageA(gWatcher->window, kMsgSettled, 0, 0);
}
