// The main program with its power calls recorded instead of made, for the end-to-end tests
// of the log-off and shut-down dialogs: ending the session would end the test's Wine.  The
// shell's own shut-down dialog is the stand-in shell's.  Run from a copy of the install
// image, beside hallet.dll and the images folder.
//
//   tvra_recorded.exe --log FILE
#include <windows.h>

#include "app/app_start.h"
#include "app/power_dialogs.h"
#include "common/messages.h"
#include "test_program.h"

namespace {

const wchar_t *g_logPath = nullptr;

void Record(const wchar_t *what, UINT a, WPARAM b, LPARAM c) { AppendLogLine(g_logPath, what, a, b, c); }

void RecordPrivilege() { Record(L"privilege", 0, 0, 0); }
BOOL WINAPI RecordEndSession(UINT flags, DWORD reason)
{
    Record(L"end-session", flags, reason, 0);
    return TRUE;
}
BOOLEAN WINAPI RecordSuspend(BOOLEAN hibernate, BOOLEAN force, BOOLEAN wakeEventsDisabled)
{
    Record(L"suspend", hibernate, force, wakeEventsDisabled);
    return TRUE;
}
BOOL WINAPI RecordDisconnect(HANDLE, DWORD session, BOOL wait)
{
    Record(L"disconnect", session, WPARAM(wait), 0);
    return TRUE;
}
HRESULT ShellDialogOfStandIn()
{
    Record(L"shell-dialog", 0, 0, 0);
    PostMessageW(FindWindowW(kTaskbarClass, nullptr), kStandinShowShutDownDialog, 0, 0);
    return S_OK;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    g_logPath = CommandOption(argc, argv, L"--log");
    PowerSeam = {RecordPrivilege, RecordEndSession, RecordSuspend, RecordDisconnect,
                 ShellDialogOfStandIn};
    const int exitCode = RunMainProgram(instance, nullptr);
    LocalFree(argv);
    return exitCode;
}
