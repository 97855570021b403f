// The two hook procedures the main program installs.  They run inside other programs'
// processes on every message those read, so they look at the message number first, act
// only on the few they know, never allocate and never throw.
#include <windows.h>

#include <cwchar>

#include "common/messages.h"
#include "hook/button_state.h"

TButtonState ButtonState;

// Longest class name compared; longer names cannot match ours anyway.
static constexpr int kClassNameCapacity = 256;
// The main window answers the DPI at once; a hung main program must not freeze the shell.
static constexpr UINT kDpiQueryTimeoutMs = 2000;

bool IsWindowOfClass(HWND window, const wchar_t *className)
{
    if (!window)
        return false;
    wchar_t name[kClassNameCapacity];
    if (GetClassNameW(window, name, kClassNameCapacity) == 0)
        return false;
    return wcscmp(name, className) == 0;
}

void PostToMainWindow(UINT message)
{
    if (HWND main = FindWindowW(kMainWindowClass, nullptr))
        PostMessageW(main, message, 0, 0);
}

// The main program answers WM_CLOSE from the shell with its shut-down dialog, which must
// come to the front.
void CloseMainWindow()
{
    HWND main = FindWindowW(kMainWindowClass, nullptr);
    if (!main)
        return;
    SetForegroundWindow(main);
    PostMessageW(main, WM_CLOSE, 0, 0);
}

bool ShiftIsDown()
{
    return GetKeyState(VK_SHIFT) < 0;
}

// Shift pressed while a Windows key is held: the user wants the system's own Start screen,
// which the button's default window procedure opens for a marked SC_TASKLIST.
static void OnShiftDown()
{
    if (GetKeyState(VK_LWIN) >= 0 && GetKeyState(VK_RWIN) >= 0)
        return;
    if (HWND button = FindWindowW(kStartButtonClass, nullptr))
        PostMessageW(button, WM_SYSCOMMAND, SC_TASKLIST, kStartScreenMarker);
}

// The Windows key reaches the taskbar as SC_TASKLIST; it opens our menu instead, unless
// the command is marked as ours or Shift is held.  With no main window to open a menu,
// the system's Start screen is better than nothing.
static bool OnTaskListCommand(MSG *msg)
{
    if ((msg->wParam & 0xFFF0) != SC_TASKLIST)
        return false;
    if (msg->lParam == kStartScreenMarker || ShiftIsDown())
        return false;
    HWND main = FindWindowW(kMainWindowClass, nullptr);
    if (!main)
        return false;
    msg->hwnd = nullptr;
    PostMessageW(main, UM_TOGGLE_MENU, 0, 0);
    return true;
}

// The button size follows the main program's DPI; no answer keeps the size we have.
static void UpdateButtonSize()
{
    HWND main = FindWindowW(kMainWindowClass, nullptr);
    if (!main)
        return;
    DWORD_PTR dpi = 0;
    if (!SendMessageTimeoutW(main, UM_GET_DPI, 0, 0, SMTO_ABORTIFHUNG, kDpiQueryTimeoutMs, &dpi))
        return;
    if (int size = ButtonSizeForDpi(static_cast<long long>(dpi)))
        ButtonState.ButtonSize = size;
}

static void OnCreateButtonRequest(HWND window)
{
    if (!IsWindowOfClass(window, kTaskbarClass))
        return;
    UpdateButtonSize();
    if (!FindWindowW(kStartButtonClass, nullptr))
        CreateStartButton(window);
}

static void ExamineMessage(MSG *msg)
{
    switch (msg->message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
        SwallowRememberedEdgeMouse(msg);
        break;
    case WM_KEYDOWN:
        if (msg->wParam == VK_SHIFT)
            OnShiftDown();
        break;
    case WM_SYSCOMMAND:
        OnTaskListCommand(msg);
        break;
    case UM_TASKBAR_REMOVE_BUTTON:
        if (IsWindowOfClass(msg->hwnd, kTaskbarClass))
            RemoveStartButton();
        break;
    case UM_TASKBAR_CREATE_BUTTON:
        OnCreateButtonRequest(msg->hwnd);
        break;
    }
}

// The system ignores a WH_GETMESSAGE hook's result; the next hook still sees the message
// (as changed here), so that other programs' hooks keep working.
extern "C" LRESULT CALLBACK MessageProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (MSG *msg = reinterpret_cast<MSG *>(lParam))
        ExamineMessage(msg);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Hooked on the thread of the shell that owns the edge panels: their mouse messages are
// turned into nothing while the user wants the corners off.
extern "C" LRESULT CALLBACK EdgeMessageProc(int code, WPARAM wParam, LPARAM lParam)
{
    MSG *msg = reinterpret_cast<MSG *>(lParam);
    if (code == HC_ACTION && msg && IsEdgeMouseMessage(msg->message) &&
        SwallowEdgeMouseByClass(msg))
        return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The corners watch's handles go with the library; at process exit (reserved non-null) the
// system closes them itself.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_DETACH && !reserved)
        StopCornersWatch();
    return TRUE;
}
