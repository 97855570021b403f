#include "app/folder_watchers.h"

#include <string>

#include "common/win_guards.h"

struct TWatchJob {
    HWND Window;
    UINT Message;
    HANDLE StopEvent;
    std::wstring Folder;
};

namespace {

constexpr DWORD kChangeBufferSize = 10240;
constexpr DWORD kChangeFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SIZE |
                                FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_LAST_ACCESS |
                                FILE_NOTIFY_CHANGE_CREATION | FILE_NOTIFY_CHANGE_SECURITY;
// How long a stop waits for the thread; a thread that does not end in time is abandoned
// with its record rather than freed under it.
constexpr DWORD kStopTimeoutMs = 3000;

bool StopRequested(const TWatchJob &job)
{
    return WaitForSingleObject(job.StopEvent, 0) == WAIT_OBJECT_0;
}

// Wine's subtree watch sees changes inside a sub-folder that existed before the watch only
// once that sub-folder has been opened after it started; opening each one is harmless on
// Windows.
void OpenEachSubfolder(const std::wstring &folder)
{
    WIN32_FIND_DATAW entry;
    TFindHandle search(FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (!search)
        return;
    do {
        bool isFolder = entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        bool isLink = entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT;
        if (!isFolder || isLink || entry.cFileName[0] == L'.')
            continue;
        std::wstring path = folder + L"\\" + entry.cFileName;
        TKernelHandle opened(CreateFileW(path.c_str(), FILE_LIST_DIRECTORY,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                         nullptr));
        opened.Reset();
        OpenEachSubfolder(path);
    } while (FindNextFileW(search.Get(), &entry));
}

// One message per change record.  A wait that lost its records (the buffer overflowed)
// still reports one change, so that the menu is rebuilt.
void ReportChanges(const TWatchJob &job, const BYTE *buffer, DWORD size)
{
    if (size == 0) {
        if (!StopRequested(job))
            SendMessageW(job.Window, job.Message, 0, 0);
        return;
    }
    DWORD offset = 0;
    for (;;) {
        if (StopRequested(job))
            return;
        SendMessageW(job.Window, job.Message, 0, 0);
        auto *record = reinterpret_cast<const FILE_NOTIFY_INFORMATION *>(buffer + offset);
        if (record->NextEntryOffset == 0 || offset + record->NextEntryOffset >= size)
            return;
        offset += record->NextEntryOffset;
    }
}

DWORD WINAPI WatchFolder(void *parameter)
{
    const TWatchJob &job = *static_cast<TWatchJob *>(parameter);
    TKernelHandle folder(CreateFileW(job.Folder.c_str(), FILE_LIST_DIRECTORY,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr));
    if (!folder)
        return 0;
    TKernelHandle changed(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!changed)
        return 0;

    alignas(DWORD) BYTE buffer[kChangeBufferSize];
    bool subfoldersOpened = false;
    for (;;) {
        OVERLAPPED wait = {};
        wait.hEvent = changed.Get();
        ResetEvent(changed.Get());
        if (!ReadDirectoryChangesW(folder.Get(), buffer, sizeof buffer, TRUE, kChangeFilter,
                                   nullptr, &wait, nullptr))
            return 0;
        if (!subfoldersOpened) {
            OpenEachSubfolder(job.Folder);
            subfoldersOpened = true;
        }

        HANDLE events[2] = {job.StopEvent, changed.Get()};
        DWORD woken = WaitForMultipleObjects(2, events, FALSE, INFINITE);
        DWORD size = 0;
        if (woken != WAIT_OBJECT_0 + 1) {
            CancelIoEx(folder.Get(), &wait);
            GetOverlappedResult(folder.Get(), &wait, &size, TRUE);
            return 0;
        }
        if (!GetOverlappedResult(folder.Get(), &wait, &size, FALSE)) {
            if (GetLastError() != ERROR_NOTIFY_ENUM_DIR)
                return 0;
            size = 0;
        }
        ReportChanges(job, buffer, size);
    }
}

} // namespace

void StartFolderWatcher(TFolderWatcher &watcher, HWND window, const wchar_t *folder,
                        UINT message)
{
    StopFolderWatcher(watcher);
    std::wstring path = folder ? folder : L"";
    while (path.size() > 3 && path.back() == L'\\')
        path.pop_back();
    if (path.empty())
        return;

    HANDLE stopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!stopEvent)
        return;
    auto *job = new TWatchJob{window, message, stopEvent, path};
    HANDLE thread = CreateThread(nullptr, 0, WatchFolder, job, 0, nullptr);
    if (!thread) {
        delete job;
        CloseHandle(stopEvent);
        return;
    }
    watcher = TFolderWatcher{thread, stopEvent, job};
}

void StopFolderWatcher(TFolderWatcher &watcher)
{
    if (!watcher.Thread)
        return;
    SetEvent(watcher.StopEvent);

    // The thread may be inside SendMessage to this very thread: keep taking sent messages
    // while waiting, or both would wait for each other.
    DWORD start = GetTickCount();
    bool ended = false;
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= kStopTimeoutMs)
            break;
        DWORD woken = MsgWaitForMultipleObjects(1, &watcher.Thread, FALSE,
                                                kStopTimeoutMs - elapsed, QS_SENDMESSAGE);
        if (woken == WAIT_OBJECT_0) {
            ended = true;
            break;
        }
        if (woken != WAIT_OBJECT_0 + 1)
            break;
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }

    if (ended) {
        delete watcher.Job;
        CloseHandle(watcher.StopEvent);
    }
    CloseHandle(watcher.Thread);
    watcher = TFolderWatcher{};
}

bool FolderWatcherRunning(const TFolderWatcher &watcher)
{
    return watcher.Thread != nullptr &&
           WaitForSingleObject(watcher.Thread, 0) == WAIT_TIMEOUT;
}
