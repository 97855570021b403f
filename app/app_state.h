// The process-wide values the start of the main program sets and the rest reads.
#pragma once
#include <windows.h>

struct TAppState {
    HWND MainWindow;
    UINT ShellGetDragImageMessage;
    UINT TaskbarCreatedMessage;
    int ScreenDpi;          // LOGPIXELSX of the screen, read once after declaring DPI awareness
    HBITMAP ShieldBitmap;   // beside the run-as command of item context menus
};

extern TAppState App;
