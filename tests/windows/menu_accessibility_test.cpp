// Real menu levels read by a screen reader in this process: the object each level gives for
// WM_GETOBJECT, the WinEvents it raises, the default action, the search box (and its value
// changes), and the error a client gets from the object of a level that was destroyed.
#include "tests/windows/menu_window_fixture.h"

#include <oleacc.h>

#include <string>
#include <vector>

#include "tests/support/accessible_object.h"

namespace {

struct TEventRecord {
    DWORD event;
    HWND window;
    LONG object;
    LONG child;
};
std::vector<TEventRecord> Events;

void CALLBACK RecordEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child,
                          DWORD, DWORD)
{
    Events.push_back({event, window, object, child});
}

std::wstring Text(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR *),
                  IAccessible *object, long id)
{
    return AccessibleText(get, object, id).value_or(L"(none)");
}

// A taskbar stand-in along the bottom of the screen, found before Wine's own hidden one, and
// a root level: a folder, a program with a tip, a separator, two captions of one letter.
class MenuAccessibilityTest : public testing::Test {
protected:
    void SetUp() override
    {
        ClearRecords();
        Events.clear();
        MenuState = {};
        WNDCLASSW tray{};
        tray.lpfnWndProc = DefWindowProcW;
        tray.hInstance = GetModuleHandleW(nullptr);
        tray.lpszClassName = kTaskbarClass;
        RegisterClassW(&tray);
        taskbar_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kTaskbarClass, L"", WS_POPUP,
                                   0, 728, 1024, 40, nullptr, nullptr, GetModuleHandleW(nullptr),
                                   nullptr);
        root_ = MakeLevel({L"Accessories|C:\\SM\\Accessories/", L"Browser|C:\\SM\\Browser.lnk",
                           L"|*separator", L"bash|C:\\SM\\bash.lnk", L"Calculator|C:\\SM\\Calc.lnk"});
        lstrcpyW(root_->ItemAt(1)->Tip, L"Opens web pages");
        sub_ = root_->ItemAt(0)->Submenu;
        AddItem(sub_, L"Notepad|C:\\SM\\Accessories\\Notepad.lnk");
        AddItem(sub_, L"Paint|C:\\SM\\Accessories\\Paint.lnk");
        hook_ = SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, RecordEvent, GetCurrentProcessId(),
                                0, WINEVENT_OUTOFCONTEXT);
    }
    void TearDown() override
    {
        UnhookWinEvent(hook_);
        delete root_;
        DestroyWindow(taskbar_);
    }

    void Open()
    {
        ShowLevel(root_);
        Pump(20);
    }

    // Raises a marker event and pumps until it has come back: every event raised before it
    // has been delivered by then.
    void Settle()
    {
        NotifyWinEvent(EVENT_OBJECT_HELPCHANGE, taskbar_, OBJID_CLIENT, 99);
        PumpUntil([this] {
            for (const TEventRecord &e : Events)
                if (e.event == EVENT_OBJECT_HELPCHANGE && e.window == taskbar_ && e.child == 99)
                    return true;
            return false;
        }, 5000);
    }

    // The menu's own events on level windows, as "event child" texts, and cleared.
    std::vector<std::wstring> TakeMenuEvents()
    {
        Settle();
        std::vector<std::wstring> out;
        for (const TEventRecord &e : Events) {
            if (e.object != OBJID_CLIENT)
                continue;
            const wchar_t *name = nullptr;
            switch (e.event) {
            case EVENT_SYSTEM_MENUPOPUPSTART: name = L"start"; break;
            case EVENT_SYSTEM_MENUPOPUPEND: name = L"end"; break;
            case EVENT_OBJECT_NAMECHANGE: name = L"namechange"; break;
            case EVENT_OBJECT_FOCUS: name = e.child != CHILDID_SELF ? L"focus" : nullptr; break;
            }
            if (!name)
                continue;
            const wchar_t *level = e.window == root_->Window ? L"root"
                                   : e.window == sub_->Window ? L"sub"
                                                              : nullptr;
            if (level)
                out.push_back(std::wstring(name) + L" " + level + L" " + std::to_wstring(e.child));
        }
        Events.clear();
        return out;
    }

    HWND taskbar_ = nullptr;
    TMenu *root_ = nullptr;
    TMenu *sub_ = nullptr;
    HWINEVENTHOOK hook_ = nullptr;
};

using Lines = std::vector<std::wstring>;

} // namespace

TEST_F(MenuAccessibilityTest, EveryItemIsAChildWithItsCaptionRoleAndState)
{
    Open();
    IAccessible *root = ObjectOf(root_->Window);
    ASSERT_NE(root, nullptr);
    long count = 0;
    EXPECT_EQ(root->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 5);
    EXPECT_EQ(Text(&IAccessible::get_accName, root, CHILDID_SELF), L"Orvella");
    EXPECT_EQ(AccessibleNumber(&IAccessible::get_accRole, root, CHILDID_SELF), ROLE_SYSTEM_MENUPOPUP);

    struct Case {
        long id;
        const wchar_t *name;
        long role;
        long state;
        const wchar_t *shortcut, *action, *description;
    } cases[] = {
        {1, L"Accessories", ROLE_SYSTEM_MENUITEM,
         STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_HOTTRACKED |
             STATE_SYSTEM_HASPOPUP,
         L"A", L"Open", L"(none)"},
        {2, L"Browser", ROLE_SYSTEM_MENUITEM, STATE_SYSTEM_FOCUSABLE, L"(none)", L"Execute",
         L"Opens web pages"},
        {3, L"(none)", ROLE_SYSTEM_SEPARATOR, 0, L"(none)", L"(none)", L"(none)"},
        {4, L"bash", ROLE_SYSTEM_MENUITEM, STATE_SYSTEM_FOCUSABLE, L"(none)", L"Execute",
         L"(none)"},
        {5, L"Calculator", ROLE_SYSTEM_MENUITEM, STATE_SYSTEM_FOCUSABLE, L"C", L"Execute",
         L"(none)"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(Text(&IAccessible::get_accName, root, c.id), c.name) << c.id;
        EXPECT_EQ(AccessibleNumber(&IAccessible::get_accRole, root, c.id), c.role) << c.id;
        EXPECT_EQ(AccessibleNumber(&IAccessible::get_accState, root, c.id), c.state) << c.id;
        EXPECT_EQ(Text(&IAccessible::get_accKeyboardShortcut, root, c.id), c.shortcut) << c.id;
        EXPECT_EQ(Text(&IAccessible::get_accDefaultAction, root, c.id), c.action) << c.id;
        EXPECT_EQ(Text(&IAccessible::get_accDescription, root, c.id), c.description) << c.id;

        // The location is the item's rectangle on screen, and a hit test there finds it.
        long x = 0, y = 0, w = 0, h = 0;
        EXPECT_EQ(root->accLocation(&x, &y, &w, &h, Child(c.id)), S_OK);
        RECT expected = root_->ItemAt(c.id - 1)->Rect;
        MapWindowPoints(root_->Window, nullptr, reinterpret_cast<POINT *>(&expected), 2);
        EXPECT_EQ(x, expected.left) << c.id;
        EXPECT_EQ(y, expected.top) << c.id;
        EXPECT_EQ(w, expected.right - expected.left) << c.id;
        EXPECT_EQ(h, expected.bottom - expected.top) << c.id;
        VARIANT hit{};
        EXPECT_EQ(root->accHitTest(x + w / 2, y + h / 2, &hit), S_OK);
        EXPECT_EQ(hit.vt == VT_I4 ? hit.lVal : -1, c.id);
    }
    VARIANT focus{};
    EXPECT_EQ(root->get_accFocus(&focus), S_OK);
    EXPECT_EQ(focus.vt == VT_I4 ? focus.lVal : -1, 1);

    // Ids out of range are refused.
    BSTR name = nullptr;
    EXPECT_EQ(root->get_accName(Child(6), &name), E_INVALIDARG);
    EXPECT_EQ(root->get_accName(Child(-1), &name), E_INVALIDARG);

    // A sub-level is named after its parent item.
    IAccessible *sub = ObjectOf(sub_->Window);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(Text(&IAccessible::get_accName, sub, CHILDID_SELF), L"Accessories");
    sub->Release();
    root->Release();
}

TEST_F(MenuAccessibilityTest, NavigationWalksTheItemsInOrder)
{
    IAccessible *root = ObjectOf(root_->Window);
    ASSERT_NE(root, nullptr);
    std::vector<long> walked;
    VARIANT at{};
    ASSERT_EQ(root->accNavigate(NAVDIR_FIRSTCHILD, Child(CHILDID_SELF), &at), S_OK);
    while (at.vt == VT_I4 && walked.size() < 10) {
        walked.push_back(at.lVal);
        VARIANT next{};
        if (root->accNavigate(NAVDIR_NEXT, at, &next) != S_OK)
            break;
        at = next;
    }
    EXPECT_EQ(walked, (std::vector<long>{1, 2, 3, 4, 5}));
    VARIANT end{};
    EXPECT_EQ(root->accNavigate(NAVDIR_LASTCHILD, Child(CHILDID_SELF), &end), S_OK);
    EXPECT_EQ(end.lVal, 5);
    EXPECT_EQ(root->accNavigate(NAVDIR_PREVIOUS, Child(1), &end), S_FALSE);
    EXPECT_EQ(end.vt, VT_EMPTY);
    root->Release();
}

TEST_F(MenuAccessibilityTest, EventsFollowTheLevelsAndTheHotItem)
{
    Open();
    EXPECT_EQ(TakeMenuEvents(), (Lines{L"start root 0", L"focus root 1"}));
    SendMessageW(root_->Window, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(TakeMenuEvents(), (Lines{L"focus root 2"}));
    SendMessageW(root_->Window, WM_CHAR, L'c', 0);  // type-ahead; the only C runs
    Pump(20);
    EXPECT_EQ(TakeMenuEvents(), (Lines{L"focus root 5", L"end root 0"}));

    Open();
    TakeMenuEvents();
    SendMessageW(root_->Window, WM_KEYDOWN, VK_RIGHT, 0);
    Pump(20);
    EXPECT_EQ(TakeMenuEvents(), (Lines{L"start sub 0", L"focus sub 1"}));
    // The pointer over the second item of the sub-level.
    const RECT &paint = sub_->ItemAt(1)->Rect;
    SendMessageW(sub_->Window, WM_MOUSEMOVE, 0,
                 MAKELPARAM((paint.left + paint.right) / 2, (paint.top + paint.bottom) / 2));
    EXPECT_EQ(TakeMenuEvents(), (Lines{L"focus sub 2"}));
    // A level laid out again while it is shown has changed.
    sub_->Layout();
    EXPECT_EQ(TakeMenuEvents(), (Lines{L"namechange sub 0"}));
    SendMessageW(sub_->Window, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(TakeMenuEvents(), (Lines{L"end sub 0"}));

    // Nothing is raised for levels that are not shown.
    CloseAll(root_);
    TakeMenuEvents();
    SetHot(sub_, 0);
    sub_->Layout();
    CloseAll(root_);
    EXPECT_EQ(TakeMenuEvents(), Lines{});
}

TEST_F(MenuAccessibilityTest, DefaultActionDoesWhatEnterDoes)
{
    Open();
    IAccessible *root = ObjectOf(root_->Window);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->accDoDefaultAction(Child(1)), S_OK);
    EXPECT_TRUE(PumpUntil([this] { return IsWindowVisible(sub_->Window) != FALSE; }, 2000))
        << "the folder opens";
    EXPECT_EQ(root->accDoDefaultAction(Child(3)), DISP_E_MEMBERNOTFOUND) << "a separator";
    EXPECT_EQ(root->accDoDefaultAction(Child(CHILDID_SELF)), DISP_E_MEMBERNOTFOUND);

    EXPECT_EQ(root->accDoDefaultAction(Child(4)), S_OK);
    EXPECT_TRUE(PumpUntil([] { return !Launches.empty(); }, 2000));
    ASSERT_EQ(Launches.size(), 1u);
    EXPECT_EQ(Launches[0].file, L"C:\\SM\\bash.lnk");
    EXPECT_FALSE(IsWindowVisible(root_->Window)) << "the menu closed before it ran";

    // A hidden menu runs nothing.
    EXPECT_EQ(root->accDoDefaultAction(Child(4)), E_FAIL);
    root->Release();
}

TEST_F(MenuAccessibilityTest, ObjectOfADestroyedLevelFailsAndTheRestGoesOn)
{
    IAccessible *sub = ObjectOf(sub_->Window);
    ASSERT_NE(sub, nullptr);
    long count = 0;
    EXPECT_EQ(sub->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 2);

    root_->RemoveAt(0);  // the folder and its level go
    sub_ = nullptr;
    EXPECT_EQ(sub->get_accChildCount(&count), RPC_E_DISCONNECTED);
    BSTR name = nullptr;
    EXPECT_EQ(sub->get_accName(Child(CHILDID_SELF), &name), RPC_E_DISCONNECTED);
    EXPECT_EQ(name, nullptr);
    VARIANT focus{};
    EXPECT_EQ(sub->get_accFocus(&focus), RPC_E_DISCONNECTED);
    EXPECT_EQ(sub->accDoDefaultAction(Child(1)), RPC_E_DISCONNECTED);
    long x, y, w, h;
    EXPECT_EQ(sub->accLocation(&x, &y, &w, &h, Child(1)), RPC_E_DISCONNECTED);
    sub->Release();

    // The root level, rebuilt under a client, answers for its new items.
    IAccessible *root = ObjectOf(root_->Window);
    ASSERT_NE(root, nullptr);
    root_->Clear();
    AddItem(root_, L"Only|C:\\SM\\Only.lnk");
    EXPECT_EQ(root->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(Text(&IAccessible::get_accName, root, 1), L"Only");
    EXPECT_EQ(root->get_accName(Child(2), &name), E_INVALIDARG);
    root->Release();
}

TEST_F(MenuAccessibilityTest, SearchBoxReadsAsEditableTextWithItsHelp)
{
    MenuState.SearchBoxPresent = true;
    HWND box = MakeSearchBox(root_);
    ASSERT_NE(box, nullptr);
    lstrcpyW(Settings.Local[LocalPressTab], L"Type, then Tab");
    IAccessible *object = ObjectOf(box);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(AccessibleNumber(&IAccessible::get_accRole, object, CHILDID_SELF), ROLE_SYSTEM_TEXT);
    EXPECT_EQ(Text(&IAccessible::get_accValue, object, CHILDID_SELF), L"");
    for (wchar_t c : {L'a', L'b'})
        SendMessageW(box, WM_CHAR, c, 0);
    EXPECT_EQ(Text(&IAccessible::get_accValue, object, CHILDID_SELF), L"ab");
    Settle();
    int valueChanges = 0;
    for (const TEventRecord &e : Events)
        valueChanges += e.event == EVENT_OBJECT_VALUECHANGE && e.window == box &&
                        e.object == OBJID_CLIENT;
    EXPECT_EQ(valueChanges, 2) << "one value change a character";
    EXPECT_EQ(Text(&IAccessible::get_accHelp, object, CHILDID_SELF), L"Type, then Tab");

    DestroyWindow(box);
    BSTR value = nullptr;
    EXPECT_EQ(object->get_accValue(Child(CHILDID_SELF), &value), RPC_E_DISCONNECTED);
    object->Release();
}

int wmain(int argc, wchar_t **argv)
{
    testing::InitGoogleTest(&argc, argv);
    CoInitialize(nullptr);
    testing::AddGlobalTestEnvironment(new MenuWindowEnvironment);
    return RUN_ALL_TESTS();
}
