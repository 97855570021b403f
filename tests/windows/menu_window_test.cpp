// Real menu levels driven by window messages: layout, placement, keys, type-ahead, button
// presses, the open and close timers and the focus rule.
#include "tests/windows/menu_window_fixture.h"

#include <commctrl.h>
#include <windowsx.h>

namespace {

// A taskbar stand-in along the bottom of the screen, found before Wine's own hidden one.
class MenuWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        ClearRecords();
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
                           L"|*separator", L"bash|C:\\SM\\bash.lnk", L"Calculator|C:\\SM\\Calc.lnk",
                           L"Backup|C:\\SM\\Backup.lnk"});
        sub_ = root_->ItemAt(0)->Submenu;
        AddItem(sub_, L"Notepad|C:\\SM\\Accessories\\Notepad.lnk");
        AddItem(sub_, L"Paint|C:\\SM\\Accessories\\Paint.lnk");
    }
    void TearDown() override
    {
        delete root_;
        DestroyWindow(taskbar_);
    }

    POINT Centre(TMenu *level, int index)
    {
        const RECT &r = level->ItemAt(index)->Rect;
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void Send(TMenu *level, UINT message, WPARAM wParam, POINT p)
    {
        SendMessageW(level->Window, message, wParam, MAKELPARAM(p.x, p.y));
    }
    void Key(TMenu *level, WPARAM key) { SendMessageW(level->Window, WM_KEYDOWN, key, 0); }
    void Char(TMenu *level, wchar_t c) { SendMessageW(level->Window, WM_CHAR, c, 0); }
    void Open()
    {
        ShowLevel(root_);
        Pump(20);
    }

    HWND taskbar_ = nullptr;
    TMenu *root_ = nullptr;
    TMenu *sub_ = nullptr;
};

} // namespace

TEST_F(MenuWindowTest, TopLevelOpensAboveTheTaskbarWithTheFirstItemHot)
{
    Open();
    RECT window;
    GetWindowRect(root_->Window, &window);
    EXPECT_TRUE(IsWindowVisible(root_->Window));
    EXPECT_EQ(window.left, 0);
    EXPECT_EQ(window.bottom, 728);
    EXPECT_EQ(window.right - window.left, root_->Width);
    EXPECT_EQ(root_->HotIndex(), 0);
    EXPECT_EQ(GetFocus(), root_->Window);
    EXPECT_EQ(CountReceived(kStartButtonClass, UM_BUTTON_PUSHED), 1);
}

TEST_F(MenuWindowTest, LayoutGivesEveryItemOfAColumnItsWidthAndStacksThem)
{
    root_->Layout();
    int y = 0;
    for (int i = 0; i < root_->Count(); ++i) {
        const TMenuItem *item = root_->ItemAt(i);
        EXPECT_EQ(item->Rect.top, y) << i;
        EXPECT_EQ(item->Rect.right - item->Rect.left, root_->Width) << i;
        EXPECT_EQ(int(item->Width), root_->Width) << i;
        y = item->Rect.bottom;
    }
    EXPECT_EQ(root_->ItemAt(2)->Rect.bottom - root_->ItemAt(2)->Rect.top, 3);  // separator
    EXPECT_EQ(y, root_->Height);

    // A monitor too short for the level puts the later items into more columns.
    root_->MonitorHeight = root_->ItemAt(0)->Rect.bottom * 2 + 1;
    root_->Layout();
    EXPECT_GT(root_->ItemAt(root_->Count() - 1)->Rect.left, 0);
    for (int i = 0; i < root_->Count(); ++i)
        EXPECT_LE(root_->ItemAt(i)->Rect.bottom, root_->MonitorHeight) << i;
}

TEST_F(MenuWindowTest, SubLevelOpensBesideItsItemOverlappingItByHalfAnIcon)
{
    Open();
    Key(root_, VK_RIGHT);
    Pump(20);
    ASSERT_TRUE(IsWindowVisible(sub_->Window));
    RECT parent, child;
    GetWindowRect(root_->Window, &parent);
    GetWindowRect(sub_->Window, &child);
    EXPECT_EQ(child.left, parent.left + root_->ItemAt(0)->Rect.right - Settings.IconSize2 / 2);
    EXPECT_TRUE(sub_->OpensRight);
    EXPECT_EQ(GetFocus(), sub_->Window);

    // Left closes it again and gives the focus back.
    Key(sub_, VK_LEFT);
    EXPECT_FALSE(IsWindowVisible(sub_->Window));
    EXPECT_TRUE(IsWindowVisible(root_->Window));
    EXPECT_EQ(GetFocus(), root_->Window);
}

TEST_F(MenuWindowTest, ArrowsSkipSeparatorsAndWrap)
{
    Open();
    struct Step {
        WPARAM key;
        int hot;
    } steps[] = {{VK_UP, 5}, {VK_DOWN, 0}, {VK_DOWN, 1}, {VK_DOWN, 3}, {VK_UP, 1}};
    for (const Step &s : steps) {
        Key(root_, s.key);
        EXPECT_EQ(root_->HotIndex(), s.hot);
    }
}

TEST_F(MenuWindowTest, SeparatorsOnlyLevelSelectsNothing)
{
    TMenu *level = MakeLevel({L"|*separator", L"|*separator"});
    SetHot(level, -1);
    Key(level, VK_DOWN);
    Key(level, VK_UP);
    EXPECT_EQ(level->HotIndex(), -1);
    delete level;
}

TEST_F(MenuWindowTest, EnterOpensAFolderAndRunsAProgram)
{
    Open();
    Key(root_, VK_RETURN);
    EXPECT_TRUE(IsWindowVisible(sub_->Window));
    EXPECT_TRUE(Launches.empty());

    Key(sub_, VK_DOWN);
    Key(sub_, VK_RETURN);
    Pump(20);
    ASSERT_EQ(Launches.size(), 1u);
    EXPECT_EQ(Launches[0].file, L"C:\\SM\\Accessories\\Paint.lnk");
    EXPECT_FALSE(IsWindowVisible(sub_->Window));
    EXPECT_FALSE(IsWindowVisible(root_->Window));
    EXPECT_EQ(CountReceived(kMainWindowClass, UM_MENUS_CLOSED), 1);
    EXPECT_EQ(CountReceived(kStartButtonClass, UM_BUTTON_RELEASED), 1);
}

TEST_F(MenuWindowTest, EscapeHidesTheLevelItWasPressedOn)
{
    Open();
    Key(root_, VK_RIGHT);
    Key(sub_, VK_ESCAPE);
    EXPECT_FALSE(IsWindowVisible(sub_->Window));
    EXPECT_TRUE(IsWindowVisible(root_->Window));
    Key(root_, VK_ESCAPE);
    Pump(20);
    EXPECT_FALSE(IsWindowVisible(root_->Window));
    // The top level losing the focus counts as the menu closing.
    EXPECT_EQ(CountReceived(kStartButtonClass, UM_BUTTON_RELEASED), 1);
}

// With the focus back on a sub-level whose own sub-level is open (a click on it), leaving
// it must not leave the deeper level floating on its own.
TEST_F(MenuWindowTest, EscapeAndLeftOnASubLevelCloseEveryLevelBelowIt)
{
    TMenu *tools = AddItem(sub_, L"Tools|C:\\SM\\Accessories\\Tools/")->Submenu;
    AddItem(tools, L"Hammer|C:\\SM\\Accessories\\Tools\\Hammer.lnk");
    for (WPARAM key : {VK_ESCAPE, VK_LEFT}) {
        Open();
        Key(root_, VK_RIGHT);
        SetHot(sub_, 2);
        Key(sub_, VK_RIGHT);
        ASSERT_TRUE(IsWindowVisible(tools->Window)) << key;
        SetFocus(sub_->Window);
        Key(sub_, key);
        EXPECT_FALSE(IsWindowVisible(sub_->Window)) << key;
        EXPECT_FALSE(IsWindowVisible(tools->Window)) << key;
        EXPECT_TRUE(IsWindowVisible(root_->Window)) << key;
        EXPECT_EQ(GetFocus(), root_->Window) << key;
        CloseAll(root_);
    }
}

TEST_F(MenuWindowTest, SpaceClosesEverythingAndOpensTheShutDownDialog)
{
    Open();
    Key(root_, VK_RIGHT);
    Key(sub_, VK_SPACE);
    Pump(20);
    EXPECT_FALSE(IsWindowVisible(sub_->Window));
    EXPECT_FALSE(IsWindowVisible(root_->Window));
    ASSERT_EQ(Launches.size(), 1u);
    EXPECT_EQ(Launches[0].what, L"shutdown");
}

TEST_F(MenuWindowTest, TabFocusesTheSearchBoxOnlyWhenThereIsOne)
{
    Open();
    HWND box = MakeSearchBox(root_);
    Key(root_, VK_TAB);
    EXPECT_EQ(GetFocus(), root_->Window);
    MenuState.SearchBoxPresent = true;
    Key(root_, VK_RIGHT);
    Key(root_, VK_TAB);
    EXPECT_EQ(GetFocus(), box);
    EXPECT_FALSE(IsWindowVisible(sub_->Window));
}

TEST_F(MenuWindowTest, TypeAheadCyclesSeveralMatchesAndRunsASingleOne)
{
    Open();
    Char(root_, L'b');
    EXPECT_EQ(root_->HotIndex(), 1);
    Char(root_, L'B');
    EXPECT_EQ(root_->HotIndex(), 3);
    Char(root_, L'b');
    EXPECT_EQ(root_->HotIndex(), 5);
    EXPECT_TRUE(Launches.empty());
    EXPECT_TRUE(IsWindowVisible(root_->Window));

    Char(root_, L'a');  // the only folder: opens it
    EXPECT_TRUE(IsWindowVisible(sub_->Window));
    Char(sub_, L'p');   // the only program with P: runs it
    Pump(20);
    ASSERT_EQ(Launches.size(), 1u);
    EXPECT_EQ(Launches[0].file, L"C:\\SM\\Accessories\\Paint.lnk");
    EXPECT_FALSE(IsWindowVisible(root_->Window));
}

TEST_F(MenuWindowTest, PressAndReleaseOnOneItemRunsItButNotAcrossItems)
{
    Open();
    const POINT browser = Centre(root_, 1), calculator = Centre(root_, 4);
    Send(root_, WM_MOUSEMOVE, 0, browser);
    Send(root_, WM_LBUTTONDOWN, MK_LBUTTON, browser);
    Send(root_, WM_MOUSEMOVE, MK_LBUTTON, calculator);
    Send(root_, WM_LBUTTONUP, 0, calculator);
    Pump(20);
    EXPECT_TRUE(Launches.empty());
    EXPECT_TRUE(IsWindowVisible(root_->Window));

    Send(root_, WM_LBUTTONDOWN, MK_LBUTTON, calculator);
    Send(root_, WM_LBUTTONUP, 0, calculator);
    Pump(20);
    ASSERT_EQ(Launches.size(), 1u);
    EXPECT_EQ(Launches[0].file, L"C:\\SM\\Calc.lnk");
    EXPECT_FALSE(IsWindowVisible(root_->Window));
}

TEST_F(MenuWindowTest, ClickOnAFolderOpensItsLevel)
{
    Open();
    const POINT folder = Centre(root_, 0);
    Send(root_, WM_LBUTTONDOWN, MK_LBUTTON, folder);
    Send(root_, WM_LBUTTONUP, 0, folder);
    EXPECT_TRUE(IsWindowVisible(sub_->Window));
    EXPECT_TRUE(Launches.empty());
}

TEST_F(MenuWindowTest, RestingOnAFolderOpensItAndOnAProgramClosesIt)
{
    Open();
    POINT folder = Centre(root_, 0);
    POINT screen = folder;
    ClientToScreen(root_->Window, &screen);
    SetCursorPos(screen.x, screen.y);
    Send(root_, WM_MOUSEMOVE, 0, {folder.x + 1, folder.y});
    Send(root_, WM_MOUSEMOVE, 0, folder);
    EXPECT_FALSE(IsWindowVisible(sub_->Window));
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(sub_->Window) != FALSE; }, 1000));

    const POINT program = Centre(root_, 1);
    Send(root_, WM_MOUSEMOVE, 0, program);
    Send(root_, WM_MOUSEMOVE, 0, {program.x + 1, program.y});
    EXPECT_TRUE(IsWindowVisible(sub_->Window));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(sub_->Window); }, 1000));
    EXPECT_TRUE(IsWindowVisible(root_->Window));
}

TEST_F(MenuWindowTest, FocusLeavingForAnotherWindowClosesTheMenu)
{
    Open();
    Key(root_, VK_RIGHT);
    // To another level or the start button: the menu stays.
    SendMessageW(root_->Window, WM_KILLFOCUS, reinterpret_cast<WPARAM>(sub_->Window), 0);
    SendMessageW(sub_->Window, WM_KILLFOCUS,
                 reinterpret_cast<WPARAM>(MenuWindowEnvironment::StartButton), 0);
    EXPECT_TRUE(IsWindowVisible(root_->Window));
    EXPECT_TRUE(IsWindowVisible(sub_->Window));

    HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    SetFocus(other);
    Pump(20);
    EXPECT_FALSE(IsWindowVisible(root_->Window));
    EXPECT_FALSE(IsWindowVisible(sub_->Window));
    EXPECT_EQ(CountReceived(kMainWindowClass, UM_MENUS_CLOSED), 1);
    DestroyWindow(other);
}

TEST_F(MenuWindowTest, TooltipShowsTheHotItemsTipOnlyUnderThePointer)
{
    Open();
    lstrcpyW(root_->ItemAt(1)->Tip, L"Opens the web");
    SetHot(root_, 1);
    POINT inside = Centre(root_, 1);
    ClientToScreen(root_->Window, &inside);
    struct Case {
        POINT cursor;
        const wchar_t *text;
    } cases[] = {{inside, L"Opens the web"}, {{2000, 2000}, L""}};
    for (const Case &c : cases) {
        SetCursorPos(c.cursor.x, c.cursor.y);
        NMTTDISPINFOW info{};
        info.hdr.code = TTN_GETDISPINFOW;
        info.hdr.hwndFrom = root_->Tooltip;
        SendMessageW(root_->Window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        ASSERT_NE(info.lpszText, nullptr);
        EXPECT_STREQ(info.lpszText, c.text);
    }
}

int wmain(int argc, wchar_t **argv)
{
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new MenuWindowEnvironment);
    return RUN_ALL_TESTS();
}
