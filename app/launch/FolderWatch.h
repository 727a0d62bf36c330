// Watching "快速启动目录" with the file system's change notifications. A
// thread of its own waits for them; it only marks the folder changed and,
// once a burst of changes has settled, posts a notice that the GUI thread
// acts on. Nothing polls.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct WatchedFolder {
    std::string path;  // as the scan spells it (code page 936)
    bool subtree = false;
    DWORD changes = 0;  // FILE_NOTIFY_CHANGE_* flags
};

// Starts watching (a watch already running is stopped first); `settled` runs
// on the calling thread, from its message queue, once a burst of changes
// has been quiet for a moment. False when the system refuses.
bool StartFolderWatch(void (*settled)());
// Ends the thread and gives back every handle; nothing is left behind.
void StopFolderWatch();
bool FolderWatchRunning();
// The folders watched from now on (the earlier ones are dropped once these
// are armed, so no change falls between them). Returns when they are armed.
// Does nothing while no watch runs.
void WatchFolders(const std::vector<WatchedFolder>& folders);
// Whether a change was seen since the last call; clears the mark.
bool TakeFolderChange();
bool FolderChangePending();
// Marks the folder changed again: a change read but not shown yet.
void NoteFolderChange();
// Runs `settled` again from the message queue, for a change that had to wait.
void RecheckFolderLater();
