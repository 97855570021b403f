// The desktop launcher: at logon, an off-screen window of one minute hands the foreground
// on so that the shell leaves the Start screen for the desktop.
#pragma once
#include <windows.h>

inline constexpr UINT_PTR kLauncherTimer = 1;
inline constexpr UINT kLauncherLifetimeMs = 60000;
inline constexpr int kOffScreen = -30000;

// The lifetime timer is set through this entry (SetTimer in the program), so that a test
// sees the period asked for and can let the timer expire without waiting a minute.
struct TLauncherSeam {
    UINT_PTR(WINAPI *SetTimer)(HWND window, UINT_PTR id, UINT ms, TIMERPROC proc);
};
extern TLauncherSeam LauncherSeam;

INT_PTR CALLBACK LauncherDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The whole program after its command line: returns the exit code.
int RunLauncher(HINSTANCE instance, const wchar_t *commandLine);
