// Shared by the menu window and execution tests: stand-ins for the main window and the
// start button that record what reaches them, a recording launch seam, and level builders.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "common/messages.h"
#include "menu/launch_seam.h"
#include "menu/menu_item.h"
#include "menu/menu_window.h"
#include "menu/search_box.h"
#include "menu/tmenu.h"
#include "settings/settings.h"

struct TRecordedMessage {
    std::wstring to;  // class of the receiving stand-in
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

struct TRecordedLaunch {
    std::wstring what;  // "execute", "shell", "logoff", "shutdown", "recent", "jumplists"
    HWND owner;
    std::wstring verb;  // "(null)" for a null verb
    std::wstring file;
    std::wstring parameters;  // "(null)" for no parameter text
    int show;
    TShellCall call;
};

inline std::vector<TRecordedMessage> Received;
inline std::vector<TRecordedLaunch> Launches;

inline LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_USER || message == WM_SYSCOMMAND) {
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        Received.push_back({name, message, wParam, lParam});
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

inline std::wstring OrNull(const wchar_t *text) { return text ? text : L"(null)"; }

inline void RecordExecute(HWND owner, const wchar_t *verb, const wchar_t *file,
                          const wchar_t *parameters, int show)
{
    Launches.push_back({L"execute", owner, OrNull(verb), OrNull(file), OrNull(parameters), show,
                        TShellCall::Help});
}
inline void RecordShell(TShellCall call)
{
    Launches.push_back({L"shell", nullptr, L"", L"", L"", 0, call});
}
inline void RecordLogOff() { Launches.push_back({L"logoff"}); }
inline void RecordShutDown() { Launches.push_back({L"shutdown"}); }
inline void RecordRecent() { Launches.push_back({L"recent"}); }
inline void RecordJumpLists() { Launches.push_back({L"jumplists"}); }

// Pumps messages for `ms` milliseconds, or until `done` holds.
template <class Done> bool PumpUntil(Done done, DWORD ms)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done())
            return true;
        if (GetTickCount() - start > ms)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}
inline void Pump(DWORD ms) { PumpUntil([] { return false; }, ms); }

inline int CountReceived(const wchar_t *to, UINT message)
{
    int n = 0;
    for (const TRecordedMessage &m : Received)
        n += m.to == to && m.message == message;
    return n;
}

// Registers the menu window class (as the program does at start) and the two stand-ins, and
// creates the stand-ins.  One per test program.
class MenuWindowEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        RegisterWindowClass(MenuWindowClass(), instance);
        RegisterWindowClass(SearchBoxWindowClass(), instance);
        for (const wchar_t *name : {kMainWindowClass, kStartButtonClass}) {
            WNDCLASSW standIn{};
            standIn.lpfnWndProc = RecordingProc;
            standIn.hInstance = instance;
            standIn.lpszClassName = name;
            RegisterClassW(&standIn);
        }
        MainWindow = CreateWindowExW(0, kMainWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                     nullptr, instance, nullptr);
        StartButton = CreateWindowExW(0, kStartButtonClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                      nullptr, instance, nullptr);
        Settings.IconSize1 = 32;
        Settings.IconSize2 = 16;
        Settings.MenuStyle = kMenuStyleOutlined;
        Settings.MenuDelay = 100;
        LaunchSeam = {RecordExecute, RecordShell, RecordLogOff, RecordShutDown, RecordRecent,
                      RecordJumpLists};
    }
    void TearDown() override
    {
        DestroyWindow(StartButton);
        DestroyWindow(MainWindow);
    }

    static inline HWND MainWindow = nullptr;
    static inline HWND StartButton = nullptr;
};

// Appends items without asking the file system; "name|path" gives a caption, a trailing "/"
// on the path gives the item a sub-level.
inline TMenuItem *AddItem(TMenu *level, const std::wstring &entry)
{
    const size_t bar = entry.find(L'|');
    std::wstring caption = bar == std::wstring::npos ? entry : entry.substr(0, bar);
    std::wstring path = bar == std::wstring::npos ? entry : entry.substr(bar + 1);
    const bool folder = !path.empty() && path.back() == L'/';
    if (folder)
        path.pop_back();
    TMenuItem *item = level->Append(path.c_str(), folder, path.empty(), true);
    lstrcpynW(item->Caption, caption.c_str(), MAX_PATH);
    return item;
}

inline TMenu *MakeLevel(const std::vector<std::wstring> &items)
{
    TMenu *level = new TMenu(nullptr, false);
    for (const std::wstring &entry : items)
        AddItem(level, entry);
    return level;
}

// The real search box child of a level, as the special section creates it.
inline HWND MakeSearchBox(TMenu *level)
{
    CreateSearchBox(level);
    return MenuState.SearchEdit;
}

inline void ClearRecords()
{
    Received.clear();
    Launches.clear();
}
