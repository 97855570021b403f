// The window of one menu level (class TVRA_MenuWindow).
#pragma once
#include <windows.h>

#include "common/window_class.h"

class TMenu;

LRESULT CALLBACK MenuWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
TWindowClass MenuWindowClass();
// The level whose messages the window's get from now on (null: none, while a rebuild has
// the window parked).
void AttachLevelWindow(HWND window, TMenu *level);
