// The log-off and shut-down dialogs and the two effect dialogs, run modally on this thread
// with every system call recorded through the power seam; the shell's own dialog is the
// stand-in shell's (another process), beside a decoy of this process.
#include <gtest/gtest.h>
#include <windows.h>

#include <cwchar>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/portable/power_geometry.h"
#include "app/power_dialogs.h"
#include "common/messages.h"
#include "common/window_class.h"
#include "menu/tmenu.h"
#include "render/options/icon_button.h"
#include "resources/tvra_resources.h"
#include "settings/settings.h"
#include "../support/test_program.h"

namespace {

std::vector<std::wstring> Calls;   // what reached the seam, in order
std::vector<std::wstring> Received;  // what reached the stand-in main window and start button

std::wstring Format(const wchar_t *format, unsigned long long a, unsigned long long b,
                    unsigned long long c = 0)
{
    wchar_t text[96];
    swprintf(text, 96, format, a, b, c);
    return text;
}

void RecordPrivilege() { Calls.push_back(L"privilege"); }
BOOL WINAPI RecordEndSession(UINT flags, DWORD reason)
{
    Calls.push_back(Format(L"end-session %#llx %#llx", flags, reason));
    return TRUE;
}
BOOLEAN WINAPI RecordSuspend(BOOLEAN hibernate, BOOLEAN force, BOOLEAN wakeEventsDisabled)
{
    Calls.push_back(Format(L"suspend %llu %llu %llu", hibernate, force, wakeEventsDisabled));
    return TRUE;
}
BOOL WINAPI RecordDisconnect(HANDLE server, DWORD session, BOOL wait)
{
    Calls.push_back(Format(L"disconnect %llu %#llx %llu", reinterpret_cast<UINT_PTR>(server),
                           session, wait));
    return TRUE;
}
HRESULT ShellDialogFails()
{
    Calls.push_back(L"shell-dialog");
    return E_NOTIMPL;
}
// The shell shows its dialog a moment after the call, as the real one does.
HRESULT ShellDialogOfStandIn()
{
    Calls.push_back(L"shell-dialog");
    PostMessageW(FindWindowW(kTaskbarClass, nullptr), kStandinShowShutDownDialog, 0, 0);
    return S_OK;
}

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_USER) {
        Received.push_back(Format(window == FindWindowW(kMainWindowClass, nullptr) ? L"main %llu %llu"
                                                                                 : L"button %llu %llu",
                                  message, wParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MainWindow = nullptr;
HWND StartButton = nullptr;

class PowerEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        RegisterWindowClass(IconButtonWindowClass(), instance);
        for (const wchar_t *name : {kMainWindowClass, kStartButtonClass}) {
            WNDCLASSW standIn{};
            standIn.lpfnWndProc = RecordingProc;
            standIn.hInstance = instance;
            standIn.lpszClassName = name;
            RegisterClassW(&standIn);
        }
        MainWindow = CreateWindowExW(0, kMainWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                     nullptr, instance, nullptr);
        StartButton = CreateWindowExW(0, kStartButtonClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                      nullptr, instance, nullptr);
        App.ScreenDpi = 96;
        const struct {
            LanguageKey key;
            const wchar_t *text;
        } texts[] = {
            {LocalShutdownDlg, L"Shut Down Windows"}, {LocalLogoutDlg, L"Log Off"},
            {LocalDlg_Cancel, L"Cancel"},            {LocalShutdown_Hibernate, L"Hibernate"},
            {LocalShutdown_Suspend, L"Sleep"},        {LocalShutdown_Shutdown, L"Shut Down"},
            {LocalShutdown_Restart, L"Restart"},      {LocalLogoff_ChangeUser, L"Switch User"},
            {LocalLogoff_Logoff, L"Log Off"},
        };
        for (const auto &t : texts)
            wcscpy(Settings.Local[t.key], t.text);
    }
    void TearDown() override
    {
        DestroyWindow(StartButton);
        DestroyWindow(MainWindow);
    }
};
testing::Environment *const environment = testing::AddGlobalTestEnvironment(new PowerEnvironment);

// A timer of this thread, set for `ms` when made; pumps until `done` holds or it fired.
class Deadline {
public:
    explicit Deadline(UINT ms) : id_(SetTimer(nullptr, 0, ms, nullptr)) {}
    ~Deadline() { KillTimer(nullptr, id_); }
    Deadline(const Deadline &) = delete;
    Deadline &operator=(const Deadline &) = delete;

    // What another process does sends this thread nothing: `done` is looked at again every
    // few milliseconds as well as after every message.
    template <class Done> bool PumpUntil(Done done)
    {
        constexpr DWORD kLookAgainMs = 10;
        while (!fired_ && !done()) {
            MSG msg;
            while (!fired_ && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_TIMER && !msg.hwnd && msg.wParam == id_) {
                    fired_ = true;
                    break;
                }
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            if (!fired_ && !done())
                MsgWaitForMultipleObjects(0, nullptr, FALSE, kLookAgainMs, QS_ALLINPUT);
        }
        return done();
    }

private:
    UINT_PTR id_;
    bool fired_ = false;
};

bool IsDialogOfThisProcess(HWND window)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    return process == GetCurrentProcessId() && wcscmp(name, L"#32770") == 0;
}

// The visible log-off or shut-down dialog of this process (it has the title control).
HWND FindChoiceDialog()
{
    for (HWND w = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); w;
         w = FindWindowExW(nullptr, w, L"#32770", nullptr))
        if (IsDialogOfThisProcess(w) && IsWindowVisible(w) && GetDlgItem(w, IDC_POWER_TITLE))
            return w;
    return nullptr;
}

// The full-screen layer behind it: a layered dialog of this process without the title.
HWND FindLayer()
{
    for (HWND w = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); w;
         w = FindWindowExW(nullptr, w, L"#32770", nullptr))
        if (IsDialogOfThisProcess(w) && !GetDlgItem(w, IDC_POWER_TITLE) &&
            (GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_LAYERED))
            return w;
    return nullptr;
}

// What the test does to the dialog once it is up; it runs inside the dialog's modal loop.
std::function<void(HWND)> Act;
bool Acted = false;
bool Hung = false;
constexpr UINT kHangGuardMs = 10000;

void CALLBACK ActWhenShown(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = FindChoiceDialog();
    if (!dialog || Acted)
        return;
    KillTimer(nullptr, timer);
    Acted = true;
    Act(dialog);
}

// Ends a dialog that outlived what the test did to it: a failure, not a hang.
void CALLBACK HangGuard(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    Hung = true;
    if (HWND dialog = FindChoiceDialog())
        EndDialog(dialog, IDCANCEL);
}

// Runs a dialog request (RunShutDownDialog, ...) with `act` done to the dialog once shown.
void RunWith(void (*request)(), std::function<void(HWND)> act)
{
    Calls.clear();
    Received.clear();
    Act = std::move(act);
    Acted = Hung = false;
    const UINT_PTR actor = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, ActWhenShown);
    const UINT_PTR guard = SetTimer(nullptr, 0, kHangGuardMs, HangGuard);
    request();
    KillTimer(nullptr, actor);
    KillTimer(nullptr, guard);
}

bool DigitFree(int digit)
{
    constexpr int kProbeId = 0x7000;
    if (!RegisterHotKey(nullptr, kProbeId, 0, '0' + digit))
        return false;
    UnregisterHotKey(nullptr, kProbeId);
    return true;
}

std::wstring CapturedDigits()
{
    std::wstring digits;
    for (int digit = 1; digit <= 6; ++digit)
        if (!DigitFree(digit))
            digits += wchar_t(L'0' + digit);
    return digits;
}

void ClickPictureButton(HWND dialog, int id)
{
    HWND button = GetDlgItem(dialog, id);
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

// The picture button and its keyboard twin share the id; the twin is the plain "Button".
HWND KeyboardTwin(HWND dialog, int id)
{
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[16] = {};
        GetClassNameW(child, name, 16);
        if (GetDlgCtrlID(child) == id && wcscmp(name, L"Button") == 0)
            return child;
    }
    return nullptr;
}

class PowerDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        saved_ = PowerSeam;
        PowerSeam = {RecordPrivilege, RecordEndSession, RecordSuspend, RecordDisconnect,
                     ShellDialogFails};
        Settings.ClassicExit = true;
        MenuState.DialogOpen = false;
    }
    void TearDown() override
    {
        PowerSeam = saved_;
        EXPECT_FALSE(Hung) << "the dialog did not end";
        EXPECT_EQ(CapturedDigits(), L"") << "a digit key stayed captured";
        EXPECT_EQ(FindLayer(), nullptr) << "the grey background stayed";
    }
    TPowerSeam saved_{};
};

enum class Way { PictureButton, HotKey, KeyboardTwin };

TEST_F(PowerDialogTest, EachChoiceCallsItsActionWithItsFlagsAndReason)
{
    struct Case {
        void (*request)();
        int command;
        std::vector<std::wstring> calls;
    } cases[] = {
        {RunShutDownDialog, 101, {L"privilege", L"suspend 1 0 0"}},
        {RunShutDownDialog, 102, {L"privilege", L"suspend 0 0 0"}},
        {RunShutDownDialog, 103, {L"privilege", L"end-session 0x5 0x80020003"}},
        {RunShutDownDialog, 104, {L"privilege", L"end-session 0x6 0x80020003"}},
        // Switching the user only disconnects the session: no privilege is needed.
        {RunLogOffDialog, 105, {L"disconnect 0 0xffffffff 0"}},
        {RunLogOffDialog, 106, {L"privilege", L"end-session 0x4 0x80020003"}},
    };
    for (const Case &c : cases) {
        for (Way way : {Way::PictureButton, Way::HotKey, Way::KeyboardTwin}) {
            RunWith(c.request, [&](HWND dialog) {
                switch (way) {
                case Way::PictureButton:
                    ClickPictureButton(dialog, c.command);
                    break;
                case Way::HotKey:  // what the system sends for the digit key
                    SendMessageW(dialog, WM_HOTKEY, WPARAM(c.command - 100), 0);
                    break;
                case Way::KeyboardTwin:
                    SendMessageW(KeyboardTwin(dialog, c.command), BM_CLICK, 0, 0);
                    break;
                }
            });
            EXPECT_TRUE(Acted);
            EXPECT_EQ(Calls, c.calls) << "command " << c.command << ", way " << int(way);
        }
    }
}

TEST_F(PowerDialogTest, CancelAndEveryOtherResultDoNothing)
{
    struct Case {
        const char *name;
        void (*request)();
        std::function<void(HWND)> act;
    } cases[] = {
        {"Cancel", RunShutDownDialog,
         [](HWND d) { SendMessageW(GetDlgItem(d, IDCANCEL), BM_CLICK, 0, 0); }},
        {"Esc", RunLogOffDialog, [](HWND d) { SendMessageW(d, WM_COMMAND, IDCANCEL, 0); }},
        {"the hidden OK", RunShutDownDialog, [](HWND d) { SendMessageW(d, WM_COMMAND, IDOK, 0); }},
        {"a log-off choice in the shut-down dialog", RunShutDownDialog,
         [](HWND d) { SendMessageW(d, WM_COMMAND, IDC_POWER_LOG_OFF, 0); }},
        {"a shut-down choice in the log-off dialog", RunLogOffDialog,
         [](HWND d) { SendMessageW(d, WM_COMMAND, IDC_POWER_SHUT_DOWN, 0); }},
        {"a label's id", RunShutDownDialog, [](HWND d) { SendMessageW(d, WM_COMMAND, 203, 0); }},
    };
    for (const Case &c : cases) {
        RunWith(c.request, c.act);
        EXPECT_TRUE(Acted) << c.name;
        EXPECT_TRUE(Calls.empty()) << c.name;
    }
}

TEST_F(PowerDialogTest, DeactivationCancels)
{
    HWND elsewhere = CreateWindowExW(WS_EX_TOPMOST, L"Static", L"elsewhere", WS_POPUP | WS_VISIBLE,
                                     0, 0, 50, 50, nullptr, nullptr, GetModuleHandleW(nullptr),
                                     nullptr);
    for (void (*request)() : {RunLogOffDialog, RunShutDownDialog}) {
        RunWith(request, [&](HWND) { SetActiveWindow(elsewhere); });
        EXPECT_TRUE(Acted);
        EXPECT_TRUE(Calls.empty());
    }
    DestroyWindow(elsewhere);
}

TEST_F(PowerDialogTest, TheDialogsDigitsAreCapturedOnlyWhileItIsUp)
{
    const struct {
        void (*request)();
        const wchar_t *digits;
    } cases[] = {{RunShutDownDialog, L"1234"}, {RunLogOffDialog, L"56"}};
    for (const auto &c : cases) {
        std::wstring captured;
        RunWith(c.request, [&](HWND dialog) {
            captured = CapturedDigits();
            SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        EXPECT_EQ(captured, c.digits);
        // The fixture checks that every digit is free again.
    }
}

TEST_F(PowerDialogTest, TheMenusCloseAndTheStartButtonHidesWhileTheDialogRuns)
{
    bool dialogOpen = false;
    bool layerUp = false;
    std::vector<std::wstring> beforeEnd;
    RunWith(RunShutDownDialog, [&](HWND dialog) {
        dialogOpen = MenuState.DialogOpen;
        layerUp = FindLayer() != nullptr;
        beforeEnd = Received;
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(beforeEnd, (std::vector<std::wstring>{L"main 1053 0", L"button 2130 0"}));
    EXPECT_EQ(Received.back(), L"button 2130 1");
    EXPECT_TRUE(dialogOpen) << "toggles and rebuilds wait while the dialog runs";
    EXPECT_TRUE(layerUp) << "the grey background is behind the dialog";
    EXPECT_FALSE(MenuState.DialogOpen);
}

TEST_F(PowerDialogTest, ARequestWhileTheDialogIsUpIsIgnored)
{
    int dialogs = 0;
    RunWith(RunShutDownDialog, [&](HWND dialog) {
        // A second request (the taskbar's shut-down message, say) while this one runs.
        RunLogOffDialog();
        for (HWND w = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); w;
             w = FindWindowExW(nullptr, w, L"#32770", nullptr))
            dialogs += IsDialogOfThisProcess(w) && GetDlgItem(w, IDC_POWER_TITLE) != nullptr;
        SendMessageW(dialog, WM_HOTKEY, 3, 0);
    });
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(Calls, (std::vector<std::wstring>{L"privilege", L"end-session 0x5 0x80020003"}));
}

RECT ClientRectOf(HWND dialog, int id)
{
    RECT r{};
    GetWindowRect(GetDlgItem(dialog, id), &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&r), 2);
    return r;
}

bool Same(const RECT &r, const TPowerRect &p)
{
    return r.left == p.left && r.top == p.top && r.right == p.right && r.bottom == p.bottom;
}

std::wstring TextOf(HWND dialog, int id)
{
    wchar_t text[64] = {};
    GetDlgItemTextW(dialog, id, text, 64);
    return text;
}

// The portable layout is tested by itself; this is the dialog that the program builds from it.
TEST_F(PowerDialogTest, TheDialogIsBuiltAsLaidOutOnTheNearestMonitor)
{
    struct Case {
        void (*request)();
        TPowerDialog kind;
        const wchar_t *title;
        std::vector<std::wstring> labels;
    } cases[] = {
        {RunShutDownDialog, TPowerDialog::ShutDown, L"Shut Down Windows",
         {L"Hibernate", L"Sleep", L"Shut Down", L"Restart"}},
        {RunLogOffDialog, TPowerDialog::LogOff, L"Log Off", {L"Switch User", L"Log Off"}},
    };
    for (const Case &c : cases) {
        RunWith(c.request, [&](HWND dialog) {
            MONITORINFO monitor{};
            monitor.cbSize = sizeof monitor;
            GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor);
            const RECT &m = monitor.rcMonitor;
            RECT window{};
            GetWindowRect(dialog, &window);
            EXPECT_TRUE(Same(window, PlacePowerDialog({m.left, m.top, m.right, m.bottom}, 96)));
            RECT client{};
            GetClientRect(dialog, &client);
            const RECT cancel = ClientRectOf(dialog, IDCANCEL);
            HDC dc = GetDC(dialog);
            const TPowerLayout layout = LayoutPowerDialog(
                c.kind, {0, 0, client.right, client.bottom}, cancel.right - cancel.left,
                cancel.bottom - cancel.top, GetDeviceCaps(dc, LOGPIXELSY));
            ReleaseDC(dialog, dc);
            EXPECT_TRUE(Same(cancel, layout.cancel));
            EXPECT_EQ(TextOf(dialog, IDCANCEL), L"Cancel");
            EXPECT_TRUE(Same(ClientRectOf(dialog, IDC_POWER_TITLE), layout.title));
            EXPECT_EQ(TextOf(dialog, IDC_POWER_TITLE), c.title);
            const auto choices = PowerChoices(c.kind);
            ASSERT_EQ(choices.size(), c.labels.size());
            for (size_t i = 0; i < choices.size(); ++i) {
                const int id = choices[i].command;
                wchar_t name[32] = {};
                GetClassNameW(GetDlgItem(dialog, id), name, 32);
                EXPECT_STREQ(name, kIconButtonClass) << id;
                EXPECT_TRUE(Same(ClientRectOf(dialog, id), layout.buttons[i])) << id;
                EXPECT_TRUE(Same(ClientRectOf(dialog, id + 100), layout.labels[i])) << id;
                EXPECT_EQ(TextOf(dialog, id + 100), c.labels[i]);
                wchar_t twin[32] = {};
                GetWindowTextW(KeyboardTwin(dialog, id), twin, 32);
                EXPECT_EQ(std::wstring(twin), c.labels[i]);
            }
            SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        EXPECT_TRUE(Acted);
    }
}

TEST_F(PowerDialogTest, CloseToTheMainWindowWithoutTheExitFlagOpensTheShutDownDialog)
{
    MenuState.Exiting = false;
    bool shutDownDialog = false;
    RunWith([] { MainWindowProc(MainWindow, WM_CLOSE, 0, 0); }, [&](HWND dialog) {
        shutDownDialog = GetDlgItem(dialog, IDC_POWER_HIBERNATE) != nullptr &&
                         GetDlgItem(dialog, IDC_POWER_RESTART) != nullptr;
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_TRUE(shutDownDialog);
}

// ---- The shell's own dialog (ClassicExit off) ----

std::wstring TestFolder()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    *wcsrchr(path, L'\\') = 0;
    return path;
}

INT_PTR CALLBACK DecoyProc(HWND, UINT message, WPARAM, LPARAM)
{
    if (message == WM_COMMAND)
        Calls.push_back(L"decoy got a command");
    return message == WM_COMMAND;
}

// The stand-in shell, started for one test and ended after it.
class ShellDialogTest : public PowerDialogTest {
protected:
    void SetUp() override
    {
        PowerDialogTest::SetUp();
        Settings.ClassicExit = false;
        log_ = TestFolder() + L"\\power_shell.log";
        DeleteFileW(log_.c_str());
        std::wstring command = L"\"" + TestFolder() + L"\\shell_standin.exe\" --log \"" + log_ + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &shell_));
        Deadline deadline(kHangGuardMs);
        ASSERT_TRUE(deadline.PumpUntil([&] { return ShellTaskbar() != nullptr; }))
            << "the stand-in shell did not come up";
    }
    void TearDown() override
    {
        if (shell_.hProcess) {
            TerminateProcess(shell_.hProcess, 0);
            WaitForSingleObject(shell_.hProcess, kHangGuardMs);
            CloseHandle(shell_.hProcess);
            CloseHandle(shell_.hThread);
        }
        PowerDialogTest::TearDown();
    }

    HWND ShellTaskbar() const
    {
        HWND taskbar = FindWindowW(kTaskbarClass, nullptr);
        DWORD process = 0;
        GetWindowThreadProcessId(taskbar, &process);
        return process == shell_.dwProcessId ? taskbar : nullptr;
    }
    HWND ShellDialog() const { return FindWindowW(L"#32770", kShutDownDialogTitle) ; }
    std::string Log() const
    {
        std::ifstream file(log_.c_str());
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    std::wstring log_;
    PROCESS_INFORMATION shell_{};
};

int Selection(HWND dialog)
{
    return int(SendDlgItemMessageW(dialog, kShutDownDialogCombo, CB_GETCURSEL, 0, 0));
}

TEST_F(ShellDialogTest, TheEntryIsPreselectedOnlyInTheShellsDialog)
{
    struct Case {
        void (*request)();
        int entry;
    } cases[] = {{RunLogOffDialog, 1}, {RunShutDownDialog, 5}};
    for (const Case &c : cases) {
        // The decoy is newer, so it comes first among the "#32770" windows.
        HWND decoy = CreateShutDownDialogStandIn(DecoyProc, 10, 10);
        ASSERT_NE(decoy, nullptr);
        PowerSeam.ShowShellShutDownDialog = ShellDialogOfStandIn;
        Calls.clear();
        c.request();
        EXPECT_EQ(Calls, std::vector<std::wstring>{L"shell-dialog"}) << "the decoy got nothing";
        EXPECT_EQ(Selection(decoy), 0);
        // The shell's dialog got the entry and was told of the change.
        const std::string told = "shutdown-dialog 273 " +
                                 std::to_string(MAKEWPARAM(kShutDownDialogCombo, CBN_SELCHANGE)) +
                                 " " + std::to_string(c.entry);
        EXPECT_NE(Log().find(told), std::string::npos) << Log();
        DestroyWindow(decoy);
    }
}

TEST_F(ShellDialogTest, AFailedAutomationCallLooksForNoDialog)
{
    PostMessageW(ShellTaskbar(), kStandinShowShutDownDialog, 0, 0);
    Deadline deadline(kHangGuardMs);
    ASSERT_TRUE(deadline.PumpUntil([&] { return ShellDialog() != nullptr; }));
    // A dialog is there to be found, yet nothing was shown by the call: it is left alone.
    PowerSeam.ShowShellShutDownDialog = ShellDialogFails;
    Calls.clear();
    RunLogOffDialog();
    EXPECT_EQ(Calls, std::vector<std::wstring>{L"shell-dialog"});
    EXPECT_EQ(Selection(ShellDialog()), 0);
    EXPECT_EQ(Log().find("shutdown-dialog"), std::string::npos);
}

// ---- The effect dialogs ----

int LayerAlpha(HWND dialog)
{
    BYTE alpha = 0;
    DWORD flags = 0;
    GetLayeredWindowAttributes(dialog, nullptr, &alpha, &flags);
    return alpha;
}

// The text shows once the fade has made the window opaque.
bool WaitUntilOpaque(HWND dialog)
{
    Deadline deadline(kHangGuardMs);
    return deadline.PumpUntil([&] { return IsWindow(dialog) && LayerAlpha(dialog) == 255; });
}

const UINT kEndingInput[] = {WM_KEYDOWN,     WM_CHAR,        WM_COMMAND,    WM_LBUTTONDOWN,
                             WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_MOUSEWHEEL, WM_KILLFOCUS};

TEST(EffectDialogs, TheMainWindowAnswersWithTheDialogWhichIgnoresInputBeforeItsTextShows)
{
    for (UINT message : {UINT(UM_EFFECT_DIALOG_1), UINT(UM_EFFECT_DIALOG_2)}) {
        HWND dialog = reinterpret_cast<HWND>(MainWindowProc(MainWindow, message, 0, 0));
        ASSERT_TRUE(IsWindow(dialog)) << message;
        EXPECT_TRUE(IsDialogOfThisProcess(dialog));
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), MainWindow);
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_EQ(GetDlgItem(dialog, IDOK), nullptr);
        RECT r{};
        GetWindowRect(dialog, &r);
        EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXSCREEN));
        EXPECT_EQ(r.bottom - r.top, GetSystemMetrics(SM_CYSCREEN));
        ASSERT_LT(LayerAlpha(dialog), 255) << "the fade has only begun";
        for (UINT input : kEndingInput)
            SendMessageW(dialog, input, 0, 0);
        SendMessageW(dialog, WM_ACTIVATE, WA_INACTIVE, 0);
        EXPECT_TRUE(IsWindow(dialog)) << "input before the text shows is ignored";
        ASSERT_TRUE(WaitUntilOpaque(dialog));
        SendMessageW(dialog, WM_KEYDOWN, VK_SPACE, 0);
        if (message == UM_EFFECT_DIALOG_2) {
            EXPECT_FALSE(IsWindow(dialog)) << "the second one ends at once";
        } else {
            EXPECT_TRUE(IsWindow(dialog)) << "the first one fades out first";
            Deadline deadline(kHangGuardMs);
            EXPECT_TRUE(deadline.PumpUntil([&] { return !IsWindow(dialog); }));
        }
    }
}

TEST(EffectDialogs, AnyOfTheEndingInputsEndsTheShownText)
{
    for (UINT input : kEndingInput) {
        HWND dialog = OpenEffectDialog(MainWindow, 2);
        ASSERT_TRUE(WaitUntilOpaque(dialog));
        SendMessageW(dialog, input, 0, 0);
        EXPECT_FALSE(IsWindow(dialog)) << "message " << input;
        if (IsWindow(dialog))
            DestroyWindow(dialog);
    }
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
