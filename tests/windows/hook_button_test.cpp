// The hook library loaded into this test process, which plays the shell (a taskbar with its
// rebar and task list, an edge window) and the main program (TVRA_MainWindow answering the
// DPI).  The hook is installed for this thread only, so every message the library acts on
// is one this test posts and pumps itself, with no timer racing the checks.
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>
#include <commctrl.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "common/messages.h"
#include "common/registry_flags.h"
#include "hook/button_state.h"
#include "tests/windows/import_table.h"

namespace {

constexpr int kScreenBottom = 800;
constexpr int kTaskListLeft = 4;
constexpr int kRebarWidth = 1120;

struct Received {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<Received> g_received;
int g_dpi = 96;
WNDPROC g_buttonProc = nullptr;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_USER || message == WM_SYSCOMMAND || message == WM_CLOSE ||
        message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN)
        g_received.push_back({window, message, wParam, lParam});
    if (message == UM_GET_DPI)
        return g_dpi;
    if (message == WM_CLOSE || message == WM_SYSCOMMAND)
        return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

// Sees what the start button's own procedure receives.
LRESULT CALLBACK ButtonSpyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SYSCOMMAND) {
        g_received.push_back({window, message, wParam, lParam});
        return 0;
    }
    return CallWindowProcW(g_buttonProc, window, message, wParam, lParam);
}

// Handles every message already queued for this thread, and those they queue in turn.
void Drain()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// A timer of this thread, set for `ms` when made.  Timers come in the order they fall due
// and after every posted message, so once it has fired every timer of the button that fell
// due before it, and what those posted, has been handled, however slow the machine.
class Deadline {
public:
    explicit Deadline(UINT ms) : id_(SetTimer(nullptr, 0, ms, nullptr)) {}
    ~Deadline() { KillTimer(nullptr, id_); }
    Deadline(const Deadline &) = delete;
    Deadline &operator=(const Deadline &) = delete;

    // Pumps this thread's messages until `done` holds or the deadline has fired; says
    // whether `done` holds.
    template <class Done>
    bool PumpUntil(Done done)
    {
        MSG msg;
        while (!fired_ && !done() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == WM_TIMER && !msg.hwnd && msg.wParam == id_) {
                fired_ = true;
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        // Nothing more is pumped: a timer due after the deadline must not run before the
        // caller's next step.
        return done();
    }

    void Pump()
    {
        PumpUntil([] { return false; });
    }

private:
    UINT_PTR id_;
    bool fired_ = false;
};

// Every timer of the button due within `ms` from now has been handled when this returns.
void PumpTimersDueWithin(UINT ms)
{
    Deadline(ms).Pump();
}

int CountReceived(HWND window, UINT message)
{
    return static_cast<int>(std::count_if(g_received.begin(), g_received.end(),
                                          [&](const Received &r) {
                                              return r.window == window && r.message == message;
                                          }));
}

RECT WindowRectOf(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

std::string Describe(const RECT &r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

int CountButtons()
{
    int count = 0;
    EnumWindows(
        [](HWND window, LPARAM counter) -> BOOL {
            wchar_t name[64];
            if (GetClassNameW(window, name, 64) && wcscmp(name, kStartButtonClass) == 0)
                ++*reinterpret_cast<int *>(counter);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

void SetKey(int key, bool down)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[key] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

void RegisterRecordingClass(const wchar_t *name)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = name;
    RegisterClassW(&wc);
}

class HookLibrary : public ::testing::Environment {
public:
    void SetUp() override
    {
        OleInitialize(nullptr);
        for (const wchar_t *name : {kTaskbarClass, kRebarClass, kTaskListClass, kMainWindowClass,
                                    kEdgeWindowClass})
            RegisterRecordingClass(name);
        library = LoadLibraryW(L"" ORVELLA_IMAGE_DIR "/hallet.dll");
        ASSERT_NE(library, nullptr);
        auto proc = reinterpret_cast<HOOKPROC>(GetProcAddress(library, "MessageProc"));
        ASSERT_NE(proc, nullptr);
        hook = SetWindowsHookExW(WH_GETMESSAGE, proc, library, GetCurrentThreadId());
        ASSERT_NE(hook, nullptr);
        main = CreateWindowExW(0, kMainWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(main);
        UnhookWindowsHookEx(hook);
        OleUninitialize();
    }
    HMODULE library = nullptr;
    HHOOK hook = nullptr;
    HWND main = nullptr;
};

HookLibrary *g_library = static_cast<HookLibrary *>(
    ::testing::AddGlobalTestEnvironment(new HookLibrary));

// A bottom taskbar of the given height with its task list, and the start button the
// library creates in it on 48826.
class StartButton : public ::testing::Test {
protected:
    void MakeTaskbar(int height)
    {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        taskbar = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kTaskbarClass, L"",
                                  WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                                  kScreenBottom - height, 1280, height, nullptr, nullptr,
                                  instance, nullptr);
        rebar = CreateWindowExW(0, kRebarClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, kRebarWidth,
                                height, taskbar, nullptr, instance, nullptr);
        taskList = CreateWindowExW(0, kTaskListClass, L"", WS_CHILD | WS_VISIBLE, kTaskListLeft, 0,
                                   kRebarWidth - kTaskListLeft, height, rebar, nullptr, instance,
                                   nullptr);
        originalTaskList = WindowRectOf(taskList);
    }

    void CreateButton(int height, int dpi = 96)
    {
        g_dpi = dpi;
        MakeTaskbar(height);
        PostMessageW(taskbar, UM_TASKBAR_CREATE_BUTTON, 0, 0);
        Drain();
        button = FindWindowW(kStartButtonClass, nullptr);
        ASSERT_NE(button, nullptr);
        g_received.clear();
    }

    void TearDown() override
    {
        if (taskbar) {
            PostMessageW(taskbar, UM_TASKBAR_REMOVE_BUTTON, 0, 0);
            Drain();
            DestroyWindow(taskbar);
        }
        g_received.clear();
    }

    void Click(UINT message)
    {
        SendMessageW(button, message, MK_LBUTTON, MAKELPARAM(10, 10));
        Drain();
    }

    HWND main() const { return g_library->main; }

    HWND taskbar = nullptr, rebar = nullptr, taskList = nullptr, button = nullptr;
    RECT originalTaskList{};
};

TEST_F(StartButton, SizedByDpiAtTheTaskListStartWhichMovesAside)
{
    struct Case {
        int height, dpi, size;
        RECT button;
    } cases[] = {
        // 40 px: the 48 px button reaches 6 px below the task list.
        {40, 96, 48, {4, 758, 52, 806}},
        // 60 px: centred, 6 above and below.
        {60, 96, 48, {4, 746, 52, 794}},
        {60, 144, 72, {4, 737, 76, 809}},   // larger than the taskbar: 9 px below
        {40, 192, 88, {4, 723, 92, 811}},   // at most 88
        {40, 0, 88, {4, 723, 92, 811}},     // no DPI answer keeps the size it had
    };
    for (const Case &c : cases) {
        CreateButton(c.height, c.dpi);
        SCOPED_TRACE("height " + std::to_string(c.height) + " dpi " + std::to_string(c.dpi));
        EXPECT_EQ(Describe(WindowRectOf(button)), Describe(c.button));
        EXPECT_TRUE(IsWindowVisible(button));
        RECT moved = originalTaskList;
        moved.left += c.size;
        EXPECT_EQ(Describe(WindowRectOf(taskList)), Describe(moved));
        TearDown();
        taskbar = nullptr;
    }
}

TEST_F(StartButton, IsALayeredToolWindowOwnedByTheTaskbar)
{
    CreateButton(40);
    EXPECT_EQ(GetWindow(button, GW_OWNER), taskbar);
    const LONG_PTR exStyle = GetWindowLongPtrW(button, GWL_EXSTYLE);
    EXPECT_EQ(exStyle & (WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST),
              WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    EXPECT_TRUE(GetWindowLongPtrW(button, GWL_STYLE) & WS_POPUP);
    EXPECT_EQ(GetClassLongPtrW(button, GCL_STYLE),
              static_cast<ULONG_PTR>(CS_GLOBALCLASS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW));
    wchar_t text[32] = {};
    GetWindowTextW(button, text, 32);
    EXPECT_STREQ(text, L"MyStartButton");
    EXPECT_EQ(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(button, GWLP_HINSTANCE)),
              GetModuleHandleW(nullptr));

    // One tooltip, owned by the button, with one tool saying the product's name.
    HWND tip = nullptr;
    for (HWND w = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); w;
         w = FindWindowExW(nullptr, w, TOOLTIPS_CLASSW, nullptr))
        if (GetWindow(w, GW_OWNER) == button)
            tip = w;
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    wchar_t tipText[80] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = button;
    tool.uId = reinterpret_cast<UINT_PTR>(button);
    tool.lpszText = tipText;
    SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(tipText, L"Orvella");
}

TEST_F(StartButton, HiddenWhileAFullScreenWindowIsInFront)
{
    CreateButton(40);
    MONITORINFO monitor{sizeof(monitor)};
    GetMonitorInfoW(MonitorFromWindow(taskbar, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT &m = monitor.rcMonitor;
    HWND video = CreateWindowExW(0, kRebarClass, L"video", WS_POPUP | WS_VISIBLE, m.left, m.top,
                                 m.right - m.left, m.bottom - m.top, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(video);
    // The full-screen check runs every two seconds.
    EXPECT_TRUE(Deadline(2300).PumpUntil([&] { return !IsWindowVisible(button); }))
        << "hidden within two seconds";

    // One pixel short of the monitor is not full screen.
    SetWindowPos(video, nullptr, m.left, m.top, m.right - m.left, m.bottom - m.top - 1,
                 SWP_NOZORDER);
    EXPECT_TRUE(Deadline(2300).PumpUntil([&] { return IsWindowVisible(button) != FALSE; }))
        << "shown again within two seconds";
    DestroyWindow(video);
}

TEST_F(StartButton, SecondRequestKeepsOneButtonAndOtherWindowsAreIgnored)
{
    CreateButton(40);
    const RECT taskListNow = WindowRectOf(taskList);
    PostMessageW(taskbar, UM_TASKBAR_CREATE_BUTTON, 0, 0);
    PostMessageW(taskbar, UM_TASKBAR_CREATE_BUTTON, 0, 0);
    Drain();
    EXPECT_EQ(CountButtons(), 1);
    EXPECT_EQ(FindWindowW(kStartButtonClass, nullptr), button);
    EXPECT_EQ(Describe(WindowRectOf(taskList)), Describe(taskListNow));

    // Removal asked of a window that is not the taskbar does nothing.
    PostMessageW(main(), UM_TASKBAR_REMOVE_BUTTON, 0, 0);
    Drain();
    EXPECT_TRUE(IsWindow(button));
}

TEST_F(StartButton, RemovalGivesTheTaskListBackAndUnregistersTheClass)
{
    CreateButton(40);
    PostMessageW(taskbar, UM_TASKBAR_REMOVE_BUTTON, 0, 0);
    Drain();
    EXPECT_FALSE(IsWindow(button));
    EXPECT_EQ(Describe(WindowRectOf(taskList)), Describe(originalTaskList));
    WNDCLASSEXW wc{sizeof(wc)};
    EXPECT_FALSE(GetClassInfoExW(GetModuleHandleW(nullptr), kStartButtonClass, &wc));

    // A second removal leaves the task list where the taskbar now puts it.
    SetWindowPos(taskList, nullptr, 30, 0, 500, 40, SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT placed = WindowRectOf(taskList);
    PostMessageW(taskbar, UM_TASKBAR_REMOVE_BUTTON, 0, 0);
    Drain();
    EXPECT_EQ(Describe(WindowRectOf(taskList)), Describe(placed));
}

TEST_F(StartButton, TaskListLayoutKeepsRoomAndTheButtonFollows)
{
    CreateButton(40);
    const int top = kScreenBottom - 40;
    // The taskbar lays the list out anew: it gets the place minus the button.
    SetWindowPos(taskList, nullptr, 100, 0, 800, 40, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Describe(WindowRectOf(taskList)), Describe({148, top, 900, top + 40}));
    EXPECT_EQ(Describe(WindowRectOf(button)), Describe({100, top - 2, 148, top + 46}));

    // A resize alone keeps the origin the taskbar asked for, not the shifted one.
    SetWindowPos(taskList, nullptr, 0, 0, 600, 40, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Describe(WindowRectOf(taskList)), Describe({148, top, 700, top + 40}));
    // A move alone keeps the size it asked for.
    SetWindowPos(taskList, nullptr, 50, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Describe(WindowRectOf(taskList)), Describe({98, top, 650, top + 40}));
    // Neither: nothing moves.
    SetWindowPos(taskList, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(Describe(WindowRectOf(taskList)), Describe({98, top, 650, top + 40}));
    EXPECT_EQ(Describe(WindowRectOf(button)), Describe({50, top - 2, 98, top + 46}));

    // Removal gives back the place last asked for.
    PostMessageW(taskbar, UM_TASKBAR_REMOVE_BUTTON, 0, 0);
    Drain();
    EXPECT_EQ(Describe(WindowRectOf(taskList)), Describe({50, top, 650, top + 40}));
}

TEST_F(StartButton, SlidingTaskbarTakesTheButtonAwayAndBack)
{
    CreateButton(40);
    const UINT slide = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    // Auto-hidden: 2 px left on screen; the button goes 10000 px up.
    SetWindowPos(taskbar, nullptr, 0, kScreenBottom - 2, 0, 0, slide);
    Drain();
    EXPECT_EQ(Describe(WindowRectOf(button)),
              Describe({4, 796 - 10000, 52, 844 - 10000}));
    SetWindowPos(taskbar, nullptr, 0, kScreenBottom - 40, 0, 0, slide);
    Drain();
    EXPECT_EQ(Describe(WindowRectOf(button)), Describe({4, 758, 52, 806}));
}

TEST_F(StartButton, ClicksReachTheMainWindowOnlyWhileEnabled)
{
    CreateButton(40);
    Click(WM_LBUTTONDOWN);
    EXPECT_EQ(CountReceived(main(), UM_TOGGLE_MENU), 1);
    Click(WM_RBUTTONDOWN);
    EXPECT_EQ(CountReceived(main(), UM_BUTTON_CONTEXT_MENU), 1);

    SendMessageW(button, UM_BUTTON_ENABLE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(button));
    Click(WM_LBUTTONDOWN);
    Click(WM_RBUTTONDOWN);
    EXPECT_EQ(CountReceived(main(), UM_TOGGLE_MENU), 1);
    EXPECT_EQ(CountReceived(main(), UM_BUTTON_CONTEXT_MENU), 1);

    SendMessageW(button, UM_BUTTON_ENABLE, 1, 0);
    EXPECT_TRUE(IsWindowVisible(button));
    Click(WM_LBUTTONDOWN);
    EXPECT_EQ(CountReceived(main(), UM_TOGGLE_MENU), 2);
}

// A screen reader in this process: the button is a push button named Orvella whose default
// action is a click, and once the button is gone the object a client still holds fails.
TEST_F(StartButton, ReadsAsAPushButtonUntilItIsRemoved)
{
    CreateButton(40);
    IAccessible *object = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(button, OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void **>(&object)),
              S_OK);
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role{};
    EXPECT_EQ(object->get_accRole(self, &role), S_OK);
    EXPECT_EQ(role.vt, VT_I4);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_PUSHBUTTON);
    BSTR name = nullptr;
    EXPECT_EQ(object->get_accName(self, &name), S_OK);
    EXPECT_STREQ(name, L"Orvella");
    SysFreeString(name);
    long x = 0, y = 0, width = 0, height = 0;
    EXPECT_EQ(object->accLocation(&x, &y, &width, &height, self), S_OK);
    const RECT placed = WindowRectOf(button);
    EXPECT_EQ(Describe({x, y, x + width, y + height}), Describe(placed));

    EXPECT_EQ(object->accDoDefaultAction(self), S_OK);
    Drain();
    EXPECT_EQ(CountReceived(main(), UM_TOGGLE_MENU), 1);
    SendMessageW(button, UM_BUTTON_ENABLE, 0, 0);
    EXPECT_NE(object->accDoDefaultAction(self), S_OK) << "a disabled button ignores clicks";
    Drain();
    EXPECT_EQ(CountReceived(main(), UM_TOGGLE_MENU), 1);

    PostMessageW(taskbar, UM_TASKBAR_REMOVE_BUTTON, 0, 0);
    Drain();
    ASSERT_FALSE(IsWindow(button));
    name = nullptr;
    EXPECT_TRUE(FAILED(object->get_accName(self, &name)));
    EXPECT_EQ(name, nullptr);
    EXPECT_TRUE(FAILED(object->accDoDefaultAction(self)));
    object->Release();
}

TEST_F(StartButton, WindowsKeyOpensTheMenuUnlessMarkedOrShifted)
{
    CreateButton(40);
    struct Case {
        const char *name;
        LPARAM lParam;
        bool shift;
        bool reachesTaskbar;
    } cases[] = {
        {"plain", 0, false, false},
        {"any other lParam", 12345, false, false},
        {"marked as ours", kStartScreenMarker, false, true},
        {"Shift held", 0, true, true},
    };
    for (const Case &c : cases) {
        g_received.clear();
        SetKey(VK_SHIFT, c.shift);
        PostMessageW(taskbar, WM_SYSCOMMAND, SC_TASKLIST, c.lParam);
        Drain();
        SetKey(VK_SHIFT, false);
        EXPECT_EQ(CountReceived(taskbar, WM_SYSCOMMAND), c.reachesTaskbar ? 1 : 0) << c.name;
        EXPECT_EQ(CountReceived(main(), UM_TOGGLE_MENU), c.reachesTaskbar ? 0 : 1) << c.name;
    }
}

TEST_F(StartButton, ShiftWithTheWindowsKeyAsksForTheStartScreen)
{
    CreateButton(40);
    g_buttonProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ButtonSpyProc)));
    for (bool windowsKey : {false, true}) {
        g_received.clear();
        SetKey(VK_LWIN, windowsKey);
        PostMessageW(taskbar, WM_KEYDOWN, VK_SHIFT, 0);
        Drain();
        SetKey(VK_LWIN, false);
        EXPECT_EQ(CountReceived(button, WM_SYSCOMMAND), windowsKey ? 1 : 0);
        if (windowsKey && !g_received.empty()) {
            EXPECT_EQ(g_received.back().wParam, static_cast<WPARAM>(SC_TASKLIST));
            EXPECT_EQ(g_received.back().lParam, kStartScreenMarker);
        }
    }
    SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_buttonProc));
}

TEST_F(StartButton, ShutdownRequestAndButtonCloseGoToTheMainWindow)
{
    CreateButton(40);
    PostMessageW(taskbar, TASKBAR_SHUTDOWN_REQUEST, 0, 0);
    Drain();
    EXPECT_EQ(CountReceived(taskbar, TASKBAR_SHUTDOWN_REQUEST), 0);
    EXPECT_EQ(CountReceived(main(), WM_CLOSE), 1);

    PostMessageW(button, WM_CLOSE, 0, 0);
    Drain();
    EXPECT_EQ(CountReceived(main(), WM_CLOSE), 2);
    EXPECT_TRUE(IsWindow(button));
}

TEST_F(StartButton, DragRestingHalfASecondOpensTheMenu)
{
    CreateButton(40);
    {
        Deadline quarter(250);  // set before the rest timer, so it fires first
        SendMessageW(button, UM_BUTTON_DRAG_ENTER, 0, 0);
        quarter.Pump();
    }
    EXPECT_EQ(CountReceived(main(), UM_TOGGLE_MENU), 0) << "not before a quarter second";
    SendMessageW(button, UM_BUTTON_DRAG_LEAVE, 0, 0);
    PumpTimersDueWithin(500);
    EXPECT_EQ(CountReceived(main(), UM_TOGGLE_MENU), 0) << "left too early";

    SendMessageW(button, UM_BUTTON_DRAG_ENTER, 0, 0);
    PumpTimersDueWithin(700);
    EXPECT_EQ(CountReceived(main(), UM_TOGGLE_MENU), 1);
    PumpTimersDueWithin(600);
    EXPECT_EQ(CountReceived(main(), UM_TOGGLE_MENU), 1) << "once only";
}

TEST_F(StartButton, EdgeWindowMouseIsSwallowedWhileCornersAreOff)
{
    CreateButton(40);
    HWND edge = CreateWindowExW(WS_EX_TOOLWINDOW, kEdgeWindowClass, L"", WS_POPUP, 0, 0, 8, 8,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    PumpTimersDueWithin(1200);  // the button remembers the edge window every second

    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kFlagsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &key, nullptr);
    ASSERT_NE(key, nullptr);
    struct Case {
        const char *name;
        int value;  // -1: absent
        bool shift;
        UINT message;
        bool passes;
    } cases[] = {
        {"absent", -1, false, WM_MOUSEMOVE, false},
        {"absent, click", -1, false, WM_LBUTTONDOWN, false},
        {"on", 1, false, WM_MOUSEMOVE, false},
        {"on with Shift", 1, true, WM_MOUSEMOVE, true},
        {"on, right click", 1, false, WM_RBUTTONDOWN, true},
        {"off", 0, false, WM_LBUTTONDOWN, true},
        {"2 counts as on", 2, false, WM_MOUSEMOVE, false},
    };
    for (const Case &c : cases) {
        if (c.value < 0) {
            RegDeleteValueW(key, kDisableCornersValue);
        } else {
            DWORD value = static_cast<DWORD>(c.value);
            RegSetValueExW(key, kDisableCornersValue, 0, REG_DWORD,
                           reinterpret_cast<const BYTE *>(&value), sizeof(value));
        }
        g_received.clear();
        SetKey(VK_SHIFT, c.shift);
        PostMessageW(edge, c.message, 0, MAKELPARAM(2, 2));
        Drain();
        SetKey(VK_SHIFT, false);
        EXPECT_EQ(CountReceived(edge, c.message), c.passes ? 1 : 0) << c.name;
    }
    // Other windows' mouse messages always pass.
    g_received.clear();
    RegDeleteValueW(key, kDisableCornersValue);
    PostMessageW(main(), WM_MOUSEMOVE, 0, 0);
    Drain();
    EXPECT_EQ(CountReceived(main(), WM_MOUSEMOVE), 1);
    RegCloseKey(key);
    DestroyWindow(edge);
}

TEST(EdgeMessageProc, SwallowsEdgeMouseByClassName)
{
    HMODULE library = GetModuleHandleW(L"hallet.dll");
    ASSERT_NE(library, nullptr);
    auto proc = reinterpret_cast<HOOKPROC>(GetProcAddress(library, "EdgeMessageProc"));
    ASSERT_NE(proc, nullptr);
    HWND edge = CreateWindowExW(WS_EX_TOOLWINDOW, kEdgeWindowClass, L"", WS_POPUP, 0, 0, 8, 8,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND other = g_library->main;
    ClearDisableCorners();
    SetDisableCorners();
    struct Case {
        const char *name;
        int code;
        HWND window;
        UINT message;
        bool shift;
        bool swallowed;
    } cases[] = {
        {"move", HC_ACTION, edge, WM_MOUSEMOVE, false, true},
        {"click", HC_ACTION, edge, WM_LBUTTONDOWN, false, true},
        {"Shift", HC_ACTION, edge, WM_MOUSEMOVE, true, false},
        {"right click", HC_ACTION, edge, WM_RBUTTONDOWN, false, false},
        {"other window", HC_ACTION, other, WM_MOUSEMOVE, false, false},
        {"other hook code", 1, edge, WM_MOUSEMOVE, false, false},
    };
    for (const Case &c : cases) {
        SetKey(VK_SHIFT, c.shift);
        MSG msg{c.window, c.message, 0, 0};
        LRESULT result = proc(c.code, PM_REMOVE, reinterpret_cast<LPARAM>(&msg));
        SetKey(VK_SHIFT, false);
        EXPECT_EQ(msg.message, c.swallowed ? static_cast<UINT>(WM_NULL) : c.message) << c.name;
        if (c.swallowed) {
            EXPECT_EQ(result, 1) << c.name;
        }
    }
    ClearDisableCorners();
    MSG msg{edge, WM_MOUSEMOVE, 0, 0};
    proc(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&msg));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_MOUSEMOVE)) << "corners off";
    DestroyWindow(edge);
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kFlagsKeyPath, 0, KEY_SET_VALUE, &key) == 0) {
        RegDeleteValueW(key, kDisableCornersValue);
        RegCloseKey(key);
    }
}

// ---- The per-message path ----

// One import of hallet.dll replaced by a stub that counts its calls and passes them on.
struct TCountedImport {
    const char *name;
    void *stub;
    void **real;
    std::atomic<int> *calls;
};

template <int Id, class Function>
struct TCounter;
template <int Id, class R, class... A>
struct TCounter<Id, R (*)(A...)> {
    static inline R (*real)(A...) = nullptr;
    static inline std::atomic<int> calls{0};
    static R Call(A... a)
    {
        ++calls;
        return real(a...);
    }
};

template <int Id, class Function>
TCountedImport CountedImport(const char *name)
{
    using Counter = TCounter<Id, Function>;
    return {name, reinterpret_cast<void *>(&Counter::Call), reinterpret_cast<void **>(&Counter::real),
            &Counter::calls};
}

#define COUNTED(function) CountedImport<__LINE__, decltype(&function)>(#function)

// What a message could reach in hallet.dll that allocates, takes a lock or reads the
// registry (operator new and the C++ runtime, linked in, end in malloc).
std::vector<TCountedImport> CountedImports()
{
    return {
        COUNTED(malloc), COUNTED(calloc), COUNTED(realloc), COUNTED(free),
        COUNTED(HeapAlloc), COUNTED(HeapReAlloc), COUNTED(HeapFree),
        COUNTED(LocalAlloc), COUNTED(LocalReAlloc), COUNTED(GlobalAlloc), COUNTED(GlobalReAlloc),
        COUNTED(VirtualAlloc), COUNTED(TlsAlloc),
        COUNTED(EnterCriticalSection), COUNTED(TryEnterCriticalSection),
        COUNTED(AcquireSRWLockExclusive), COUNTED(AcquireSRWLockShared),
        COUNTED(TryAcquireSRWLockExclusive), COUNTED(TryAcquireSRWLockShared),
        COUNTED(RegCreateKeyExW), COUNTED(RegOpenKeyExW), COUNTED(RegQueryValueExW),
        COUNTED(RegSetValueExW), COUNTED(RegNotifyChangeKeyValue), COUNTED(RegCloseKey),
    };
}

bool IsRegistryImport(const char *name)
{
    return strncmp(name, "Reg", 3) == 0;
}

// An import of these families that the table above does not count would go unseen.
bool MustBeCounted(const char *module, const char *name)
{
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(tolower(c)); });
    return (_stricmp(module, "advapi32.dll") == 0 && IsRegistryImport(name)) ||
           lower.find("alloc") != std::string::npos ||
           lower.find("entercriticalsection") != std::string::npos ||
           lower.find("acquiresrwlock") != std::string::npos;
}

void SetCornersValue(int value)  // -1: absent
{
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kFlagsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &key, nullptr);
    ASSERT_NE(key, nullptr);
    if (value < 0) {
        RegDeleteValueW(key, kDisableCornersValue);
    } else {
        DWORD v = static_cast<DWORD>(value);
        RegSetValueExW(key, kDisableCornersValue, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&v),
                       sizeof(v));
    }
    RegCloseKey(key);
}

// The button in its taskbar, a remembered edge window, and hallet.dll's allocators, locks
// and registry calls counted while the test drives the hook and subclass procedures.
class MessagePath : public StartButton {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(CreateButton(40));
        edge = CreateWindowExW(WS_EX_TOOLWINDOW, kEdgeWindowClass, L"", WS_POPUP, 0, 0, 8, 8,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        PumpTimersDueWithin(1200);  // the button remembers the edge window every second
        messageProc = reinterpret_cast<HOOKPROC>(GetProcAddress(g_library->library, "MessageProc"));
        edgeProc = reinterpret_cast<HOOKPROC>(GetProcAddress(g_library->library, "EdgeMessageProc"));
        ASSERT_TRUE(messageProc && edgeProc);

        counted = CountedImports();
        ForEachImport(g_library->library, [&](const char *module, const char *name,
                                              ULONG_PTR *slot) {
            auto entry = std::find_if(counted.begin(), counted.end(), [&](const TCountedImport &c) {
                return strcmp(c.name, name) == 0;
            });
            if (entry == counted.end()) {
                if (MustBeCounted(module, name))
                    ADD_FAILURE() << "hallet.dll imports " << name << ", which is not counted";
                return;
            }
            *entry->real = reinterpret_cast<void *>(*slot);
            patched.push_back({slot, *slot});
            WriteImportSlot(slot, reinterpret_cast<ULONG_PTR>(entry->stub));
        });
        ASSERT_FALSE(patched.empty());
    }

    void TearDown() override
    {
        for (const auto &[slot, original] : patched)
            WriteImportSlot(slot, original);
        DestroyWindow(edge);
        SetCornersValue(-1);
        StartButton::TearDown();
    }

    void ResetCounts()
    {
        for (const TCountedImport &c : counted)
            *c.calls = 0;
    }

    // The counted calls since the last reset, as "name count" pairs; empty when none.
    std::string Calls(bool registryOnly = false) const
    {
        std::string calls;
        for (const TCountedImport &c : counted)
            if (*c.calls && (!registryOnly || IsRegistryImport(c.name)))
                calls += std::string(c.name) + " " + std::to_string(c.calls->load()) + "; ";
        return calls;
    }

    // A message as the hook procedure sees it; says whether it was changed.
    bool Hook(HOOKPROC proc, HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        MSG msg{window, message, wParam, lParam};
        proc(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&msg));
        return msg.hwnd != window || msg.message != message;
    }

    HWND edge = nullptr;
    HOOKPROC messageProc = nullptr, edgeProc = nullptr;
    std::vector<TCountedImport> counted;
    std::vector<std::pair<ULONG_PTR *, ULONG_PTR>> patched;
};

// Each ordinary message is handled twice, the second time counted: whatever happens once
// (the first paint's frames, a registry change being picked up) is done by then.
TEST_F(MessagePath, OrdinaryMessagesAllocateNothingAndTakeNoLock)
{
    WINDOWPOS moved{taskbar, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER};
    const LPARAM movedParam = reinterpret_cast<LPARAM>(&moved);
    struct Case {
        const char *name;
        int corners;  // DisableCorners while handled; -1: absent
        bool changed;
        std::function<bool()> handle;  // says whether the message was changed
    } cases[] = {
        {"edge move, corners on", 1, true, [&] { return Hook(messageProc, edge, WM_MOUSEMOVE); }},
        {"edge click, corners absent", -1, true,
         [&] { return Hook(messageProc, edge, WM_LBUTTONDOWN); }},
        {"edge move, corners off", 0, false, [&] { return Hook(messageProc, edge, WM_MOUSEMOVE); }},
        {"edge move by class, corners on", 1, true,
         [&] { return Hook(edgeProc, edge, WM_MOUSEMOVE); }},
        {"edge move by class, corners off", 0, false,
         [&] { return Hook(edgeProc, edge, WM_MOUSEMOVE); }},
        {"edge move with Shift", 1, false,
         [&] {
             SetKey(VK_SHIFT, true);
             const bool changed = Hook(messageProc, edge, WM_MOUSEMOVE) ||
                                  Hook(edgeProc, edge, WM_MOUSEMOVE);
             SetKey(VK_SHIFT, false);
             return changed;
         }},
        {"edge right click", 1, false,
         [&] { return Hook(messageProc, edge, WM_RBUTTONDOWN) || Hook(edgeProc, edge, WM_RBUTTONDOWN); }},
        {"move elsewhere", 1, false,
         [&] { return Hook(messageProc, main(), WM_MOUSEMOVE) || Hook(edgeProc, main(), WM_MOUSEMOVE); }},
        {"key other than Shift", 1, false,
         [&] { return Hook(messageProc, taskbar, WM_KEYDOWN, 'A'); }},
        {"system command other than the task list", 1, false,
         [&] { return Hook(messageProc, taskbar, WM_SYSCOMMAND, SC_MINIMIZE); }},
        {"taskbar paint and timer", 1, false,
         [&] { return Hook(messageProc, taskbar, WM_PAINT) || Hook(messageProc, taskbar, WM_TIMER, 7); }},
        {"taskbar subclass", 1, false,
         [&] {
             SendMessageW(taskbar, WM_PAINT, 0, 0);
             SendMessageW(taskbar, WM_TIMER, 7, 0);
             SendMessageW(taskbar, WM_MOUSEMOVE, 0, MAKELPARAM(300, 10));
             SendMessageW(taskbar, WM_NCHITTEST, 0, MAKELPARAM(300, 770));
             SendMessageW(taskbar, WM_WINDOWPOSCHANGING, 0, movedParam);
             return false;
         }},
        {"task list subclass", 1, false,
         [&] {
             SendMessageW(taskList, WM_PAINT, 0, 0);
             SendMessageW(taskList, WM_TIMER, 7, 0);
             SendMessageW(taskList, WM_MOUSEMOVE, 0, MAKELPARAM(100, 10));
             SendMessageW(taskList, WM_NCHITTEST, 0, MAKELPARAM(200, 770));
             return false;
         }},
        {"button", 1, false,
         [&] {
             SendMessageW(button, WM_PAINT, 0, 0);
             SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
             SendMessageW(button, WM_NCHITTEST, 0, MAKELPARAM(20, 770));
             SendMessageW(button, WM_TIMER, 11, 0);  // the full-screen check
             return false;
         }},
    };
    for (const Case &c : cases) {
        SetCornersValue(c.corners);
        c.handle();
        ResetCounts();
        EXPECT_EQ(c.handle(), c.changed) << c.name;
        EXPECT_EQ(Calls(), "") << c.name;
    }
}

// The counters can see a call: the first mouse message after a change reads the registry,
// and sees the change; the next one does not read it again.
TEST_F(MessagePath, OnlyAChangeIsReadFromTheRegistry)
{
    SetCornersValue(1);
    Hook(messageProc, edge, WM_MOUSEMOVE);
    for (int corners : {0, 1, -1, 0}) {
        SetCornersValue(corners);
        ResetCounts();
        EXPECT_EQ(Hook(messageProc, edge, WM_MOUSEMOVE), corners != 0) << corners;
        EXPECT_NE(Calls(true), "") << "the change to " << corners << " was read";
        ResetCounts();
        EXPECT_EQ(Hook(edgeProc, edge, WM_MOUSEMOVE), corners != 0) << corners;
        EXPECT_EQ(Calls(), "") << corners;
    }
}

// Deleting the whole key (as a clean-up tool might) and making it anew with the corners on:
// the library watches a key that no longer exists, and must find the new one.
TEST_F(MessagePath, TheFlagsKeyDeletedAndMadeAgainIsRead)
{
    SetCornersValue(0);
    EXPECT_FALSE(Hook(edgeProc, edge, WM_MOUSEMOVE));
    RegDeleteTreeW(HKEY_CURRENT_USER, kFlagsKeyPath);
    RegDeleteKeyW(HKEY_CURRENT_USER, kFlagsKeyPath);
    HKEY gone = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kFlagsKeyPath, 0, KEY_READ, &gone),
              ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(Hook(edgeProc, edge, WM_MOUSEMOVE)) << "no key counts as on";
    SetCornersValue(0);
    EXPECT_FALSE(Hook(edgeProc, edge, WM_MOUSEMOVE)) << "the new key's value";
    SetCornersValue(1);
    EXPECT_TRUE(Hook(messageProc, edge, WM_MOUSEMOVE));
}

}  // namespace

int wmain(int argc, wchar_t **argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
