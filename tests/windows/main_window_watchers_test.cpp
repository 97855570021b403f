// The folder watchers against a real folder tree under a temporary folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/folder_watchers.h"

namespace {

constexpr UINT kChangedMessage = WM_APP + 7;
LONG received = 0;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kChangedMessage) {
        ++received;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Pumps messages until `done` holds or `ms` have passed.
template <class Done> bool PumpUntil(Done done, DWORD ms)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    return true;
}

void WriteFile(const std::wstring &path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written;
    ::WriteFile(file, "x", 1, &written, nullptr);
    CloseHandle(file);
}

class FolderWatcherTest : public testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        root_ = std::wstring(temp) + L"orvella-watch-" + std::to_wstring(GetTickCount());
        // A tree that exists before the watch starts.
        CreateDirectoryW(root_.c_str(), nullptr);
        CreateDirectoryW((root_ + L"\\Sub").c_str(), nullptr);
        CreateDirectoryW((root_ + L"\\Sub\\Deeper").c_str(), nullptr);

        WNDCLASSW wc = {};
        wc.lpfnWndProc = CountingProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"OrvellaWatchTestSink";
        RegisterClassW(&wc);
        window_ = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                wc.hInstance, nullptr);
        ASSERT_TRUE(window_);
        received = 0;
    }
    void TearDown() override
    {
        StopFolderWatcher(watcher_);
        DestroyWindow(window_);
        SHFileRemove(root_);
    }
    static void SHFileRemove(const std::wstring &folder)
    {
        WIN32_FIND_DATAW entry;
        HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                if (entry.cFileName[0] == L'.')
                    continue;
                std::wstring path = folder + L"\\" + entry.cFileName;
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    SHFileRemove(path);
                else
                    DeleteFileW(path.c_str());
            } while (FindNextFileW(search, &entry));
            FindClose(search);
        }
        RemoveDirectoryW(folder.c_str());
    }
    void Start() { StartFolderWatcher(watcher_, window_, (root_ + L"\\").c_str(), kChangedMessage); }

    std::wstring root_;
    HWND window_ = nullptr;
    TFolderWatcher watcher_ = {};
};

} // namespace

TEST_F(FolderWatcherTest, ReportsChangesAtEveryDepthOfTheTree)
{
    for (const wchar_t *file : {L"\\top.lnk", L"\\Sub\\inner.lnk", L"\\Sub\\Deeper\\deep.lnk"}) {
        Start();
        Sleep(300);
        received = 0;
        WriteFile(root_ + file);
        EXPECT_TRUE(PumpUntil([] { return received > 0; }, 3000))
            << "no change reported for " << std::string(file, file + wcslen(file));
        StopFolderWatcher(watcher_);
    }
}

TEST_F(FolderWatcherTest, StopEndsTheThreadWithoutAChangeAndReportsNothingAfter)
{
    Start();
    Sleep(300);
    HANDLE thread;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), watcher_.Thread, GetCurrentProcess(),
                                &thread, SYNCHRONIZE, FALSE, 0));
    StopFolderWatcher(watcher_);
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0) << "the thread still waits";
    CloseHandle(thread);
    EXPECT_FALSE(FolderWatcherRunning(watcher_));

    WriteFile(root_ + L"\\after-stop.lnk");
    PumpUntil([] { return false; }, 800);
    EXPECT_EQ(received, 0);

    // Started again (as after the program's own file operations), it reports again.
    Start();
    Sleep(300);
    WriteFile(root_ + L"\\after-restart.lnk");
    EXPECT_TRUE(PumpUntil([] { return received > 0; }, 3000));
}

TEST_F(FolderWatcherTest, MissingFolderEndsTheThreadSilently)
{
    StartFolderWatcher(watcher_, window_, (root_ + L"\\Missing\\").c_str(), kChangedMessage);
    EXPECT_TRUE(PumpUntil([&] { return !FolderWatcherRunning(watcher_); }, 3000));
    StopFolderWatcher(watcher_);
    EXPECT_EQ(received, 0);
}

int wmain(int argc, wchar_t **argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
