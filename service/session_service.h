// The session service: reports itself running and, at every logon, starts the desktop
// launcher and then the main program in the new user's session.
#pragma once
#include <windows.h>

inline constexpr const wchar_t *kServiceHandlerName = L"TVRAServiceHandler";

// Every system call the service makes, so that tests can run the handler without a
// service control manager or a real logon.
struct TServiceSystem {
    BOOL(WINAPI *setStatus)(SERVICE_STATUS_HANDLE, LPSERVICE_STATUS);
    BOOL(WINAPI *queryUserToken)(ULONG session, PHANDLE token);
    BOOL(WINAPI *createEnvironment)(LPVOID *environment, HANDLE token, BOOL inherit);
    BOOL(WINAPI *destroyEnvironment)(LPVOID environment);
    BOOL(WINAPI *startProcessAsUser)(HANDLE token, LPCWSTR application, LPWSTR commandLine,
                                     LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES,
                                     BOOL inheritHandles, DWORD flags, LPVOID environment,
                                     LPCWSTR directory, LPSTARTUPINFOW, LPPROCESS_INFORMATION);
    BOOL(WINAPI *closeHandle)(HANDLE);
    DWORD(WINAPI *moduleFileName)(HMODULE, LPWSTR, DWORD);
};

// The one process-wide record of the service.
struct TServiceRecord {
    SERVICE_STATUS status;
    SERVICE_STATUS_HANDLE statusHandle;
    const TServiceSystem *system;
};

extern const TServiceSystem kRealServiceSystem;
extern TServiceRecord g_Service;

void WINAPI ServiceMain(DWORD argc, LPWSTR *argv);
DWORD WINAPI ServiceControlHandler(DWORD control, DWORD eventType, LPVOID eventData,
                                   LPVOID context);

// Fills the status record with the values reported at start.
void InitServiceStatus(SERVICE_STATUS &status);

// Starts "brisel.exe auto" and then "tvra.exe auto" from the service's own folder in the
// given session, as its user, with the user's environment.
void StartUserPrograms(DWORD sessionId);
