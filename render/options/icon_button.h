// The picture button of the options and power dialogs (class TVRA_IconButton).
#pragma once
#include <windows.h>

#include "common/window_class.h"

LRESULT CALLBACK IconButtonWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
TWindowClass IconButtonWindowClass();
