// The real brisel.exe under Wine: when it leaves at once, when it shows its off-screen
// window, and how that window ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/registry_flags.h"
#include "launcher/launcher.h"
#include "resources/launcher_resources.h"
#include "test_dialogs.h"

namespace fs = std::filesystem;

namespace {

struct Launched {
    HANDLE process = nullptr;
    DWORD id = 0;
};

std::wstring LauncherPath()
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return (fs::path(self).parent_path().parent_path() / L"bin" / L"brisel.exe").wstring();
}

Launched StartLauncher(const std::wstring &arguments)
{
    std::wstring commandLine = L"\"" + LauncherPath() + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    STARTUPINFOW startup = {sizeof(startup)};
    PROCESS_INFORMATION process = {};
    Launched launched;
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        launched = {process.hProcess, process.dwProcessId};
    }
    return launched;
}

HWND WaitForLauncherWindow(const Launched &launched, DWORD ms)
{
    return WaitForDialogOf(launched.process, launched.id, nullptr, ms);
}

DWORD ExitCodeAfter(const Launched &launched, DWORD ms)
{
    if (WaitForSingleObject(launched.process, ms) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(launched.process, &code);
    return code;
}

void SetShowDesktopValue(DWORD value)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kFlagsKeyPath, 0, nullptr, 0, KEY_WRITE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, kShowDesktopValue, 0, REG_DWORD, reinterpret_cast<BYTE *>(&value),
                   sizeof(value));
    RegCloseKey(key);
}

bool FlagsKeyExists()
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kFlagsKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// The launcher waits for some window to be in front before it shows itself, as the Start
// screen is at logon; on the bare test display this one plays that part.
class LauncherProgram : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        front = CreateWindowExW(0, L"STATIC", L"front", WS_POPUP | WS_VISIBLE, 10, 10, 100, 50,
                                nullptr, nullptr, nullptr, nullptr);
        SetForegroundWindow(front);
        HKEY key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kFlagsKeyPath, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            DWORD size = sizeof(savedValue);
            hadValue = RegQueryValueExW(key, kShowDesktopValue, nullptr, nullptr,
                                        reinterpret_cast<BYTE *>(&savedValue),
                                        &size) == ERROR_SUCCESS;
            RegCloseKey(key);
        }
    }
    static void TearDownTestSuite()
    {
        if (hadValue)
            SetShowDesktopValue(savedValue);
        DestroyWindow(front);
    }
    void TearDown() override
    {
        if (launched.process) {
            if (WaitForSingleObject(launched.process, 0) != WAIT_OBJECT_0)
                TerminateProcess(launched.process, 1);
            CloseHandle(launched.process);
        }
    }
    Launched launched;
    static inline HWND front = nullptr;
    static inline bool hadValue = false;
    static inline DWORD savedValue = 1;
};

}  // namespace

TEST_F(LauncherProgram, AutoWithShowDesktopOffLeavesAtOnceWithoutAWindow)
{
    SetShowDesktopValue(0);
    launched = StartLauncher(L"auto");
    ASSERT_NE(launched.process, nullptr);
    EXPECT_EQ(WaitForLauncherWindow(launched, 3000), nullptr);
    EXPECT_EQ(ExitCodeAfter(launched, 0), 0u);
}

TEST_F(LauncherProgram, AutoWithoutTheKeyCreatesItAndShowsTheWindowOffScreen)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, kFlagsKeyPath);
    ASSERT_FALSE(FlagsKeyExists());
    launched = StartLauncher(L"auto");
    HWND window = WaitForLauncherWindow(launched, 10000);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(FlagsKeyExists());

    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, -30000);
    EXPECT_EQ(rect.top, -30000);
    wchar_t title[32] = {};
    GetWindowTextW(window, title, 32);
    EXPECT_STREQ(title, L"Brisel");
    LONG style = GetWindowLongW(window, GWL_STYLE);
    LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU),
              WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(exStyle & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW), WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    EXPECT_NE(GetDlgItem(window, IDCANCEL), nullptr);

    // The Cancel button's command is not handled: the window stays.  A default button
    // posted behind the command is answered only by a dialog that has not ended, so once
    // it is the command has been handled.
    const LRESULT cancelIsDefault = MAKELONG(IDCANCEL, DC_HASDEFID);
    ASSERT_NE(SendMessageW(window, DM_GETDEFID, 0, 0), cancelIsDefault);
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, IDCANCEL)));
    PostMessageW(window, DM_SETDEFID, IDCANCEL, 0);
    LRESULT defaultId = 0;
    for (int i = 0; i < 100 && defaultId != cancelIsDefault; ++i) {
        DWORD_PTR answer = 0;
        if (SendMessageTimeoutW(window, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer))
            defaultId = static_cast<LRESULT>(answer);
        if (defaultId != cancelIsDefault &&
            WaitForSingleObject(launched.process, 50) == WAIT_OBJECT_0)
            break;
    }
    EXPECT_EQ(defaultId, cancelIsDefault) << "the dialog ended on Cancel";
    EXPECT_EQ(ExitCodeAfter(launched, 0), DWORD(STILL_ACTIVE));

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(ExitCodeAfter(launched, 5000), 0u);
}

TEST_F(LauncherProgram, OtherCommandLinesIgnoreTheFlag)
{
    SetShowDesktopValue(0);
    for (const wchar_t *arguments : {L"", L"AUTO", L"auto now", L"Auto"}) {
        SCOPED_TRACE(testing::Message() << "arguments '" << fs::path(arguments).string() << "'");
        launched = StartLauncher(arguments);
        HWND window = WaitForLauncherWindow(launched, 10000);
        ASSERT_NE(window, nullptr);
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(ExitCodeAfter(launched, 5000), 0u);
        CloseHandle(launched.process);
        launched = {};
    }
}

namespace {

// The lifetime timer, seen through the seam: the dialog asks for one minute, and the
// timer's expiry ends it.  The test lets it expire at once instead of after that minute.
struct TimerRequest {
    int calls;
    HWND window;
    UINT_PTR id;
    UINT ms;
};
TimerRequest g_timerRequest;
constexpr UINT_PTR kHangGuardTimer = 0x4A6E;
constexpr DWORD kHangGuardMs = 10000;
constexpr INT_PTR kHung = -7;

UINT_PTR WINAPI ExpireAtOnce(HWND window, UINT_PTR id, UINT ms, TIMERPROC proc)
{
    g_timerRequest = {g_timerRequest.calls + 1, window, id, ms};
    // Turns a dialog that outlives its timer into a failure instead of a hang.
    SetTimer(window, kHangGuardTimer, kHangGuardMs,
             [](HWND dialog, UINT, UINT_PTR, DWORD) { EndDialog(dialog, kHung); });
    return SetTimer(window, id, USER_TIMER_MINIMUM, proc);
}

}  // namespace

TEST_F(LauncherProgram, LifetimeTimerOfAMinuteEndsTheWindow)
{
    HMODULE program = LoadLibraryExW(LauncherPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    g_timerRequest = {};
    LauncherSeam.SetTimer = ExpireAtOnce;
    INT_PTR result = DialogBoxParamW(program, MAKEINTRESOURCEW(IDD_LAUNCHER), nullptr,
                                     LauncherDialogProc, 0);
    LauncherSeam.SetTimer = SetTimer;
    FreeLibrary(program);
    EXPECT_EQ(g_timerRequest.calls, 1);
    EXPECT_EQ(g_timerRequest.ms, 60000u);
    EXPECT_NE(g_timerRequest.window, nullptr);
    EXPECT_EQ(result, IDCANCEL) << "the timer's expiry ends the dialog";
}

TEST_F(LauncherProgram, TheProgramEndsWhenItsTimerExpires)
{
    SetShowDesktopValue(1);
    launched = StartLauncher(L"auto");
    HWND window = WaitForLauncherWindow(launched, 10000);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ExitCodeAfter(launched, 0), DWORD(STILL_ACTIVE));
    PostMessageW(window, WM_TIMER, kLauncherTimer, 0);
    EXPECT_EQ(ExitCodeAfter(launched, 5000), 0u);
}

int wmain(int argc, wchar_t **argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
