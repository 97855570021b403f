// A stand-in for the main program's hidden window, for tests of the hook library: it
// answers the DPI question, installs the two hooks from hallet.dll, asks the taskbar for a
// start button, pretends to open and close a menu on 1124 (so the button shows pushed and
// released), renews everything on "TaskbarCreated", and logs what it receives.
//
//   fake_main_window.exe --library PATH [--dpi N] [--log FILE] [--soak N]
//
// WM_CLOSE or 1127 ends it the way the main program ends: the button is removed, then the
// hooks.  With --soak it posts N random messages to the taskbar, the button and the edge
// window, then logs "soak-done"; WM_CLOSE is then ignored for the whole run (random ones
// reach it through the button), and only 1127 ends it.
#include <windows.h>

#include <cstdio>
#include <cstdint>
#include <cwchar>

#include "common/messages.h"
#include "test_program.h"

namespace {

// The real program waits seconds around a shell restart; tests need no such patience.
constexpr DWORD kRestartPauseMs = 200;
constexpr DWORD kButtonGoneTimeoutMs = 5000;
constexpr DWORD kPollMs = 50;

const wchar_t *g_logPath = nullptr;
const wchar_t *g_libraryPath = L"hallet.dll";
int g_dpi = 0;
UINT g_taskbarCreated = 0;
HMODULE g_library = nullptr;
HHOOK g_messageHook = nullptr;
HHOOK g_edgeHook = nullptr;
bool g_menuOpen = false;
int g_soakLeft = 0;
bool g_soaking = false;  // for the whole run once a soak was asked for
uint32_t g_random = 0x2545F491;
DWORD g_shellProcess = 0;

constexpr UINT_PTR kSoakTimer = 1;
constexpr UINT kSoakTickMs = 5;
constexpr int kSoakBatch = 20;
// The last create request carries this, so the test can see in the shell's log that the
// shell has worked through every random message before it.
constexpr WPARAM kSoakEndMarker = 0x50AC;

void LogLine(const wchar_t *what, UINT message, WPARAM wParam, LPARAM lParam)
{
    AppendLogLine(g_logPath, what, message, wParam, lParam);
}

void PostToTaskbar(UINT message)
{
    if (HWND taskbar = FindWindowW(kTaskbarClass, nullptr))
        PostMessageW(taskbar, message, 0, 0);
}

bool InstallHooks()
{
    if (!g_library)
        g_library = LoadLibraryW(g_libraryPath);
    if (!g_library)
        return false;
    auto messageProc = reinterpret_cast<HOOKPROC>(GetProcAddress(g_library, "MessageProc"));
    auto edgeProc = reinterpret_cast<HOOKPROC>(GetProcAddress(g_library, "EdgeMessageProc"));
    if (!messageProc || !edgeProc)
        return false;
    g_messageHook = SetWindowsHookExW(WH_GETMESSAGE, messageProc, g_library, 0);
    if (HWND shell = FindWindowW(kDesktopShellWindowClass, nullptr))
        g_edgeHook = SetWindowsHookExW(WH_GETMESSAGE, edgeProc, g_library,
                                       GetWindowThreadProcessId(shell, nullptr));
    return g_messageHook != nullptr;
}

void RemoveHooks()
{
    if (g_edgeHook)
        UnhookWindowsHookEx(g_edgeHook);
    if (g_messageHook)
        UnhookWindowsHookEx(g_messageHook);
    g_edgeHook = g_messageHook = nullptr;
}

void WaitUntilButtonGone()
{
    for (DWORD waited = 0; waited < kButtonGoneTimeoutMs && FindWindowW(kStartButtonClass, nullptr);
         waited += kPollMs)
        Sleep(kPollMs);
}

void OnTaskbarCreated()
{
    Sleep(kRestartPauseMs);
    PostToTaskbar(UM_TASKBAR_REMOVE_BUTTON);
    Sleep(kRestartPauseMs);
    RemoveHooks();
    InstallHooks();
    PostToTaskbar(UM_TASKBAR_CREATE_BUTTON);
}

void OnToggleMenu()
{
    g_menuOpen = !g_menuOpen;
    if (HWND button = FindWindowW(kStartButtonClass, nullptr))
        PostMessageW(button, g_menuOpen ? UM_BUTTON_PUSHED : UM_BUTTON_RELEASED, 0, 0);
    LogLine(g_menuOpen ? L"menu-open" : L"menu-closed", UM_TOGGLE_MENU, 0, 0);
}

uint32_t Random()
{
    g_random ^= g_random << 13;
    g_random ^= g_random >> 17;
    g_random ^= g_random << 5;
    return g_random;
}

// Messages the hook library and the button act on, plus ordinary input; none carries a
// pointer, since a posted pointer would fault any window, ours or not.
constexpr UINT kSoakMessages[] = {
    UM_TASKBAR_CREATE_BUTTON, UM_TASKBAR_REMOVE_BUTTON, TASKBAR_SHUTDOWN_REQUEST,
    UM_BUTTON_DRAG_MOVE, UM_BUTTON_DRAG_ENTER, UM_BUTTON_DRAG_LEAVE, UM_TOGGLE_MENU,
    UM_BUTTON_CONTEXT_MENU, UM_GET_DPI, UM_EXIT, UM_BUTTON_PUSHED, UM_BUTTON_RELEASED,
    UM_BUTTON_TASKBAR_SHOWN, UM_BUTTON_TASKBAR_HIDDEN, UM_BUTTON_ENABLE,
    WM_SYSCOMMAND, WM_KEYDOWN, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MOUSELEAVE,
    WM_TIMER, WM_CLOSE, WM_NULL,
};

void PostRandomMessage()
{
    const wchar_t *targets[] = {kTaskbarClass, kStartButtonClass, kEdgeWindowClass};
    const wchar_t *targetClass = targets[Random() % 3];
    UINT message = kSoakMessages[Random() % (sizeof kSoakMessages / sizeof kSoakMessages[0])];
    // The shell's own windows close on WM_CLOSE; only the button turns it into a request.
    if (message == WM_CLOSE)
        targetClass = kStartButtonClass;
    HWND target = FindWindowW(targetClass, nullptr);
    // Should the stand-in shell be gone, Wine's own hidden taskbar must not be hit instead.
    DWORD process = 0;
    if (!target || !GetWindowThreadProcessId(target, &process) || process != g_shellProcess)
        return;
    WPARAM wParam = Random();
    LPARAM lParam = static_cast<LPARAM>(Random()) << (Random() % 2 ? 32 : 0) | Random();
    switch (message) {
    case WM_SYSCOMMAND:
        // Only the Windows key's command: others (SC_CLOSE) would end the stand-in shell.
        wParam = SC_TASKLIST;
        lParam = Random() % 2 ? kStartScreenMarker : lParam;
        break;
    case WM_KEYDOWN:
        wParam = VK_SHIFT;
        break;
    case UM_TASKBAR_CREATE_BUTTON:
        wParam = 0;  // never the end marker
        break;
    case WM_TIMER: {
        const WPARAM timers[] = {1, 2, 3, 10, 11, Random()};
        wParam = timers[Random() % 6];
        lParam = 0;  // a timer procedure address
        break;
    }
    case WM_CLOSE:
    case UM_EXIT:
        wParam = lParam = 0;
        break;
    }
    PostMessageW(target, message, wParam, lParam);
}

void OnSoakTimer(HWND window)
{
    for (int i = 0; i < kSoakBatch && g_soakLeft > 0; ++i, --g_soakLeft)
        PostRandomMessage();
    if (g_soakLeft > 0)
        return;
    KillTimer(window, kSoakTimer);
    PostMessageW(FindWindowW(kTaskbarClass, nullptr), UM_TASKBAR_CREATE_BUTTON, kSoakEndMarker, 0);
    LogLine(L"soak-done", 0, 0, 0);
}

LRESULT AnswerDpi()
{
    if (g_dpi > 0)
        return g_dpi;
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_USER || message == WM_CLOSE)
        LogLine(L"main", message, wParam, lParam);
    if (message == g_taskbarCreated && g_taskbarCreated) {
        OnTaskbarCreated();
        return 0;
    }
    switch (message) {
    case UM_GET_DPI:
        return AnswerDpi();
    case UM_TOGGLE_MENU:
        OnToggleMenu();
        return 0;
    case WM_TIMER:
        if (wParam == kSoakTimer)
            OnSoakTimer(window);
        return 0;
    case WM_CLOSE:
        if (!g_soaking)
            DestroyWindow(window);
        return 0;
    case UM_EXIT:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}


}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    g_logPath = CommandOption(argc, argv, L"--log");
    if (const wchar_t *library = CommandOption(argc, argv, L"--library"))
        g_libraryPath = library;
    if (const wchar_t *dpi = CommandOption(argc, argv, L"--dpi"))
        g_dpi = _wtoi(dpi);
    if (const wchar_t *soak = CommandOption(argc, argv, L"--soak"))
        g_soakLeft = _wtoi(soak);
    g_taskbarCreated = RegisterWindowMessageW(kTaskbarCreatedMessage);

    WNDCLASSW wc{};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = instance;
    wc.lpszClassName = kMainWindowClass;
    RegisterClassW(&wc);
    HWND main = CreateWindowExW(0, kMainWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                instance, nullptr);
    if (!main || !InstallHooks()) {
        LogLine(L"error", 0, 0, 0);
        return 1;
    }
    PostToTaskbar(UM_TASKBAR_CREATE_BUTTON);
    LogLine(L"ready", 0, GetCurrentProcessId(), reinterpret_cast<LPARAM>(main));
    if (g_soakLeft > 0) {
        GetWindowThreadProcessId(FindWindowW(kTaskbarClass, nullptr), &g_shellProcess);
        g_soaking = true;
        SetTimer(main, kSoakTimer, kSoakTickMs, nullptr);
    }

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }

    PostToTaskbar(UM_TASKBAR_REMOVE_BUTTON);
    WaitUntilButtonGone();
    RemoveHooks();
    LogLine(L"exited", 0, 0, 0);
    LocalFree(argv);
    return 0;
}
