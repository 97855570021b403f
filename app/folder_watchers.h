// Folder watchers: threads that wait for changes anywhere in one folder tree and report each
// change record to the main window with SendMessage, so that all work stays on its thread.
#pragma once
#include <windows.h>

struct TWatchJob;

struct TFolderWatcher {
    HANDLE Thread;      // null while the watcher is not running
    HANDLE StopEvent;
    TWatchJob *Job;     // shared with the thread until it ends
};

// Starts watching `folder` (a path with or without a trailing backslash); every change
// record is sent to `window` as `message` with both parameters 0.  A folder that cannot be
// opened ends the thread silently.  A running watcher is stopped first.
void StartFolderWatcher(TFolderWatcher &watcher, HWND window, const wchar_t *folder,
                        UINT message);

// Ends the watcher without waiting for a change: the blocked wait is cancelled and the
// folder handle closed before this returns.  Messages the thread is sending meanwhile are
// delivered.  Nothing happens for a watcher that is not running.
void StopFolderWatcher(TFolderWatcher &watcher);

bool FolderWatcherRunning(const TFolderWatcher &watcher);
