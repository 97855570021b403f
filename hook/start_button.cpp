// The start button: a layered window owned by the shell's taskbar, placed at the start of
// the task list, which is narrowed to make room.  Everything here runs on the taskbar's
// thread inside the shell.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "common/messages.h"
#include "hook/button_state.h"

enum ButtonTimer : UINT_PTR {
    kHoverInTimer = 1,
    kHoverOutTimer = 2,
    kDragRestTimer = 3,
    kEdgeWindowTimer = 10,
    kFullScreenTimer = 11,
};

static constexpr UINT kHoverStepMs = 20;
static constexpr UINT kDragRestMs = 500;
static constexpr UINT kEdgeWindowMs = 1000;
static constexpr UINT kFullScreenMs = 2000;
static constexpr int kLastHoverStep = kHoverFrame;
static constexpr UINT_PTR kSubclassId = 0x54565241;
static constexpr DWORD_PTR kSubclassData = 1;
static constexpr wchar_t kTooltipText[] = L"Orvella";

static RECT ToRect(const BoxRect &r)
{
    return {r.left, r.top, r.right, r.bottom};
}

static BoxRect ToBox(const RECT &r)
{
    return {r.left, r.top, r.right, r.bottom};
}

static int TaskbarEdge()
{
    APPBARDATA data{};
    data.cbSize = sizeof(data);
    if (!SHAppBarMessage(ABM_GETTASKBARPOS, &data))
        return kEdgeBottom;
    return static_cast<int>(data.uEdge);
}

static BoxRect WindowBox(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return ToBox(r);
}

// A child's rectangle in its parent's coordinates.
static RECT ChildRect(HWND child)
{
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT *>(&r), 2);
    return r;
}

static void Repaint(HWND button)
{
    InvalidateRect(button, nullptr, FALSE);
}

// Owned by the taskbar, the button must stay above it whatever the taskbar does.
static void BringButtonToTop()
{
    if (ButtonState.Button)
        SetWindowPos(ButtonState.Button, HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

// A window other than the desktop covering its whole monitor: a video or a game.
static bool FullScreenWindowInFront()
{
    HWND front = GetForegroundWindow();
    if (!front || front == GetDesktopWindow() || front == GetShellWindow())
        return false;
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(MonitorFromWindow(front, MONITOR_DEFAULTTONEAREST), &info))
        return false;
    RECT r{};
    if (!GetWindowRect(front, &r))
        return false;
    return EqualRect(&r, &info.rcMonitor) != FALSE;
}

// Shown without activation: the button must never take the focus from the user's window.
// Hiding the button can activate the taskbar, whose position change asks for the button
// again; that nested request is ignored, or the window ends up marked visible but unmapped.
// A layered window shown again may have lost its picture (and, transparent, would let
// clicks through), so it is drawn afresh.
static void SetButtonVisible(HWND button, bool visible)
{
    if (ButtonState.ChangingVisibility || (IsWindowVisible(button) != FALSE) == visible)
        return;
    ButtonState.ChangingVisibility = true;
    ShowWindow(button, visible ? SW_SHOWNA : SW_HIDE);
    ButtonState.ChangingVisibility = false;
    if (visible)
        Repaint(button);
}

static void ShowUnlessFullScreen(HWND button)
{
    SetButtonVisible(button, !FullScreenWindowInFront());
}

// Puts the button at `rect`, or 10000 pixels away while the taskbar is hidden.
static void PlaceButton(HWND button, BoxRect rect, const BoxRect &taskList)
{
    const int edge = TaskbarEdge();
    bool onScreen = false;
    if (ButtonState.Taskbar && IsWindowVisible(ButtonState.Taskbar)) {
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        HMONITOR monitor = MonitorFromWindow(ButtonState.Taskbar, MONITOR_DEFAULTTONEAREST);
        if (GetMonitorInfoW(monitor, &info))
            onScreen = TaskListOnScreen(edge, taskList, ToBox(info.rcMonitor));
    }
    if (!onScreen)
        rect = MovedOffScreen(edge, rect);
    PostMessageW(button, onScreen ? UM_BUTTON_TASKBAR_SHOWN : UM_BUTTON_TASKBAR_HIDDEN, 0, 0);
    SetWindowPos(button, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ShowUnlessFullScreen(button);
}

// The taskbar slides (auto-hide) without changing size: the button goes along.
static void OnTaskbarPosChanging(const WINDOWPOS *pos)
{
    HWND button = ButtonState.Button;
    if (!button || !pos)
        return;
    ShowUnlessFullScreen(button);
    if (pos->flags != (SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) || !ButtonState.TaskList)
        return;
    const BoxRect slid = TaskListAtCorner(WindowBox(ButtonState.TaskList), {pos->x, pos->y});
    const BoxRect rect =
        ButtonFollowingSlide(TaskbarEdge(), WindowBox(button), slid, ButtonState.ButtonSize);
    PlaceButton(button, rect, slid);
}

static LRESULT CALLBACK TaskbarSubclassProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam, UINT_PTR id, DWORD_PTR)
{
    switch (message) {
    case TASKBAR_SHUTDOWN_REQUEST:
        CloseMainWindow();
        return 0;
    case WM_WINDOWPOSCHANGING:
        OnTaskbarPosChanging(reinterpret_cast<const WINDOWPOS *>(lParam));
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, TaskbarSubclassProc, id);
        return DefSubclassProc(window, message, wParam, lParam);
    }
    LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    BringButtonToTop();
    return result;
}

// The taskbar lays out its task list without knowing about the button: remember where it
// wants the list, give it that place minus the button's room, and put the button there.
// Parts of the request that the flags leave out are what the taskbar last asked for.
static void OnTaskListPosChanging(HWND taskList, WINDOWPOS *pos)
{
    HWND button = ButtonState.Button;
    if (!button || !pos || (pos->flags & (SWP_NOMOVE | SWP_NOSIZE)) == (SWP_NOMOVE | SWP_NOSIZE))
        return;
    RECT known = ButtonState.HaveSavedTaskList ? ButtonState.SavedTaskList : ChildRect(taskList);
    if (pos->flags & SWP_NOMOVE) {
        pos->x = known.left;
        pos->y = known.top;
    }
    if (pos->flags & SWP_NOSIZE) {
        pos->cx = known.right - known.left;
        pos->cy = known.bottom - known.top;
    }
    pos->flags &= ~(SWP_NOMOVE | SWP_NOSIZE);

    const BoxRect wanted{pos->x, pos->y, pos->x + pos->cx, pos->y + pos->cy};
    ButtonState.SavedTaskList = ToRect(wanted);
    ButtonState.HaveSavedTaskList = true;

    const int edge = TaskbarEdge();
    const int size = ButtonState.ButtonSize;
    const BoxRect room = TaskListWithRoom(edge, wanted, size);
    pos->x = room.left;
    pos->y = room.top;
    pos->cx = room.Width();
    pos->cy = room.Height();

    const BoxPoint at = ButtonCorner(edge, wanted, size);
    POINT corner{at.x, at.y};
    MapWindowPoints(GetParent(taskList), nullptr, &corner, 1);
    SetWindowPos(button, nullptr, corner.x, corner.y, size, size, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(button, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ShowUnlessFullScreen(button);
    PlaceButton(button, WindowBox(button), WindowBox(taskList));
}

static LRESULT CALLBACK TaskListSubclassProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam, UINT_PTR id, DWORD_PTR)
{
    switch (message) {
    case WM_WINDOWPOSCHANGING:
        OnTaskListPosChanging(window, reinterpret_cast<WINDOWPOS *>(lParam));
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, TaskListSubclassProc, id);
        break;
    default:
        BringButtonToTop();
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

static LRESULT OnButtonCreate(HWND button)
{
    ButtonState.Button = button;
    LoadButtonImages();
    if (ButtonState.Taskbar)
        SetWindowSubclass(ButtonState.Taskbar, TaskbarSubclassProc, kSubclassId, kSubclassData);
    if (ButtonState.TaskList)
        SetWindowSubclass(ButtonState.TaskList, TaskListSubclassProc, kSubclassId, kSubclassData);
    ButtonState.DropTarget = CreateButtonDropTarget(button);
    if (ButtonState.DropTarget)
        RegisterDragDrop(button, ButtonState.DropTarget);
    SetTimer(button, kEdgeWindowTimer, kEdgeWindowMs, nullptr);
    SetTimer(button, kFullScreenTimer, kFullScreenMs, nullptr);
    return 0;
}

static void OnButtonDestroy(HWND button)
{
    DeleteButtonPictures();
    if (ButtonState.TaskList)
        RemoveWindowSubclass(ButtonState.TaskList, TaskListSubclassProc, kSubclassId);
    if (ButtonState.Taskbar)
        RemoveWindowSubclass(ButtonState.Taskbar, TaskbarSubclassProc, kSubclassId);
    if (ButtonState.DropTarget) {
        RevokeDragDrop(button);
        ButtonState.DropTarget->Release();
        ButtonState.DropTarget = nullptr;
    }
    DisconnectButtonAccessible();
    ButtonState.Button = nullptr;
    ButtonState.Tracking = false;
    ButtonState.HoverStep = 0;
    ButtonState.Pushed = false;
}

static void OnButtonTimer(HWND button, UINT_PTR timer)
{
    switch (timer) {
    case kHoverInTimer:
        if (ButtonState.HoverStep >= kLastHoverStep) {
            KillTimer(button, kHoverInTimer);
        } else {
            ++ButtonState.HoverStep;
            Repaint(button);
        }
        break;
    case kHoverOutTimer:
        if (ButtonState.HoverStep <= 0) {
            KillTimer(button, kHoverOutTimer);
        } else {
            --ButtonState.HoverStep;
            Repaint(button);
        }
        break;
    case kDragRestTimer:
        KillTimer(button, kDragRestTimer);
        PostToMainWindow(UM_TOGGLE_MENU);
        break;
    case kEdgeWindowTimer:
        RememberEdgeWindow();
        break;
    case kFullScreenTimer:
        ShowUnlessFullScreen(button);
        break;
    }
}

static void StartHoverFade(HWND button, bool tracking, UINT_PTR timer)
{
    ButtonState.Tracking = tracking;
    KillTimer(button, kHoverInTimer);
    KillTimer(button, kHoverOutTimer);
    SetTimer(button, timer, kHoverStepMs, nullptr);
}

static void OnButtonMouseMove(HWND button)
{
    if (ButtonState.Tracking)
        return;
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = button;
    TrackMouseEvent(&track);
    StartHoverFade(button, true, kHoverInTimer);
}

static void OnButtonMouseLeave(HWND button)
{
    if (ButtonState.Tracking)
        StartHoverFade(button, false, kHoverOutTimer);
}

static void OnButtonClick(UINT request)
{
    if (!ButtonState.Enabled)
        return;
    BringButtonToTop();
    PostToMainWindow(request);
    BringButtonToTop();
}

static void SetFlagAndRepaint(HWND button, bool &flag, bool value)
{
    if (flag == value)
        return;
    flag = value;
    Repaint(button);
}

static void OnButtonEnable(HWND button, bool enable)
{
    SetButtonVisible(button, enable);
    ButtonState.Enabled = enable;
}

static LRESULT CALLBACK StartButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnButtonCreate(button);
    case WM_DESTROY:
        OnButtonDestroy(button);
        return 0;
    case WM_PAINT:
        PaintButton(button);
        return 0;
    case WM_CLOSE:
        CloseMainWindow();
        return 0;
    case WM_TIMER:
        OnButtonTimer(button, wParam);
        return 0;
    case WM_MOUSEMOVE:
        OnButtonMouseMove(button);
        return 1;
    case WM_MOUSELEAVE:
        OnButtonMouseLeave(button);
        return 1;
    case WM_MOUSEACTIVATE:
        // A click must leave the user's window active; an active button, once hidden,
        // would also hand the activation to the taskbar, which shows it again.
        return MA_NOACTIVATE;
    case WM_LBUTTONDOWN:
        OnButtonClick(UM_TOGGLE_MENU);
        return 1;
    case WM_RBUTTONDOWN:
        OnButtonClick(UM_BUTTON_CONTEXT_MENU);
        return 1;
    case UM_BUTTON_DRAG_MOVE:
        return 0;
    case UM_BUTTON_DRAG_ENTER:
        return SetTimer(button, kDragRestTimer, kDragRestMs, nullptr);
    case UM_BUTTON_DRAG_LEAVE:
        KillTimer(button, kDragRestTimer);
        return 0;
    case UM_BUTTON_PUSHED:
        SetFlagAndRepaint(button, ButtonState.Pushed, true);
        return 0;
    case UM_BUTTON_RELEASED:
        SetFlagAndRepaint(button, ButtonState.Pushed, false);
        return 0;
    case UM_BUTTON_TASKBAR_SHOWN:
        SetFlagAndRepaint(button, ButtonState.TaskbarShown, true);
        return 0;
    case UM_BUTTON_TASKBAR_HIDDEN:
        SetFlagAndRepaint(button, ButtonState.TaskbarShown, false);
        return 0;
    case UM_BUTTON_ENABLE:
        OnButtonEnable(button, wParam != 0);
        return 0;
    case WM_GETOBJECT:
        return OnButtonGetObject(button, wParam, lParam);
    }
    return DefWindowProcW(button, message, wParam, lParam);
}

static HINSTANCE ShellInstance()
{
    return GetModuleHandleW(nullptr);
}

static bool RegisterButtonClass()
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_GLOBALCLASS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = StartButtonProc;
    wc.hInstance = ShellInstance();
    wc.hIcon = LoadIconW(ShellInstance(), MAKEINTRESOURCEW(1));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kStartButtonClass;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

static void CreateButtonTooltip(HWND button)
{
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    HWND tip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, button,
                               nullptr, ShellInstance(), nullptr);
    if (!tip)
        return;
    TTTOOLINFOW tool{};
    // The older size, understood by both versions of the common controls the shell may load.
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_CENTERTIP | TTF_SUBCLASS;
    tool.hwnd = button;
    tool.uId = reinterpret_cast<UINT_PTR>(button);
    tool.lpszText = const_cast<wchar_t *>(kTooltipText);
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

// Once a button exists, its window and subclass procedures live in this library: keep the
// library in the shell even if the main program goes away without removing the button.
static void KeepLibraryLoaded()
{
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&StartButtonProc), &self);
}

void CreateStartButton(HWND taskbar)
{
    HWND rebar = FindWindowExW(taskbar, nullptr, kRebarClass, nullptr);
    HWND taskList = rebar ? FindWindowExW(rebar, nullptr, kTaskListClass, nullptr) : nullptr;
    if (!taskList || !RegisterButtonClass())
        return;
    KeepLibraryLoaded();

    const RECT before = ChildRect(taskList);
    ButtonState.SavedTaskList = before;
    ButtonState.HaveSavedTaskList = true;
    ButtonState.Taskbar = taskbar;
    ButtonState.TaskList = taskList;

    const int edge = TaskbarEdge();
    const int size = ButtonState.ButtonSize;
    const RECT room = ToRect(TaskListWithRoom(edge, ToBox(before), size));
    SetWindowPos(taskList, nullptr, room.left, room.top, room.right - room.left,
                 room.bottom - room.top, SWP_NOZORDER | SWP_NOACTIVATE);

    const BoxPoint at = ButtonCorner(edge, ToBox(before), size);
    POINT corner{at.x, at.y};
    MapWindowPoints(rebar, nullptr, &corner, 1);
    HWND button = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
                                  kStartButtonClass, L"MyStartButton", WS_POPUP, corner.x,
                                  corner.y, size, size, taskbar, nullptr, ShellInstance(), nullptr);
    if (!button) {
        // No button: the task list gets its room back.
        SetWindowPos(taskList, nullptr, before.left, before.top, before.right - before.left,
                     before.bottom - before.top, SWP_NOZORDER | SWP_NOACTIVATE);
        UnregisterClassW(kStartButtonClass, ShellInstance());
        return;
    }
    SetWindowPos(button, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    Repaint(button);
    PlaceButton(button, WindowBox(button), WindowBox(taskList));
    CreateButtonTooltip(button);
}

void RemoveStartButton()
{
    if (HWND button = FindWindowW(kStartButtonClass, nullptr)) {
        DWORD process = 0;
        GetWindowThreadProcessId(button, &process);
        if (process == GetCurrentProcessId())
            DestroyWindow(button);
    }
    UnregisterClassW(kStartButtonClass, ShellInstance());
    if (ButtonState.HaveSavedTaskList && ButtonState.TaskList && IsWindow(ButtonState.TaskList)) {
        const RECT &r = ButtonState.SavedTaskList;
        SetWindowPos(ButtonState.TaskList, nullptr, r.left, r.top, r.right - r.left,
                     r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ButtonState.HaveSavedTaskList = false;
    ButtonState.Taskbar = nullptr;
    ButtonState.TaskList = nullptr;
}
