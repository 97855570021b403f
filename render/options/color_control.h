// The colour box of the options pages (class TVRA_ColorControl): shows one colour, picks a
// new one with the system colour dialog on a click, and tells its parent.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include "common/window_class.h"

// The system colour dialog; tests answer it in its place.
struct TColorControlSeam {
    BOOL(WINAPI *ChooseColor)(CHOOSECOLORW *choose);
};
extern TColorControlSeam ColorControlSeam;

LRESULT CALLBACK ColorControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
TWindowClass ColorControlWindowClass();
