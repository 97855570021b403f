// Start and exit of the main program.
#pragma once
#include <windows.h>

// Runs the whole program for the given command line text (without the program name);
// returns the process exit code.
int RunMainProgram(HINSTANCE instance, const wchar_t *commandLine);

// The shell's small shield drawn into a 32-bit top-down DIB section.
HBITMAP CreateShieldBitmap();
// The start button and the hooks go, then the shield bitmap: at exit and at session end.
void LeaveSession();
