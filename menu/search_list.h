// The result list under the search box (class ListEx).
#pragma once
#include <windows.h>

#include "common/window_class.h"

LRESULT CALLBACK SearchListWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
TWindowClass SearchListWindowClass();
