// The context menu of the start button: about, options, explore, explore all users, exit.
#pragma once
#include <windows.h>

class TMenu;

void RunStartButtonMenu(HWND mainWindow, TMenu *root);

// Runs one command of the menu (a StartButtonCommand); 0 does nothing.
void RunStartButtonCommand(HWND mainWindow, UINT command);
