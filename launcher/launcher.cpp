#include "launcher/launcher.h"

#include "common/registry_flags.h"
#include "common/win_text.h"
#include "launcher/portable/launch_rule.h"
#include "resources/launcher_resources.h"

namespace {

constexpr DWORD kForegroundPollMs = 100;

// Whatever is in front at logon (the Start screen) gets the foreground back from us, with
// our input attached so that the system lets us give it away.
void HandForegroundOn()
{
    HWND front;
    while (!(front = GetForegroundWindow()))
        Sleep(kForegroundPollMs);
    AttachThreadInput(GetWindowThreadProcessId(front, nullptr), GetCurrentThreadId(), TRUE);
    BringWindowToTop(front);
    SetForegroundWindow(front);
}

INT_PTR OnInitDialog(HWND dialog)
{
    SetWindowPos(dialog, nullptr, kOffScreen, kOffScreen, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    HandForegroundOn();
    SetTimer(dialog, kLauncherTimer, kLauncherLifetimeMs, nullptr);
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
