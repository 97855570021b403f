#include "service/session_service.h"

#include <userenv.h>
#include <wtsapi32.h>

#include <string>

#include "common/portable/text.h"
#include "common/win_text.h"
#include "service/portable/session_logic.h"

const TServiceSystem kRealServiceSystem = {
    SetServiceStatus,      WTSQueryUserToken,    CreateEnvironmentBlock, DestroyEnvironmentBlock,
    CreateProcessAsUserW,  CloseHandle,          GetModuleFileNameW,
};

TServiceRecord g_Service = {{}, nullptr, &kRealServiceSystem};

namespace {

constexpr DWORD kServiceType = SERVICE_WIN32_OWN_PROCESS | SERVICE_WIN32_SHARE_PROCESS;
constexpr DWORD kControlsAccepted = SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_PAUSE_CONTINUE |
                                    SERVICE_ACCEPT_SHUTDOWN | SERVICE_ACCEPT_SESSIONCHANGE;
constexpr DWORD kUserProgramFlags = CREATE_UNICODE_ENVIRONMENT | NORMAL_PRIORITY_CLASS;
wchar_t kUserDesktop[] = L"winsta0\\default";

void ReportStatus()
{
    g_Service.system->setStatus(g_Service.statusHandle, &g_Service.status);
}

void StartUserProgram(HANDLE token, void *environment, std::u16string_view folder,
                      std::u16string_view program)
{
    std::u16string application = UserProgramPath(folder, program);
    std::u16string commandLine = UserProgramCommandLine(folder, program);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.lpDesktop = kUserDesktop;
    PROCESS_INFORMATION process = {};
    // The application name is given as well, so that no "C:\Program.exe" can stand in.
    if (!g_Service.system->startProcessAsUser(token, W(application.c_str()),
                                              W(commandLine.data()), nullptr, nullptr, FALSE,
                                              kUserProgramFlags, environment, nullptr,
                                              &startup, &process))
        return;
    g_Service.system->closeHandle(process.hThread);
    g_Service.system->closeHandle(process.hProcess);
}

}  // namespace

void InitServiceStatus(SERVICE_STATUS &status)
{
    status = {};
    status.dwServiceType = kServiceType;
    status.dwCurrentState = SERVICE_RUNNING;
    status.dwControlsAccepted = kControlsAccepted;
}

void StartUserPrograms(DWORD sessionId)
{
    const TServiceSystem &system = *g_Service.system;
    HANDLE token = nullptr;
    if (!system.queryUserToken(sessionId, &token))
        return;
    // Without its user's environment a program would see the service's own.
    void *environment = nullptr;
    system.createEnvironment(&environment, token, FALSE);

    wchar_t modulePath[1024];
    DWORD length = system.moduleFileName(nullptr, modulePath, ARRAYSIZE(modulePath));
    // A cut path would name some other folder: better to start nothing.
    if (length > 0 && length < ARRAYSIZE(modulePath)) {
        std::u16string_view folder = FolderOfPath(std::u16string_view(U16(modulePath), length));
        StartUserProgram(token, environment, folder, u"brisel.exe");
        StartUserProgram(token, environment, folder, u"tvra.exe");
    }

    if (environment)
        system.destroyEnvironment(environment);
    system.closeHandle(token);
}

DWORD WINAPI ServiceControlHandler(DWORD control, DWORD eventType, LPVOID eventData, LPVOID)
{
    TServiceControlAction action =
        DecideServiceControl(control, eventType, g_Service.status.dwCurrentState);
    g_Service.status.dwCurrentState = action.newState;
    if (action.resetExitCode)
        g_Service.status.dwWin32ExitCode = NO_ERROR;
    if (action.startUserPrograms && eventData)
        StartUserPrograms(static_cast<WTSSESSION_NOTIFICATION *>(eventData)->dwSessionId);
    if (action.reportStatus)
        ReportStatus();
    return action.handled ? NO_ERROR : ERROR_CALL_NOT_IMPLEMENTED;
}

void WINAPI ServiceMain(DWORD, LPWSTR *)
{
    g_Service.statusHandle =
        RegisterServiceCtrlHandlerExW(kServiceHandlerName, ServiceControlHandler, nullptr);
    if (!g_Service.statusHandle)
        return;
    InitServiceStatus(g_Service.status);
    ReportStatus();
}
