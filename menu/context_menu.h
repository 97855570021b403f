// The context menu of a menu item: the shell's own commands for its file, the program's
// commands, and the commands' handling.
#pragma once
#include <windows.h>

class TMenu;

// The context menu of the menu-wide current item on `level`.
void ShowItemContextMenu(TMenu *level, WPARAM wParam, LPARAM lParam);
void OnItemCommand(TMenu *level, WPARAM wParam, LPARAM lParam);
