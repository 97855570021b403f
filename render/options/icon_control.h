// The icon box of the item property dialogs (class TVRA_IconControl).
#pragma once
#include <windows.h>

#include "common/window_class.h"

LRESULT CALLBACK IconControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
TWindowClass IconControlWindowClass();
