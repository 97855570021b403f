// The hidden main window: the hub that receives every request of the system.
#pragma once
#include <windows.h>

#include "app/folder_watchers.h"
#include "common/window_class.h"

class TMenu;

// State of the main window, one per process; user-interface thread only.
struct TMainWindowState {
    TMenu *RootLevel;
    bool Ready;                  // toggles are accepted (cleared while the menus just closed)
    TFolderWatcher UserWatcher;  // the user's Start Menu folder
    TFolderWatcher CommonWatcher;
    TFolderWatcher RecentWatcher;
};

extern TMainWindowState MainWindowState;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
TWindowClass MainWindowClass();

// Makes `window` the foreground, active and focused window even while another program is in
// front, by joining the input of the foreground window's thread for the moment.
void BringToForeground(HWND window);

// Sets Exiting and closes the main window, which ends the program.
void RequestExit(HWND window);
