// The hook library hallet.dll: loaded into this process and injected into the shell through
// two WH_GETMESSAGE hooks, which carry the start button and the edge-panel handling.
#pragma once
#include <windows.h>

struct THookLibrary {
    HMODULE Module;
    HOOKPROC MessageProc;
    HOOKPROC EdgeMessageProc;
    HHOOK MessageHook;   // for every thread of the desktop
    HHOOK EdgeHook;      // for the thread of the shell's edge panels; may be null
};

extern THookLibrary HookLibrary;

// Loads hallet.dll unless it is loaded already (the addresses of the first load stay valid).
void LoadHookLibrary();

// Installs the message hook and, when the shell's edge panels exist, the edge hook.  False
// when the message hook could not be installed (library or export missing, or refused).
bool InstallHooks();

// Shows "ERROR in message hook" and ends the process with exit code 0.
[[noreturn]] void FailMessageHook();

void RemoveHooks();

// Asks the taskbar for a start button (the hook library creates it inside the shell).
void RequestStartButton();
// Asks the taskbar to remove the start button, without waiting.
void RequestButtonRemoval();

// Asks the taskbar to remove the start button and waits until it has gone, then two more
// seconds so that the shell has left the hook library's code before the hooks go.
void WithdrawStartButton();
