// The colour box of the options pages (class TVRA_ColorControl).
#pragma once
#include <windows.h>

#include "common/window_class.h"

LRESULT CALLBACK ColorControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
TWindowClass ColorControlWindowClass();
