// The window of one menu level (class TVRA_MenuWindow).
#pragma once
#include <windows.h>

#include "common/window_class.h"

LRESULT CALLBACK MenuWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
TWindowClass MenuWindowClass();
