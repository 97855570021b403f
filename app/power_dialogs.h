// The log-off and shut-down dialogs (the program's own with ClassicExit on, the shell's
// otherwise) and the two full-screen effect dialogs.
#pragma once
#include <windows.h>

// Every call that would end, suspend or leave the session, and the shell's own shut-down
// dialog, leaves through this table.  The program keeps the real calls; tests record.
struct TPowerSeam {
    void (*EnableShutdownPrivilege)();
    BOOL(WINAPI *EndSession)(UINT flags, DWORD reason);  // ExitWindowsEx
    BOOLEAN(WINAPI *SetSuspendState)(BOOLEAN hibernate, BOOLEAN force, BOOLEAN wakeEventsDisabled);
    BOOL(WINAPI *DisconnectSession)(HANDLE server, DWORD session, BOOL wait);
    // The shell's shut-down dialog through its automation object; a failure means that
    // nothing was shown.
    HRESULT (*ShowShellShutDownDialog)();
};

extern TPowerSeam PowerSeam;

// Planned, operating system, upgrade: the reason every ExitWindowsEx call gives.
inline constexpr DWORD kPowerShutdownReason = 0x80020003;

// The real entries, for tests that put them back.
void EnableShutdownPrivilege();
HRESULT ShowShellShutDownDialog();

// Modal on the calling (user-interface) thread; the menus close and the start button is
// hidden while they run.  A request while one of them runs is ignored.
void RunLogOffDialog();
void RunShutDownDialog();

// Selects `entry` in the combo box 2001 of a "#32770" dialog of the shell's process (the
// process of "Shell_TrayWnd") and tells the dialog; looks `attempts` times, `intervalMs`
// apart.  False when no such dialog turned up.
bool PreselectShellDialog(int entry, int attempts, DWORD intervalMs);

// Effect dialog 1 or 2, modeless, owned by `owner`; it ends (and is destroyed) by itself.
HWND OpenEffectDialog(HWND owner, int which);
