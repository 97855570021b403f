// The session service's control handler with a fake system (what is started, in which
// order, and what is skipped), the logon path with the real process start, and the
// service installed, controlled and removed through the service control manager.
#include <windows.h>
#include <wtsapi32.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "service/session_service.h"

namespace fs = std::filesystem;

namespace {

// Copies of this program named like the user programs only note how they were started.
const bool kRanAsRecorder = [] {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    fs::path self(path);
    if (self.filename() == L"service_handler_test.exe")
        return false;
    std::wstring_view commandLine = GetCommandLineW();
    std::ofstream(fs::path(self.wstring() + L".started"), std::ios::binary)
        .write(reinterpret_cast<const char *>(commandLine.data()),
               commandLine.size() * sizeof(wchar_t));
    ExitProcess(0);
}();

// ---- The fake system: every call is written to one log ----

struct FakeLog {
    std::vector<std::wstring> calls;
    std::vector<SERVICE_STATUS> reports;
    bool tokenFails = false;
    bool briselStartFails = false;
    const wchar_t *modulePath = L"C:\\Program Files\\Orvella\\TVRAService.exe";
};
FakeLog *g_log = nullptr;

HANDLE const kToken = reinterpret_cast<HANDLE>(0x7070);
void *const kEnvironment = reinterpret_cast<void *>(0x5150);
HANDLE Handle(uintptr_t v) { return reinterpret_cast<HANDLE>(v); }

std::wstring Hex(const void *p)
{
    wchar_t text[32];
    swprintf(text, 32, L"%llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(p)));
    return text;
}

BOOL WINAPI FakeSetStatus(SERVICE_STATUS_HANDLE, LPSERVICE_STATUS status)
{
    g_log->calls.push_back(L"report");
    g_log->reports.push_back(*status);
    return TRUE;
}
BOOL WINAPI FakeQueryUserToken(ULONG session, PHANDLE token)
{
    g_log->calls.push_back(L"token " + std::to_wstring(session));
    if (g_log->tokenFails)
        return FALSE;
    *token = kToken;
    return TRUE;
}
BOOL WINAPI FakeCreateEnvironment(LPVOID *environment, HANDLE token, BOOL inherit)
{
    g_log->calls.push_back(L"environment " + Hex(token) + (inherit ? L" inherit" : L""));
    *environment = kEnvironment;
    return TRUE;
}
BOOL WINAPI FakeDestroyEnvironment(LPVOID environment)
{
    g_log->calls.push_back(L"destroy " + Hex(environment));
    return TRUE;
}
uintptr_t g_nextHandle = 0x100;
BOOL WINAPI FakeStart(HANDLE token, LPCWSTR application, LPWSTR commandLine,
                      LPSECURITY_ATTRIBUTES processAttributes,
                      LPSECURITY_ATTRIBUTES threadAttributes, BOOL inherit, DWORD flags,
                      LPVOID environment, LPCWSTR directory, LPSTARTUPINFOW startup,
                      LPPROCESS_INFORMATION process)
{
    std::wstring call = L"start " + Hex(token) + L" [" + (application ? application : L"") +
                        L"] [" + commandLine + L"] flags " + Hex(reinterpret_cast<void *>(
                                                               uintptr_t(flags))) +
                        L" env " + Hex(environment) + L" desktop " +
                        (startup->lpDesktop ? startup->lpDesktop : L"none");
    if (inherit || processAttributes || threadAttributes || directory ||
        startup->cb != sizeof(STARTUPINFOW))
        call += L" UNEXPECTED";
    g_log->calls.push_back(call);
    if (g_log->briselStartFails && wcsstr(commandLine, L"brisel.exe"))
        return FALSE;
    process->hProcess = Handle(g_nextHandle++);
    process->hThread = Handle(g_nextHandle++);
    return TRUE;
}
BOOL WINAPI FakeClose(HANDLE handle)
{
    g_log->calls.push_back(L"close " + Hex(handle));
    return TRUE;
}
DWORD WINAPI FakeModuleFileName(HMODULE, LPWSTR buffer, DWORD size)
{
    DWORD length = static_cast<DWORD>(wcslen(g_log->modulePath));
    if (length >= size) {
        // As Windows does: the cut path fills the buffer and the size is returned.
        wcsncpy(buffer, g_log->modulePath, size - 1);
        buffer[size - 1] = 0;
        return size;
    }
    wcscpy(buffer, g_log->modulePath);
    return length;
}

const TServiceSystem kFakeSystem = {
    FakeSetStatus, FakeQueryUserToken, FakeCreateEnvironment, FakeDestroyEnvironment,
    FakeStart,     FakeClose,          FakeModuleFileName,
};

class ServiceHandler : public testing::Test {
protected:
    void SetUp() override
    {
        g_log = &log;
        g_nextHandle = 0x100;
        g_Service.system = &kFakeSystem;
        g_Service.statusHandle = reinterpret_cast<SERVICE_STATUS_HANDLE>(0x99);
        InitServiceStatus(g_Service.status);
    }
    void TearDown() override
    {
        g_Service.system = &kRealServiceSystem;
        g_log = nullptr;
    }
    DWORD SessionChange(DWORD eventType, DWORD session)
    {
        WTSSESSION_NOTIFICATION notification = {sizeof(notification), session};
        return ServiceControlHandler(SERVICE_CONTROL_SESSIONCHANGE, eventType, &notification,
                                     nullptr);
    }
    FakeLog log;
};

const std::wstring kBriselStart =
    L"start 7070 [C:\\Program Files\\Orvella\\brisel.exe] "
    L"[\"C:\\Program Files\\Orvella\\brisel.exe\" auto] flags 420 env 5150 desktop winsta0\\default";
const std::wstring kTvraStart =
    L"start 7070 [C:\\Program Files\\Orvella\\tvra.exe] "
    L"[\"C:\\Program Files\\Orvella\\tvra.exe\" auto] flags 420 env 5150 desktop winsta0\\default";

}  // namespace

TEST_F(ServiceHandler, StartsRunningWithTheDocumentedStatus)
{
    EXPECT_EQ(g_Service.status.dwServiceType, 0x30u);
    EXPECT_EQ(g_Service.status.dwCurrentState, static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_EQ(g_Service.status.dwControlsAccepted, 0x87u);
    EXPECT_EQ(g_Service.status.dwWin32ExitCode, 0u);
    EXPECT_EQ(g_Service.status.dwServiceSpecificExitCode, 0u);
    EXPECT_EQ(g_Service.status.dwCheckPoint, 0u);
    EXPECT_EQ(g_Service.status.dwWaitHint, 0u);
}

TEST_F(ServiceHandler, StateControlsReportTheNewStateWithExitCodeZero)
{
    struct Case {
        DWORD control, before, after, exitCodeAfter;
    } cases[] = {
        {SERVICE_CONTROL_STOP, SERVICE_RUNNING, SERVICE_STOPPED, 0},
        {SERVICE_CONTROL_SHUTDOWN, SERVICE_RUNNING, SERVICE_STOPPED, 0},
        {SERVICE_CONTROL_PAUSE, SERVICE_RUNNING, SERVICE_PAUSED, 0},
        {SERVICE_CONTROL_CONTINUE, SERVICE_PAUSED, SERVICE_RUNNING, 0},
        // Interrogate reports what is, exit code included.
        {SERVICE_CONTROL_INTERROGATE, SERVICE_PAUSED, SERVICE_PAUSED, 42},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "control " << c.control);
        log = {};
        g_Service.status.dwCurrentState = c.before;
        g_Service.status.dwWin32ExitCode = 42;
        EXPECT_EQ(ServiceControlHandler(c.control, 0, nullptr, nullptr), DWORD(NO_ERROR));
        ASSERT_EQ(log.reports.size(), 1u);
        EXPECT_EQ(log.reports[0].dwCurrentState, c.after);
        EXPECT_EQ(log.reports[0].dwWin32ExitCode, c.exitCodeAfter);
        EXPECT_EQ(log.reports[0].dwControlsAccepted, 0x87u);
        EXPECT_EQ(log.calls, std::vector<std::wstring>{L"report"});
    }
}

TEST_F(ServiceHandler, UnknownCodeReportsButIsNotClaimed)
{
    EXPECT_EQ(ServiceControlHandler(0x80, 0, nullptr, nullptr), DWORD(ERROR_CALL_NOT_IMPLEMENTED));
    EXPECT_EQ(log.reports.size(), 1u);
}

TEST_F(ServiceHandler, LogonStartsLauncherThenMainProgramAndReleasesEverything)
{
    EXPECT_EQ(SessionChange(WTS_SESSION_LOGON, 3), DWORD(NO_ERROR));
    std::vector<std::wstring> expected = {
        L"token 3",     L"environment 7070", kBriselStart, L"close 101", L"close 100",
        kTvraStart,     L"close 103",        L"close 102", L"destroy 5150", L"close 7070",
    };
    EXPECT_EQ(log.calls, expected);
    EXPECT_EQ(g_Service.status.dwCurrentState, static_cast<DWORD>(SERVICE_RUNNING));
}

TEST_F(ServiceHandler, LogonWhilePausedStillStartsBoth)
{
    g_Service.status.dwCurrentState = SERVICE_PAUSED;
    SessionChange(WTS_SESSION_LOGON, 1);
    EXPECT_EQ(std::count(log.calls.begin(), log.calls.end(), kBriselStart), 1);
    EXPECT_EQ(std::count(log.calls.begin(), log.calls.end(), kTvraStart), 1);
    EXPECT_TRUE(log.reports.empty());
    EXPECT_EQ(g_Service.status.dwCurrentState, static_cast<DWORD>(SERVICE_PAUSED));
}

TEST_F(ServiceHandler, TwoLogonsAskForEachSessionsUser)
{
    SessionChange(WTS_SESSION_LOGON, 1);
    SessionChange(WTS_SESSION_LOGON, 2);
    std::vector<std::wstring> tokens;
    int starts = 0;
    for (const std::wstring &call : log.calls) {
        if (call.starts_with(L"token"))
            tokens.push_back(call);
        starts += call.starts_with(L"start");
    }
    EXPECT_EQ(tokens, (std::vector<std::wstring>{L"token 1", L"token 2"}));
    EXPECT_EQ(starts, 4);
}

TEST_F(ServiceHandler, OtherSessionEventsDoNothingAtAll)
{
    const DWORD events[] = {WTS_CONSOLE_CONNECT, WTS_CONSOLE_DISCONNECT, WTS_REMOTE_CONNECT,
                            WTS_REMOTE_DISCONNECT, WTS_SESSION_LOGOFF, WTS_SESSION_LOCK,
                            WTS_SESSION_UNLOCK, WTS_SESSION_REMOTE_CONTROL, 10, 11};
    for (DWORD event : events) {
        EXPECT_EQ(SessionChange(event, 1), DWORD(NO_ERROR)) << "event " << event;
        EXPECT_TRUE(log.calls.empty()) << "event " << event;
    }
}

TEST_F(ServiceHandler, FailedTokenQueryStartsNothing)
{
    log.tokenFails = true;
    SessionChange(WTS_SESSION_LOGON, 0);
    EXPECT_EQ(log.calls, std::vector<std::wstring>{L"token 0"});
}

TEST_F(ServiceHandler, FailedLauncherStartStillStartsMainProgram)
{
    log.briselStartFails = true;
    SessionChange(WTS_SESSION_LOGON, 1);
    std::vector<std::wstring> expected = {
        L"token 1",  L"environment 7070", kBriselStart,   kTvraStart,
        L"close 101", L"close 100",       L"destroy 5150", L"close 7070",
    };
    EXPECT_EQ(log.calls, expected);
}

TEST_F(ServiceHandler, CutModulePathStartsNothing)
{
    std::wstring longPath = L"C:\\" + std::wstring(1100, L'x') + L"\\TVRAService.exe";
    log.modulePath = longPath.c_str();
    SessionChange(WTS_SESSION_LOGON, 1);
    for (const std::wstring &call : log.calls)
        EXPECT_FALSE(call.starts_with(L"start")) << call;
    EXPECT_EQ(log.calls.back(), L"close 7070");
}

// ---- The logon path with the real token, environment and process start ----

namespace {

std::wstring g_installedModulePath;
DWORD WINAPI InstalledModuleFileName(HMODULE, LPWSTR buffer, DWORD size)
{
    lstrcpynW(buffer, g_installedModulePath.c_str(), size);
    return static_cast<DWORD>(g_installedModulePath.size());
}

std::wstring ReadText(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::string bytes(std::istreambuf_iterator<char>(in), {});
    return std::wstring(reinterpret_cast<const wchar_t *>(bytes.data()),
                        bytes.size() / sizeof(wchar_t));
}

bool WaitForFile(const fs::path &path, DWORD ms)
{
    for (DWORD waited = 0; waited < ms; waited += 50) {
        if (fs::exists(path) && fs::file_size(path) > 0)
            return true;
        Sleep(50);
    }
    return false;
}

}  // namespace

TEST(ServiceLogon, StartsTheProgramsOfAFolderWithSpacesAndNotTheirNamesakes)
{
    wchar_t temp[MAX_PATH], self[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    fs::path root = fs::path(temp) / (L"svc" + std::to_wstring(GetCurrentProcessId()));
    fs::path install = root / L"Orvella Install";
    fs::create_directories(install);
    // Unquoted, "...\Orvella Install\brisel.exe auto" would start "...\Orvella.exe".
    fs::copy_file(self, root / L"Orvella.exe");
    fs::copy_file(self, install / L"brisel.exe");
    fs::copy_file(self, install / L"tvra.exe");
    g_installedModulePath = (install / L"TVRAService.exe").wstring();

    TServiceSystem system = kRealServiceSystem;
    system.moduleFileName = InstalledModuleFileName;
    g_Service.system = &system;
    WTSSESSION_NOTIFICATION notification = {sizeof(notification), WTSGetActiveConsoleSessionId()};
    ServiceControlHandler(SERVICE_CONTROL_SESSIONCHANGE, WTS_SESSION_LOGON, &notification, nullptr);
    g_Service.system = &kRealServiceSystem;

    ASSERT_TRUE(WaitForFile(install / L"brisel.exe.started", 10000));
    ASSERT_TRUE(WaitForFile(install / L"tvra.exe.started", 10000));
    EXPECT_EQ(ReadText(install / L"brisel.exe.started"),
              L"\"" + (install / L"brisel.exe").wstring() + L"\" auto");
    EXPECT_EQ(ReadText(install / L"tvra.exe.started"),
              L"\"" + (install / L"tvra.exe").wstring() + L"\" auto");
    EXPECT_FALSE(fs::exists(root / L"Orvella.exe.started"));
    Sleep(200);
    std::error_code ignored;
    fs::remove_all(root, ignored);
}

// ---- The real service under the service control manager ----

namespace {

constexpr const wchar_t *kTestServiceName = L"TVRAServiceTest";

DWORD RunSc(const std::wstring &arguments)
{
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(system) + L"\\sc.exe\" " + arguments;
    STARTUPINFOW startup = {sizeof(startup)};
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process))
        return GetLastError();
    WaitForSingleObject(process.hProcess, 30000);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

SERVICE_STATUS WaitForState(SC_HANDLE service, DWORD state)
{
    SERVICE_STATUS status = {};
    for (int i = 0; i < 100; ++i) {
        QueryServiceStatus(service, &status);
        if (status.dwCurrentState == state)
            break;
        Sleep(100);
    }
    return status;
}

std::wstring ServiceProgramPath()
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    // tests/ and bin/ are siblings in the build folder.
    return (fs::path(self).parent_path().parent_path() / L"bin" / L"TVRAService.exe").wstring();
}

}  // namespace

TEST(ServiceUnderControlManager, CreatedStartedControlledStoppedAndDeleted)
{
    RunSc(std::wstring(L"delete ") + kTestServiceName);  // a leftover of a failed run
    ASSERT_EQ(RunSc(std::wstring(L"create ") + kTestServiceName + L" binPath= \"" +
                    ServiceProgramPath() + L"\""),
              0u);
    ASSERT_EQ(RunSc(std::wstring(L"start ") + kTestServiceName), 0u);

    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    ASSERT_NE(manager, nullptr);
    SC_HANDLE service = OpenServiceW(manager, kTestServiceName, SERVICE_ALL_ACCESS);
    ASSERT_NE(service, nullptr);

    SERVICE_STATUS status = WaitForState(service, SERVICE_RUNNING);
    EXPECT_EQ(status.dwCurrentState, static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_EQ(status.dwControlsAccepted, 0x87u);
    EXPECT_EQ(status.dwWin32ExitCode, 0u);

    EXPECT_TRUE(ControlService(service, SERVICE_CONTROL_PAUSE, &status));
    EXPECT_EQ(WaitForState(service, SERVICE_PAUSED).dwCurrentState, DWORD(SERVICE_PAUSED));
    EXPECT_TRUE(ControlService(service, SERVICE_CONTROL_CONTINUE, &status));
    EXPECT_EQ(WaitForState(service, SERVICE_RUNNING).dwCurrentState, DWORD(SERVICE_RUNNING));
    EXPECT_TRUE(ControlService(service, SERVICE_CONTROL_INTERROGATE, &status));

    EXPECT_EQ(RunSc(std::wstring(L"stop ") + kTestServiceName), 0u);
    status = WaitForState(service, SERVICE_STOPPED);
    EXPECT_EQ(status.dwCurrentState, static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_EQ(status.dwWin32ExitCode, 0u);

    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    EXPECT_EQ(RunSc(std::wstring(L"delete ") + kTestServiceName), 0u);
    manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    EXPECT_EQ(OpenServiceW(manager, kTestServiceName, SERVICE_QUERY_STATUS), nullptr);
    CloseServiceHandle(manager);
}

int wmain(int argc, wchar_t **argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
