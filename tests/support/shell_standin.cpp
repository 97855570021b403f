// A stand-in for the Windows 8 shell, for tests only: the taskbar windows the start menu
// relies on, the edge panel window, the desktop shell window on its own thread, the
// "TaskbarCreated" broadcast and the Windows key turned into SC_TASKLIST on the taskbar.
// Every message of interest that its windows receive is appended to a log file, so that
// tests can see what reached the shell.  Posted kStandinShowShutDownDialog, it opens a
// dialog like the shell's shut-down dialog and logs "shutdown-dialog" with the selection
// for every command that dialog gets.
//
//   shell_standin.exe [--height N] [--log FILE]
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "common/messages.h"
#include "test_program.h"

namespace {

constexpr int kDefaultTaskbarHeight = 40;
constexpr int kTaskListLeft = 4;          // the task list starts near the left edge
constexpr int kNotificationAreaWidth = 160;
constexpr int kEdgeWindowSize = 8;
constexpr COLORREF kTaskbarColour = RGB(32, 40, 56);
constexpr COLORREF kTaskListColour = RGB(48, 60, 84);

const wchar_t *g_logPath = nullptr;
HWND g_taskbar = nullptr;

void LogLine(const wchar_t *role, UINT message, WPARAM wParam, LPARAM lParam)
{
    AppendLogLine(g_logPath, role, message, wParam, lParam);
}

bool IsLoggedMessage(UINT message)
{
    return message >= WM_USER || message == WM_SYSCOMMAND || message == WM_LBUTTONDOWN ||
           message == WM_RBUTTONDOWN || message == WM_MOUSEMOVE || message == WM_CLOSE;
}

void PaintSolid(HWND window, COLORREF colour)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &ps.rcPaint, brush);
    DeleteObject(brush);
    EndPaint(window, &ps);
}

INT_PTR CALLBACK ShutDownDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message != WM_COMMAND)
        return FALSE;
    const LRESULT selection =
        SendDlgItemMessageW(dialog, kShutDownDialogCombo, CB_GETCURSEL, 0, 0);
    LogLine(L"shutdown-dialog", message, wParam, selection);
    return TRUE;
}

LRESULT CALLBACK TaskbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (IsLoggedMessage(message))
        LogLine(L"taskbar", message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
        PaintSolid(window, kTaskbarColour);
        return 0;
    case WM_SYSCOMMAND:
        // What reaches this point would open the system's Start screen.
        if ((wParam & 0xFFF0) == SC_TASKLIST) {
            LogLine(L"start-screen", message, wParam, lParam);
            return 0;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case kStandinShowShutDownDialog:
        CreateShutDownDialogStandIn(ShutDownDialogProc, 40, 40);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK RebarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PaintSolid(window, kTaskbarColour);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK TaskListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (IsLoggedMessage(message))
        LogLine(L"tasklist", message, wParam, lParam);
    if (message == WM_WINDOWPOSCHANGED) {
        RECT r;
        GetWindowRect(window, &r);
        LogLine(L"tasklist-moved", message, static_cast<WPARAM>(r.left), r.right);
    }
    if (message == WM_PAINT) {
        PaintSolid(window, kTaskListColour);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK EdgeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (IsLoggedMessage(message))
        LogLine(L"edge", message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK DesktopShellProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (IsLoggedMessage(message))
        LogLine(L"desktopshell", message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterStandinClass(const wchar_t *name, WNDPROC proc, HCURSOR cursor)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = cursor;
    wc.lpszClassName = name;
    RegisterClassW(&wc);
}

// The shell's edge panels and its desktop shell window live on a thread of their own.
DWORD WINAPI DesktopShellThread(void *)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    CreateWindowExW(WS_EX_TOOLWINDOW, kDesktopShellWindowClass, L"", WS_POPUP, 0, 0, 1, 1, nullptr,
                    nullptr, instance, nullptr);
    CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kEdgeWindowClass, L"", WS_POPUP | WS_VISIBLE, 0,
                    0, kEdgeWindowSize, kEdgeWindowSize, nullptr, nullptr, instance, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}

// The real shell turns a press of a Windows key into SC_TASKLIST posted to its taskbar.
LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && (wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN)) {
        const auto *key = reinterpret_cast<const KBDLLHOOKSTRUCT *>(lParam);
        if (key->vkCode == VK_LWIN || key->vkCode == VK_RWIN) {
            LogLine(L"winkey-down", static_cast<UINT>(key->vkCode), 0, 0);
            PostMessageW(g_taskbar, WM_SYSCOMMAND, SC_TASKLIST, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

int ParseHeight(int argc, wchar_t **argv)
{
    const wchar_t *height = CommandOption(argc, argv, L"--height");
    return height ? _wtoi(height) : kDefaultTaskbarHeight;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    int height = ParseHeight(argc, argv);
    g_logPath = CommandOption(argc, argv, L"--log");

    HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    RegisterStandinClass(kTaskbarClass, TaskbarProc, arrow);
    RegisterStandinClass(kRebarClass, RebarProc, arrow);
    RegisterStandinClass(kTaskListClass, TaskListProc, arrow);
    RegisterStandinClass(kEdgeWindowClass, EdgeProc, arrow);
    RegisterStandinClass(kDesktopShellWindowClass, DesktopShellProc, arrow);

    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    // Top-most, so that FindWindow finds it before Wine's own hidden tray window.
    g_taskbar = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kTaskbarClass, L"",
                                WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, screenHeight - height,
                                screenWidth, height, nullptr, nullptr, instance, nullptr);
    HWND rebar = CreateWindowExW(0, kRebarClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                 screenWidth - kNotificationAreaWidth, height, g_taskbar, nullptr,
                                 instance, nullptr);
    CreateWindowExW(0, kTaskListClass, L"", WS_CHILD | WS_VISIBLE, kTaskListLeft, 0,
                    screenWidth - kNotificationAreaWidth - kTaskListLeft, height, rebar, nullptr,
                    instance, nullptr);

    HANDLE thread = CreateThread(nullptr, 0, DesktopShellThread, nullptr, 0, nullptr);
    HHOOK keyboardHook = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHook, instance, 0);

    // Wait until the desktop shell thread's windows exist before telling anyone.
    for (int i = 0; i < 100 && !FindWindowW(kEdgeWindowClass, nullptr); ++i)
        Sleep(20);
    PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(kTaskbarCreatedMessage), 0, 0);
    LogLine(L"ready", 0, GetCurrentProcessId(), reinterpret_cast<LPARAM>(g_taskbar));

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }

    if (keyboardHook)
        UnhookWindowsHookEx(keyboardHook);
    if (thread)
        CloseHandle(thread);
    LocalFree(argv);
    return 0;
}
