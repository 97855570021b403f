// The live preview beside the options sheet (class TVRA_Sample).
#pragma once
#include <windows.h>

#include "common/window_class.h"

LRESULT CALLBACK SampleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
TWindowClass SampleWindowClass();
