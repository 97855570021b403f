#include "app/start_button_menu.h"

#include <shellapi.h>

#include "app/main_window.h"
#include "app/options_command.h"
#include "common/messages.h"
#include "menu/menu_build.h"
#include "menu/tmenu.h"
#include "render/options/about_box.h"
#include "settings/settings.h"

namespace {

HMENU CreateStartButtonMenu()
{
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, CMD_BUTTON_ABOUT, Settings.Local[LocalMenuAbout]);
    AppendMenuW(menu, MF_STRING, CMD_BUTTON_OPTIONS, Settings.Local[LocalMenuOptions]);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, CMD_BUTTON_EXPLORE, Settings.Local[LocalMenuExplore]);
    AppendMenuW(menu, MF_STRING, CMD_BUTTON_EXPLORE_ALL, Settings.Local[LocalMenuExploreAll]);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, CMD_BUTTON_EXIT, Settings.Local[LocalMenuExit]);
    SetMenuDefaultItem(menu, CMD_BUTTON_OPTIONS, FALSE);
    return menu;
}

void OpenFolder(const wchar_t *folder)
{
    if (folder[0])
        ShellExecuteW(nullptr, L"open", folder, nullptr, nullptr, SW_SHOWNORMAL);
}

void ShowAboutBox(HWND mainWindow)
{
    EnableStartButton(false);
    RunAboutBox(mainWindow);
    EnableStartButton(true);
}

} // namespace

void RunStartButtonMenu(HWND mainWindow, TMenu *root)
{
    if (MenuState.DialogOpen)
        return;
    CloseAll(root);
    MenuState.DialogOpen = true;

    HMENU menu = CreateStartButtonMenu();
    BringToForeground(mainWindow);
    POINT cursor = {};
    GetCursorPos(&cursor);
    UINT command = UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, cursor.x,
                                       cursor.y, 0, mainWindow, nullptr));
    // The menu closes properly only once the owner has seen a message after it.
    PostMessageW(mainWindow, WM_NULL, 0, 0);
    DestroyMenu(menu);

    RunStartButtonCommand(mainWindow, command);
    BringToForeground(GetDesktopWindow());
    MenuState.DialogOpen = false;
}

void RunStartButtonCommand(HWND mainWindow, UINT command)
{
    switch (command) {
    case CMD_BUTTON_ABOUT:
        ShowAboutBox(mainWindow);
        break;
    case CMD_BUTTON_OPTIONS:
        RunOptionsCommand(mainWindow);
        break;
    case CMD_BUTTON_EXPLORE:
        OpenFolder(MenuFolders.UserStartMenu);
        break;
    case CMD_BUTTON_EXPLORE_ALL:
        OpenFolder(MenuFolders.CommonStartMenu);
        break;
    case CMD_BUTTON_EXIT:
        RequestExit(mainWindow);
        break;
    }
}
