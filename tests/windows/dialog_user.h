// A user on another thread of a Windows test: finds the modal dialog the test's thread shows,
// reads it and acts on it, and waits until the dialog's thread has handled what it posted.
// The test's main calls StartDialogUser() once on the thread that runs the dialogs.
#pragma once
#include <windows.h>

#include <atomic>
#include <cwchar>
#include <functional>
#include <string>
#include <thread>

inline DWORD testThread = 0;

// A dialog of the test's thread other than `except`; one still being set up counts when
// `visibleOnly` is false.
inline HWND DialogOfTestThread(bool visibleOnly = true, HWND except = nullptr)
{
    struct Query {
        bool visibleOnly;
        HWND except;
        HWND found;
    } query = {visibleOnly, except, nullptr};
    EnumThreadWindows(
        testThread,
        [](HWND window, LPARAM lParam) -> BOOL {
            auto *query = reinterpret_cast<Query *>(lParam);
            wchar_t className[16] = {};
            GetClassNameW(window, className, 16);
            if (window == query->except || wcscmp(className, L"#32770") != 0 ||
                (query->visibleOnly && !IsWindowVisible(window)))
                return TRUE;
            query->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&query));
    return query.found;
}

// Waits up to ten seconds for a condition the dialog's thread brings about.
inline bool Eventually(const std::function<bool()> &condition)
{
    for (int tries = 0; tries < 2000; ++tries) {
        if (condition())
            return true;
        Sleep(5);
    }
    return false;
}

// A visible dialog of the test's thread other than `except`, waited for up to ten seconds.
inline HWND WaitForDialog(HWND except = nullptr)
{
    HWND found = nullptr;
    Eventually([&] { return (found = DialogOfTestThread(true, except)) != nullptr; });
    return found;
}

// Runs `dialog` on this thread while `user` acts on the dialog it shows from another; true
// when the user found the dialog.
inline bool RunWithUser(const std::function<void()> &dialog, const std::function<void(HWND)> &user)
{
    std::atomic<bool> found = false;
    std::thread worker([&] {
        if (HWND shown = WaitForDialog()) {
            found = true;
            user(shown);
        }
    });
    dialog();
    worker.join();
    return found;
}

// Returns once the dialog's thread has handled everything posted to it before: a marker
// posted behind it is seen when the thread takes it from its queue (a sent message would
// jump the queue).
inline constexpr UINT kSettleMarker = WM_APP + 77;
inline std::atomic<int> markersTaken = 0;

inline LRESULT CALLBACK WatchTakenMessages(int code, WPARAM removed, LPARAM lParam)
{
    const MSG *msg = reinterpret_cast<const MSG *>(lParam);
    if (code == HC_ACTION && removed == PM_REMOVE && msg->message == kSettleMarker)
        ++markersTaken;
    return CallNextHookEx(nullptr, code, removed, lParam);
}

inline void Settle(HWND dialog)
{
    const int before = markersTaken;
    PostMessageW(dialog, kSettleMarker, 0, 0);
    Eventually([&] { return markersTaken > before; });
}

inline void StartDialogUser()
{
    testThread = GetCurrentThreadId();
    SetWindowsHookExW(WH_GETMESSAGE, WatchTakenMessages, nullptr, testThread);
}

inline std::wstring TextOf(HWND window)
{
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

inline HWND FocusOfTestThread()
{
    GUITHREADINFO info = {sizeof info};
    GetGUIThreadInfo(testThread, &info);
    return info.hwndFocus;
}
