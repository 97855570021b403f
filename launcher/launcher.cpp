#include "launcher/launcher.h"

#include "common/registry_flags.h"
#include "common/win_text.h"
#include "launcher/portable/launch_rule.h"
#include "resources/launcher_resources.h"

TLauncherSeam LauncherSeam = {SetTimer};

namespace {

constexpr DWORD kForegroundPollMs = 100;

// Whatever is in front at logon (the Start screen) gets the foreground back from us, with
// our input attached so that the system lets us give it away.  The input is detached again
// at once: sharing it for the launcher's minute would tie that program's focus and key
// state to a hidden window.
void HandForegroundOn()
{
    HWND front;
    while (!(front = GetForegroundWindow()))
        Sleep(kForegroundPollMs);
    const DWORD frontThread = GetWindowThreadProcessId(front, nullptr);
    const BOOL attached = AttachThreadInput(frontThread, GetCurrentThreadId(), TRUE);
    BringWindowToTop(front);
    SetForegroundWindow(front);
    if (attached)
        AttachThreadInput(frontThread, GetCurrentThreadId(), FALSE);
}

INT_PTR OnInitDialog(HWND dialog)
{
    SetWindowPos(dialog, nullptr, kOffScreen, kOffScreen, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    HandForegroundOn();
    LauncherSeam.SetTimer(dialog, kLauncherTimer, kLauncherLifetimeMs, nullptr);
    return FALSE;
}

}  // namespace

INT_PTR CALLBACK LauncherDialogProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_TIMER:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    case WM_CLOSE:
        PostQuitMessage(0);
        return TRUE;
    }
    return FALSE;
}

int RunLauncher(HINSTANCE instance, const wchar_t *commandLine)
{
    if (!LauncherShowsWindow(U16View(commandLine ? commandLine : L""), ReadShowDesktop))
        return 0;
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_LAUNCHER), nullptr, LauncherDialogProc, 0);
    return 0;
}
