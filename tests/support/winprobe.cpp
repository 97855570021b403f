// Window queries for end-to-end test scripts, run under Wine from the shell side.
//
//   winprobe find PATH            print "hwnd pid visible left top right bottom" of the window
//   winprobe wait PATH [ms]       wait until the window exists (default 10000 ms), then as find
//   winprobe gone PATH [ms]       wait until no such window exists
//   winprobe count CLASS          number of top-level windows of the class
//   winprobe visible CLASS        as find, one line per visible top-level window of the class
//   winprobe item PATH ID         as find, for the first visible descendant with control id ID
//   winprobe post PATH MSG [W L]  PostMessage
//   winprobe post-all PATH MSG... PostMessage of each MSG (parameters 0) in one go, so all
//                                 are queued before the window handles the first
//   winprobe send PATH MSG [W L]  SendMessage (with a 5 s timeout), print the result
//   winprobe send-out PATH MSG [L]  SendMessage with wParam pointing to a 32-bit integer in
//                                 the window's process; print the result and that integer
//   winprobe foreground           print the class of the foreground window
//   winprobe run MS COMMAND...    start a program and print its exit code (waits MS ms)
//   winprobe dialog-item TITLE ID print "visible left top right bottom text" of control ID of
//                                 the dialog (#32770) titled TITLE, the text in UTF-8
//
// PATH is a class name, or classes separated by '/' for a child chain
// ("Shell_TrayWnd/ReBarWindow32/MSTaskSwWClass").  Exit code 0 on success, 1 when the
// window is missing or a wait timed out, 2 on a usage error.
#include <windows.h>

#include <climits>
#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr DWORD kDefaultWaitMs = 10000;
constexpr DWORD kPollMs = 50;
constexpr UINT kSendTimeoutMs = 5000;

HWND FindPath(const wchar_t *path)
{
    std::wstring rest(path);
    HWND window = nullptr;
    bool first = true;
    while (!rest.empty()) {
        size_t slash = rest.find(L'/');
        std::wstring cls = rest.substr(0, slash);
        rest = slash == std::wstring::npos ? L"" : rest.substr(slash + 1);
        window = first ? FindWindowW(cls.c_str(), nullptr)
                       : FindWindowExW(window, nullptr, cls.c_str(), nullptr);
        first = false;
        if (!window)
            return nullptr;
    }
    return window;
}

int PrintWindow(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    std::printf("%llu %lu %d %ld %ld %ld %ld\n",
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)), pid,
                IsWindowVisible(window) ? 1 : 0, r.left, r.top, r.right, r.bottom);
    return 0;
}

struct CountArgs {
    const wchar_t *cls;
    int count;
};

BOOL CALLBACK CountWindow(HWND window, LPARAM param)
{
    auto *args = reinterpret_cast<CountArgs *>(param);
    wchar_t name[256];
    if (GetClassNameW(window, name, 256) && wcscmp(name, args->cls) == 0)
        ++args->count;
    return TRUE;
}

struct VisibleArgs {
    const wchar_t *cls;
};

BOOL CALLBACK PrintIfVisible(HWND window, LPARAM param)
{
    auto *args = reinterpret_cast<VisibleArgs *>(param);
    wchar_t name[256];
    if (IsWindowVisible(window) && GetClassNameW(window, name, 256) &&
        wcscmp(name, args->cls) == 0)
        PrintWindow(window);
    return TRUE;
}

long long ParseNumber(const wchar_t *text)
{
    return wcstoll(text, nullptr, 0);
}

int Find(int argc, wchar_t **argv)
{
    if (argc < 3)
        return 2;
    HWND window = FindPath(argv[2]);
    return window ? PrintWindow(window) : 1;
}

struct ItemArgs {
    int id;
    HWND found;
};

BOOL CALLBACK MatchItem(HWND window, LPARAM param)
{
    auto *args = reinterpret_cast<ItemArgs *>(param);
    if (GetDlgCtrlID(window) != args->id || !IsWindowVisible(window))
        return TRUE;
    args->found = window;
    return FALSE;
}

int Item(int argc, wchar_t **argv)
{
    if (argc < 4)
        return 2;
    HWND parent = FindPath(argv[2]);
    if (!parent)
        return 1;
    ItemArgs args = {static_cast<int>(ParseNumber(argv[3])), nullptr};
    EnumChildWindows(parent, MatchItem, reinterpret_cast<LPARAM>(&args));
    return args.found ? PrintWindow(args.found) : 1;
}

int Wait(int argc, wchar_t **argv, bool untilGone)
{
    if (argc < 3)
        return 2;
    DWORD limit = argc > 3 ? static_cast<DWORD>(ParseNumber(argv[3])) : kDefaultWaitMs;
    DWORD start = GetTickCount();
    for (;;) {
        HWND window = FindPath(argv[2]);
        if (untilGone && !window)
            return 0;
        if (!untilGone && window)
            return PrintWindow(window);
        if (GetTickCount() - start > limit)
            return 1;
        Sleep(kPollMs);
    }
}

int Count(int argc, wchar_t **argv)
{
    if (argc < 3)
        return 2;
    CountArgs args{argv[2], 0};
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&args));
    std::printf("%d\n", args.count);
    return 0;
}

int Visible(int argc, wchar_t **argv)
{
    if (argc < 3)
        return 2;
    VisibleArgs args{argv[2]};
    EnumWindows(PrintIfVisible, reinterpret_cast<LPARAM>(&args));
    return 0;
}

int PostAll(int argc, wchar_t **argv)
{
    if (argc < 4)
        return 2;
    HWND window = FindPath(argv[2]);
    if (!window)
        return 1;
    for (int i = 3; i < argc; ++i)
        if (!PostMessageW(window, static_cast<UINT>(ParseNumber(argv[i])), 0, 0))
            return 1;
    return 0;
}

// A pointer in wParam means nothing in another process, so the integer lives in the
// window's process; it starts as INT_MIN, which shows when nothing was written.
int SendOut(int argc, wchar_t **argv)
{
    if (argc < 4)
        return 2;
    HWND window = FindPath(argv[2]);
    if (!window)
        return 1;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                                 FALSE, pid);
    if (!process)
        return 1;
    int value = INT_MIN;
    void *remote = VirtualAllocEx(process, nullptr, sizeof value, MEM_COMMIT | MEM_RESERVE,
                                  PAGE_READWRITE);
    DWORD_PTR result = 0;
    SIZE_T copied = 0;
    bool ok = remote && WriteProcessMemory(process, remote, &value, sizeof value, &copied) &&
              SendMessageTimeoutW(window, static_cast<UINT>(ParseNumber(argv[3])),
                                  reinterpret_cast<WPARAM>(remote),
                                  argc > 4 ? static_cast<LPARAM>(ParseNumber(argv[4])) : 0,
                                  SMTO_ABORTIFHUNG, kSendTimeoutMs, &result) &&
              ReadProcessMemory(process, remote, &value, sizeof value, &copied);
    if (remote)
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    if (!ok)
        return 1;
    std::printf("%lld %d\n", static_cast<long long>(result), value);
    return 0;
}

int Message(int argc, wchar_t **argv, bool send)
{
    if (argc < 4)
        return 2;
    HWND window = FindPath(argv[2]);
    if (!window)
        return 1;
    UINT message = static_cast<UINT>(ParseNumber(argv[3]));
    WPARAM wParam = argc > 4 ? static_cast<WPARAM>(ParseNumber(argv[4])) : 0;
    LPARAM lParam = argc > 5 ? static_cast<LPARAM>(ParseNumber(argv[5])) : 0;
    if (!send)
        return PostMessageW(window, message, wParam, lParam) ? 0 : 1;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &result))
        return 1;
    std::printf("%lld\n", static_cast<long long>(result));
    return 0;
}

int Foreground()
{
    HWND window = GetForegroundWindow();
    wchar_t name[256] = L"";
    if (window)
        GetClassNameW(window, name, 256);
    std::printf("%ls\n", name);
    return 0;
}

// Runs a program and reports its exit code, so scripts see codes of GUI programs too.
int Run(int argc, wchar_t **argv)
{
    if (argc < 4)
        return 2;
    DWORD limit = static_cast<DWORD>(ParseNumber(argv[2]));
    std::wstring commandLine;
    for (int i = 3; i < argc; ++i) {
        if (i > 3)
            commandLine += L' ';
        commandLine += L'"';
        commandLine += argv[i];
        commandLine += L'"';
    }
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi))
        return 1;
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(pi.hProcess, limit) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    if (code == STILL_ACTIVE) {
        std::printf("running\n");
        return 1;
    }
    std::printf("%lu\n", code);
    return 0;
}

}  // namespace

int DialogItem(int argc, wchar_t **argv)
{
    if (argc < 4)
        return 2;
    HWND dialog = FindWindowW(L"#32770", argv[2]);
    HWND item = dialog ? GetDlgItem(dialog, _wtoi(argv[3])) : nullptr;
    if (!item)
        return 1;
    RECT r{};
    GetWindowRect(item, &r);
    wchar_t text[256] = {};
    GetWindowTextW(item, text, 256);
    char utf8[1024] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    std::printf("%d %ld %ld %ld %ld %s\n", IsWindowVisible(item) ? 1 : 0, r.left, r.top, r.right,
                r.bottom, utf8);
    return 0;
}

int wmain(int argc, wchar_t **argv)
{
    if (argc < 2)
        return 2;
    const wchar_t *command = argv[1];
    if (wcscmp(command, L"find") == 0)
        return Find(argc, argv);
    if (wcscmp(command, L"wait") == 0)
        return Wait(argc, argv, false);
    if (wcscmp(command, L"gone") == 0)
        return Wait(argc, argv, true);
    if (wcscmp(command, L"count") == 0)
        return Count(argc, argv);
    if (wcscmp(command, L"visible") == 0)
        return Visible(argc, argv);
    if (wcscmp(command, L"item") == 0)
        return Item(argc, argv);
    if (wcscmp(command, L"post") == 0)
        return Message(argc, argv, false);
    if (wcscmp(command, L"post-all") == 0)
        return PostAll(argc, argv);
    if (wcscmp(command, L"send") == 0)
        return Message(argc, argv, true);
    if (wcscmp(command, L"send-out") == 0)
        return SendOut(argc, argv);
    if (wcscmp(command, L"foreground") == 0)
        return Foreground();
    if (wcscmp(command, L"run") == 0)
        return Run(argc, argv);
    if (wcscmp(command, L"dialog-item") == 0)
        return DialogItem(argc, argv);
    return 2;
}
