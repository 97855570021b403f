// The process-wide values the start of the main program sets and the rest reads.
#pragma once
#include <windows.h>

struct TAppState {
    UINT TaskbarCreatedMessage;
    int ScreenDpi;          // LOGPIXELSX of the screen, read once after declaring DPI awareness
};

extern TAppState App;
