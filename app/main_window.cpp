#include "app/main_window.h"

#include <shlobj.h>

#include "app/app_start.h"
#include "app/app_state.h"
#include "app/hook_loader.h"
#include "app/menu_tree.h"
#include "app/order_file.h"
#include "app/power_dialogs.h"
#include "app/start_button_menu.h"
#include "common/messages.h"
#include "common/win_guards.h"
#include "menu/drag_drop.h"
#include "menu/menu_build.h"
#include "menu/search_list.h"
#include "menu/tmenu.h"
#include "settings/settings.h"

TMainWindowState MainWindowState;

namespace {

constexpr UINT kRebuildDelayMs = 1000;
// Opening one document changes several entries of the Recent folder; one refresh follows
// the last of them.
constexpr UINT kRecentRefreshDelayMs = 2000;
constexpr DWORD kShellRestartPauseMs = 2000;

TMenu *Root() { return MainWindowState.RootLevel; }

void StartMenuWatchers(HWND window)
{
    StartFolderWatcher(MainWindowState.UserWatcher, window, MenuFolders.UserStartMenu,
                       UM_START_MENU_CHANGED);
    StartFolderWatcher(MainWindowState.CommonWatcher, window, MenuFolders.CommonStartMenu,
                       UM_START_MENU_CHANGED);
}

void StopMenuWatchers()
{
    StopFolderWatcher(MainWindowState.UserWatcher);
    StopFolderWatcher(MainWindowState.CommonWatcher);
}

void InstallHooksOrFail()
{
    LoadHookLibrary();
    if (!InstallHooks())
        FailMessageHook();
}

LRESULT OnCreate(HWND window)
{
    ResolveMenuFolders();
    MainWindowState.RootLevel = new TMenu(nullptr, false);
    BuildAll(Root());
    RegisterWindowDropTarget(window);
    StartMenuWatchers(window);
    wchar_t recent[MAX_PATH];
    ResolveFolder(FOLDERID_Recent, recent);
    StartFolderWatcher(MainWindowState.RecentWatcher, window, recent, UM_RECENT_CHANGED);
    MainWindowState.Ready = true;
    InstallHooksOrFail();
    RequestStartButton();
    return 0;
}

void OnExit(HWND window)
{
    KillTimer(window, TIMER_REBUILD);
    KillTimer(window, TIMER_RECENT_CHANGED);
    KillTimer(window, TIMER_READY);
    StopMenuWatchers();
    StopFolderWatcher(MainWindowState.RecentWatcher);
    RevokeWindowDropTarget(window);
    delete MainWindowState.RootLevel;
    MainWindowState.RootLevel = nullptr;
    PostQuitMessage(0);
}

LRESULT OnClose(HWND window)
{
    if (MenuState.Exiting)
        OnExit(window);
    else
        RunShutDownDialog();
    return 0;
}

// The loop keeps running after a session end; a cancelled shut-down leaves everything.
LRESULT OnEndSession(bool ending)
{
    if (ending)
        LeaveSession();
    return 0;
}

void OnShellRestart()
{
    Sleep(kShellRestartPauseMs);
    RequestButtonRemoval();
    Sleep(kShellRestartPauseMs);
    RemoveHooks();
    LoadHookLibrary();
    Sleep(kShellRestartPauseMs);
    InstallHooksOrFail();
    RequestStartButton();
}

// Timers that rebuild levels.
bool ReplacesLevels(UINT_PTR timer)
{
    return timer == TIMER_REBUILD || timer == TIMER_RECENT_CHANGED;
}

void OnTimer(HWND window, UINT_PTR timer)
{
    // Left running, such a timer fires again once the dialog, drag or command is over.
    if (ReplacesLevels(timer) && MenuIsBusy())
        return;
    KillTimer(window, timer);
    switch (timer) {
    case TIMER_REBUILD:
        Rebuild(Root());
        break;
    case TIMER_RECENT_CHANGED:
        RefreshRecentMenu(Root());
        break;
    case TIMER_READY:
        MainWindowState.Ready = true;
        break;
    }
}

void OnLeftButtonDown()
{
    if (IsWindowVisible(Root()->Window))
        CloseAll(Root());
    else
        ShowLevel(Root());
}

void ShowRootActive(HWND window)
{
    BringToForeground(window);
    ShowLevel(Root());
    BringToForeground(Root()->Window);
}

void OnDragEntered()
{
    ShowLevel(Root());
    SetActiveWindow(Root()->Window);
}

void ToggleRootLevel(HWND window)
{
    if (MenuState.DialogOpen || !MainWindowState.Ready)
        return;
    if (IsWindowVisible(Root()->Window))
        CloseAll(Root());
    else
        ShowRootActive(window);
}

void OnMenusClosed(HWND window)
{
    MainWindowState.Ready = false;
    KillTimer(window, TIMER_READY);
    SetTimer(window, TIMER_READY, UINT(Settings.DelayQuarter), nullptr);
}

void OnOptionsAccepted()
{
    MoveProgramsItem(Root());
    StripSpecialItems(Root());
    AddSpecialItems(Root(), true);
}

LRESULT OnGetRootGeometry(WPARAM heightOut)
{
    RECT rect = {};
    GetWindowRect(Root()->Window, &rect);
    if (int *height = reinterpret_cast<int *>(heightOut))
        *height = rect.bottom - rect.top;
    return LRESULT(DWORD(LOWORD(rect.right)) | (DWORD(LOWORD(rect.top)) << 16));
}

LRESULT ScreenDpiNow()
{
    TScreenDC screen;
    return GetDeviceCaps(screen.Get(), LOGPIXELSX);
}

// Messages that need the menu tree; after the exit has destroyed it they are ignored.
bool NeedsRootLevel(UINT message)
{
    switch (message) {
    case WM_DISPLAYCHANGE:
    case WM_TIMER:
    case WM_LBUTTONDOWN:
    case UM_DRAG_ENTERED_MAIN:
    case UM_WRITE_ORDER_FILE:
    case UM_OPTIONS_APPLY_ITEMS:
    case UM_OPTIONS_APPLY_STYLE:
    case UM_FILL_SEARCH_INDEX:
    case UM_GET_ROOT_GEOMETRY:
    case UM_CLOSE_ALL:
    case UM_CLOSE_SUB_LEVELS:
    case UM_TOGGLE_MENU:
    case UM_BUTTON_CONTEXT_MENU:
        return true;
    }
    return false;
}

} // namespace

void BringToForeground(HWND window)
{
    DWORD ownThread = GetCurrentThreadId();
    DWORD frontThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    bool attached = frontThread && frontThread != ownThread &&
                    AttachThreadInput(frontThread, ownThread, TRUE);
    SetForegroundWindow(window);
    SetFocus(window);
    SetActiveWindow(window);
    if (attached)
        AttachThreadInput(frontThread, ownThread, FALSE);
}

void RequestExit(HWND window)
{
    MenuState.Exiting = true;
    PostMessageW(window, WM_CLOSE, 0, 0);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == App.TaskbarCreatedMessage && message != 0) {
        OnShellRestart();
        return 0;
    }
    if (!Root() && message != WM_CREATE && NeedsRootLevel(message))
        return 0;

    switch (message) {
    case WM_CREATE:
        return OnCreate(window);
    case WM_CLOSE:
        return OnClose(window);
    case WM_ENDSESSION:
        return OnEndSession(wParam != FALSE);
    case WM_DISPLAYCHANGE:
        RemeasureMonitors(Root());
        return 0;
    case WM_TIMER:
        OnTimer(window, wParam);
        return 0;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown();
        return 0;
    case UM_DRAG_ENTERED_MAIN:
        OnDragEntered();
        return 0;
    case UM_DROPPED_ON_MAIN:
        // The menu levels take drops; the hidden main window only opens the menu.
        GlobalFree(reinterpret_cast<HGLOBAL>(lParam));
        return 0;
    case UM_START_MENU_CHANGED:
    case UM_START_MENU_CHANGED_2:
    case UM_START_MENU_CHANGED_3:
    case UM_START_MENU_CHANGED_4:
        SetTimer(window, TIMER_REBUILD, kRebuildDelayMs, nullptr);
        return 0;
    case UM_STOP_WATCHERS:
        StopMenuWatchers();
        return 0;
    case UM_START_WATCHERS:
        StartMenuWatchers(window);
        return 0;
    case UM_RECENT_CHANGED:
        SetTimer(window, TIMER_RECENT_CHANGED, kRecentRefreshDelayMs, nullptr);
        return 0;
    case UM_WRITE_ORDER_FILE:
        WriteOrderFile(Root(), MenuFolders.OrderFile);
        return 0;
    case UM_MENUS_CLOSED:
        OnMenusClosed(window);
        return 0;
    case UM_OPTIONS_APPLY_ITEMS:
        OnOptionsAccepted();
        return 0;
    case UM_OPTIONS_CANCELLED:
        BuildSettingsFonts();
        return 0;
    case UM_OPTIONS_APPLY_STYLE:
        ApplyWindowStyle(Root());
        return 0;
    case UM_FILL_SEARCH_INDEX:
        FillSearchIndex(Root(), reinterpret_cast<TSearchIndex *>(wParam));
        return 0;
    case UM_GET_ROOT_GEOMETRY:
        return OnGetRootGeometry(wParam);
    case UM_CLOSE_ALL:
        CloseAll(Root());
        return 0;
    case UM_CLOSE_SUB_LEVELS:
        CloseSubLevels(Root(), Root(), true);
        return 0;
    case UM_EFFECT_DIALOG_1:
        return reinterpret_cast<LRESULT>(OpenEffectDialog(window, 1));
    case UM_EFFECT_DIALOG_2:
        return reinterpret_cast<LRESULT>(OpenEffectDialog(window, 2));
    case UM_TOGGLE_MENU:
        ToggleRootLevel(window);
        return 0;
    case UM_BUTTON_CONTEXT_MENU:
        RunStartButtonMenu(window, Root());
        return 0;
    case UM_GET_DPI:
        return ScreenDpiNow();
    case UM_EXIT:
        RequestExit(window);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TWindowClass MainWindowClass()
{
    return {kMainWindowClass, kResizeRedraw, 0, IDC_ARROW, true, nullptr, MainWindowProc};
}
