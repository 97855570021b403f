// A screen reader's view of the running program, for end-to-end scripts: it reads the menu
// levels, the search box and the start button through Active Accessibility from its own
// process, and records the WinEvents the menu raises.  Texts are printed in UTF-8.
//
//   accessibility_client levels         one block per visible menu level: "level NAME role=R
//                                       children=N walked=N focus=NAME", then one "item I
//                                       role=R name=NAME popup=0|1 focused=0|1 shortcut=K
//                                       action=A hit=0|1 tip=TEXT" line per item
//   accessibility_client events FILE    appends one line per event of the program's menu
//                                       to FILE until ended: "start LEVEL", "end LEVEL",
//                                       "focus LEVEL/ITEM", "namechange LEVEL"
//   accessibility_client action NAME    the default action of the first visible item so
//                                       named; prints "action HRESULT"
//   accessibility_client hold NAME      takes the object of the level named NAME, prints
//                                       "held children=N", waits until a call on the object
//                                       still held fails (a rebuild replaced the level; its
//                                       window may live on for a new level) or the window is
//                                       destroyed, then prints "after HRESULT" of that call
//   accessibility_client searchbox      "searchbox role=R value=TEXT help=TEXT"
//   accessibility_client button         "button role=R name=NAME action=A"
//
// Exit code 0 when the objects were reached, 1 otherwise, 2 on a usage error.
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "accessible_object.h"

namespace {

constexpr DWORD kHoldLimitMs = 30000;
constexpr DWORD kPollMs = 50;
constexpr UINT kResolveEvent = WM_APP + 1;

std::string Utf8(const wchar_t *text)
{
    if (!text)
        return "-";
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    return out.empty() ? "-" : out;
}

std::string TextOf(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR *),
                   IAccessible *object, long id)
{
    const std::optional<std::wstring> text = AccessibleText(get, object, id);
    return text ? Utf8(text->c_str()) : "-";
}

std::string Name(IAccessible *object, long id) { return TextOf(&IAccessible::get_accName, object, id); }

const char *RoleName(long role)
{
    switch (role) {
    case ROLE_SYSTEM_MENUPOPUP: return "menupopup";
    case ROLE_SYSTEM_MENUITEM: return "menuitem";
    case ROLE_SYSTEM_SEPARATOR: return "separator";
    case ROLE_SYSTEM_PUSHBUTTON: return "pushbutton";
    case ROLE_SYSTEM_TEXT: return "text";
    case ROLE_SYSTEM_CLIENT: return "client";
    default: return "other";
    }
}

DWORD ProgramProcess()
{
    DWORD process = 0;
    if (HWND main = FindWindowW(L"TVRA_MainWindow", nullptr))
        GetWindowThreadProcessId(main, &process);
    return process;
}

// Every menu level window of the program, shown or not, in z-order.
std::vector<HWND> LevelWindows(bool visibleOnly)
{
    std::vector<HWND> windows;
    for (HWND w = FindWindowExW(nullptr, nullptr, L"TVRA_MenuWindow", nullptr); w;
         w = FindWindowExW(nullptr, w, L"TVRA_MenuWindow", nullptr))
        if (!visibleOnly || IsWindowVisible(w))
            windows.push_back(w);
    return windows;
}

// The children counted by walking them with accNavigate, first child then next.
long Walked(IAccessible *level)
{
    long walked = 0;
    VARIANT at;
    VariantInit(&at);
    if (level->accNavigate(NAVDIR_FIRSTCHILD, Child(CHILDID_SELF), &at) != S_OK)
        return 0;
    while (at.vt == VT_I4 && walked < 10000) {
        ++walked;
        VARIANT next;
        VariantInit(&next);
        if (level->accNavigate(NAVDIR_NEXT, at, &next) != S_OK)
            break;
        at = next;
    }
    return walked;
}

// Whether a hit test at the centre of the child's location finds the child itself.
bool HitsItself(IAccessible *level, long id)
{
    long x = 0, y = 0, w = 0, h = 0;
    if (level->accLocation(&x, &y, &w, &h, Child(id)) != S_OK || w <= 0 || h <= 0)
        return false;
    VARIANT hit;
    VariantInit(&hit);
    return level->accHitTest(x + w / 2, y + h / 2, &hit) == S_OK && hit.vt == VT_I4 &&
           hit.lVal == id;
}

void PrintLevel(IAccessible *level)
{
    long count = 0;
    level->get_accChildCount(&count);
    VARIANT focus;
    VariantInit(&focus);
    const bool hasFocus = level->get_accFocus(&focus) == S_OK && focus.vt == VT_I4;
    std::printf("level %s role=%s children=%ld walked=%ld focus=%s\n", Name(level, 0).c_str(),
                RoleName(AccessibleNumber(&IAccessible::get_accRole, level, 0)), count, Walked(level),
                hasFocus ? Name(level, focus.lVal).c_str() : "-");
    for (long id = 1; id <= count; ++id) {
        const long state = AccessibleNumber(&IAccessible::get_accState, level, id);
        std::printf("item %ld role=%s name=%s popup=%d focused=%d shortcut=%s action=%s hit=%d "
                    "tip=%s\n",
                    id, RoleName(AccessibleNumber(&IAccessible::get_accRole, level, id)),
                    Name(level, id).c_str(), (state & STATE_SYSTEM_HASPOPUP) ? 1 : 0,
                    (state & STATE_SYSTEM_FOCUSED) ? 1 : 0,
                    TextOf(&IAccessible::get_accKeyboardShortcut, level, id).c_str(),
                    TextOf(&IAccessible::get_accDefaultAction, level, id).c_str(),
                    HitsItself(level, id) ? 1 : 0,
                    TextOf(&IAccessible::get_accDescription, level, id).c_str());
    }
}

int Levels()
{
    const std::vector<HWND> windows = LevelWindows(true);
    for (HWND window : windows) {
        IAccessible *level = ObjectOf(window);
        if (!level)
            return 1;
        PrintLevel(level);
        level->Release();
    }
    return windows.empty() ? 1 : 0;
}

// ---- Events ----

const wchar_t *EventsFile = nullptr;

void AppendLine(const std::string &line)
{
    HANDLE file = CreateFileW(EventsFile, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

struct TEvent {
    DWORD event;
    HWND window;
    LONG child;
};
std::vector<TEvent> Pending;

// Only noted here: the names are asked for from the message loop, outside the callback.
void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                      DWORD)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (object != OBJID_CLIENT || wcscmp(name, L"TVRA_MenuWindow") != 0)
        return;
    Pending.push_back({event, window, child});
    PostThreadMessageW(GetCurrentThreadId(), kResolveEvent, 0, 0);
}

void Resolve(const TEvent &e)
{
    IAccessible *level = ObjectOf(e.window);
    const std::string levelName = level ? Name(level, 0) : "?";
    switch (e.event) {
    case EVENT_SYSTEM_MENUPOPUPSTART:
        AppendLine("start " + levelName);
        break;
    case EVENT_SYSTEM_MENUPOPUPEND:
        AppendLine("end " + levelName);
        break;
    case EVENT_OBJECT_FOCUS:
        if (e.child != CHILDID_SELF)
            AppendLine("focus " + levelName + "/" + (level ? Name(level, e.child) : "?"));
        break;
    case EVENT_OBJECT_NAMECHANGE:
        AppendLine("namechange " + levelName);
        break;
    }
    if (level)
        level->Release();
}

int Events(const wchar_t *file)
{
    EventsFile = file;
    const DWORD process = ProgramProcess();
    if (!process)
        return 1;
    HWINEVENTHOOK popups = SetWinEventHook(EVENT_SYSTEM_MENUPOPUPSTART, EVENT_SYSTEM_MENUPOPUPEND,
                                           nullptr, OnEvent, process, 0, WINEVENT_OUTOFCONTEXT);
    HWINEVENTHOOK objects = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_NAMECHANGE, nullptr,
                                            OnEvent, process, 0, WINEVENT_OUTOFCONTEXT);
    if (!popups || !objects)
        return 1;
    AppendLine("listening");
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == kResolveEvent) {
            std::vector<TEvent> events;
            events.swap(Pending);
            for (const TEvent &e : events)
                Resolve(e);
            continue;
        }
        DispatchMessageW(&msg);
    }
    return 0;
}

// ---- One item's default action, a held level, the search box and the start button ----

int Action(const wchar_t *wanted)
{
    const std::string name = Utf8(wanted);
    for (HWND window : LevelWindows(true)) {
        IAccessible *level = ObjectOf(window);
        if (!level)
            continue;
        long count = 0;
        level->get_accChildCount(&count);
        for (long id = 1; id <= count; ++id) {
            if (Name(level, id) != name)
                continue;
            const HRESULT hr = level->accDoDefaultAction(Child(id));
            std::printf("action 0x%08lx\n", static_cast<unsigned long>(hr));
            level->Release();
            return 0;
        }
        level->Release();
    }
    return 1;
}

int Hold(const wchar_t *wanted)
{
    const std::string name = Utf8(wanted);
    for (HWND window : LevelWindows(false)) {
        IAccessible *level = ObjectOf(window);
        if (!level)
            continue;
        if (Name(level, 0) != name) {
            level->Release();
            continue;
        }
        long count = 0;
        level->get_accChildCount(&count);
        std::printf("held children=%ld\n", count);
        std::fflush(stdout);
        const DWORD start = GetTickCount();
        HRESULT hr = S_OK;
        for (;;) {
            BSTR text = nullptr;
            hr = level->get_accName(Child(CHILDID_SELF), &text);
            if (text)
                SysFreeString(text);
            if (FAILED(hr) || !IsWindow(window) || GetTickCount() - start >= kHoldLimitMs)
                break;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMs, QS_ALLINPUT);
        }
        std::printf("after 0x%08lx\n", static_cast<unsigned long>(hr));
        level->Release();
        return FAILED(hr) ? 0 : 1;
    }
    return 1;
}

int SearchBox()
{
    HWND root = nullptr;
    for (HWND window : LevelWindows(false))
        if (FindWindowExW(window, nullptr, L"EditEx", nullptr))
            root = window;
    IAccessible *box = root ? ObjectOf(FindWindowExW(root, nullptr, L"EditEx", nullptr)) : nullptr;
    if (!box)
        return 1;
    BSTR value = nullptr;
    box->get_accValue(Child(CHILDID_SELF), &value);
    std::printf("searchbox role=%s value=%s help=%s\n",
                RoleName(AccessibleNumber(&IAccessible::get_accRole, box, 0)),
                value ? (value[0] ? Utf8(value).c_str() : "") : "-",
                TextOf(&IAccessible::get_accHelp, box, 0).c_str());
    if (value)
        SysFreeString(value);
    box->Release();
    return 0;
}

int Button()
{
    IAccessible *button = ObjectOf(FindWindowW(L"MyStartButton", nullptr));
    if (!button)
        return 1;
    std::printf("button role=%s name=%s action=%s\n",
                RoleName(AccessibleNumber(&IAccessible::get_accRole, button, 0)),
                Name(button, 0).c_str(),
                TextOf(&IAccessible::get_accDefaultAction, button, 0).c_str());
    button->Release();
    return 0;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc < 2)
        return 2;
    CoInitialize(nullptr);
    const std::wstring command = argv[1];
    int result = 2;
    if (command == L"levels")
        result = Levels();
    else if (command == L"events" && argc > 2)
        result = Events(argv[2]);
    else if (command == L"action" && argc > 2)
        result = Action(argv[2]);
    else if (command == L"hold" && argc > 2)
        result = Hold(argv[2]);
    else if (command == L"searchbox")
        result = SearchBox();
    else if (command == L"button")
        result = Button();
    std::fflush(stdout);
    CoUninitialize();
    return result;
}
