// The search box and its result list as real windows on a real top level: what typing
// lists and the caption says, the selection moved by keys and the wheel, what Enter and a
// click run, the focus rules, a long paste, a result's context menu and the hidden codes'
// digest through the system's hash provider.
#include "tests/windows/menu_window_fixture.h"

#include <commctrl.h>

#include "menu/context_menu.h"
#include "menu/search_list.h"

namespace {

TMenu *Root = nullptr;

// The stand-in main window answers the two questions the box and the list ask it, as the
// program's main window does, and records everything.
LRESULT CALLBACK AnsweringMainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT answer = RecordingProc(window, message, wParam, lParam);
    if (message == UM_FILL_SEARCH_INDEX && Root)
        FillSearchIndex(Root, reinterpret_cast<TSearchIndex *>(wParam));
    if (message == UM_GET_ROOT_GEOMETRY && Root) {
        RECT r;
        GetWindowRect(Root->Window, &r);
        *reinterpret_cast<int *>(wParam) = r.bottom - r.top;
        answer = LRESULT(DWORD(LOWORD(r.right)) | (DWORD(LOWORD(r.top)) << 16));
    }
    return answer;
}

std::vector<POINT> Popups;
UINT RecordPopup(HMENU, POINT at, HWND)
{
    Popups.push_back(at);
    return 0;
}

class SearchBoxTest : public testing::Test {
protected:
    void SetUp() override
    {
        ClearRecords();
        MenuState = {};
        RegisterWindowClass(SearchListWindowClass(), GetModuleHandleW(nullptr));
        SetWindowLongPtrW(MenuWindowEnvironment::MainWindow, GWLP_WNDPROC,
                          LONG_PTR(AnsweringMainProc));
        lstrcpyW(Settings.Local[LocalItemsFound], L"%i items found");
        lstrcpyW(Settings.Local[LocalPressTab], L"Type to search");
        WNDCLASSW tray{};
        tray.lpfnWndProc = DefWindowProcW;
        tray.hInstance = GetModuleHandleW(nullptr);
        tray.lpszClassName = kTaskbarClass;
        RegisterClassW(&tray);
        taskbar_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kTaskbarClass, L"", WS_POPUP,
                                   0, 728, 1024, 40, nullptr, nullptr, GetModuleHandleW(nullptr),
                                   nullptr);
        Root = MakeLevel({L"Accessories|C:\\SM\\Accessories/", L"Media Player|C:\\SM\\Media.lnk",
                          L"Notepad|C:\\SM\\Notepad.lnk", L"Settings|*ajustes",
                          L"|*busquedarapida"});
        TMenu *sub = Root->ItemAt(0)->Submenu;
        AddItem(sub, L"Paint|C:\\SM\\Accessories\\Paint.lnk");
        AddItem(sub, L"Windows Media Center|C:\\SM\\Accessories\\Center.lnk");
        AddItem(sub, L"Mouse|{6C8EEC18-8D75-41B2-A177-8831D59D2D50}");
        box_ = MakeSearchBox(Root);
        list_ = SearchBoxList(box_);
        listBox_ = HWND(SendMessageW(list_, UM_SEARCH_LIST_BOX, 0, 0));
        ShowLevel(Root);
        Pump(20);
    }
    void TearDown() override
    {
        delete Root;
        Root = nullptr;
        DestroyWindow(taskbar_);
        ContextMenuSeam.TrackPopup = TrackItemPopup;
    }

    void Focus()
    {
        SetFocus(box_);
        ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(list_) != FALSE; }, 2000));
    }
    void Type(const std::wstring &text)
    {
        for (wchar_t c : text)
            SendMessageW(box_, WM_CHAR, c, 0);
    }
    void Key(WPARAM key, bool up = false) { SendMessageW(box_, up ? WM_KEYUP : WM_KEYDOWN, key, 0); }
    std::wstring Caption(HWND window)
    {
        wchar_t text[300] = {};
        GetWindowTextW(window, text, 300);
        return text;
    }
    // The rows as any other program reads them: the list box's strings.
    std::vector<std::wstring> Rows()
    {
        std::vector<std::wstring> rows;
        const int n = int(SendMessageW(listBox_, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            wchar_t text[300] = {};
            SendMessageW(listBox_, LB_GETTEXT, i, LPARAM(text));
            rows.push_back(text);
        }
        return rows;
    }
    int Selected() { return int(SendMessageW(listBox_, LB_GETCURSEL, 0, 0)); }

    HWND taskbar_ = nullptr;
    HWND box_ = nullptr;
    HWND list_ = nullptr;
    HWND listBox_ = nullptr;
};

} // namespace

TEST_F(SearchBoxTest, TypingListsPrefixesFirstAndCountsThemInTheCaption)
{
    Focus();
    EXPECT_EQ(CountReceived(kMainWindowClass, UM_CLOSE_SUB_LEVELS), 1);
    Type(L"media");
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"Media Player", L"Windows Media Center"}));
    EXPECT_EQ(Caption(list_), L"2 items found");
    EXPECT_EQ(Selected(), 0);
    Type(L"x");
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(Caption(list_), L"0 items found");
    EXPECT_EQ(Selected(), -1);
    // Special items and folders are never listed; a control panel item is.
    SendMessageW(box_, WM_COMMAND, CMD_SEARCH_SELECT_ALL, 0);
    Type(L"e");
    EXPECT_TRUE(Rows().empty());
    SendMessageW(box_, WM_COMMAND, CMD_SEARCH_CLEAR, 0);
    Type(L"mo");
    EXPECT_EQ(Rows(), std::vector<std::wstring>{L"Mouse"});
    // The list sits to the right of the top level, as high as it.
    RECT level, list;
    GetWindowRect(Root->Window, &level);
    GetWindowRect(list_, &list);
    EXPECT_EQ(list.left, level.right);
    EXPECT_EQ(list.top, level.top);
    EXPECT_EQ(list.bottom - list.top, level.bottom - level.top);
}

TEST_F(SearchBoxTest, UpDownAndTheWheelMoveTheSelectionWithinTheResults)
{
    Focus();
    Type(L"m");  // Media Player, Mouse, Windows Media Center
    ASSERT_EQ(Rows().size(), 3u);
    Key(VK_DOWN);
    EXPECT_EQ(Selected(), 1);
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(Selected(), 2);  // stops at the last
    Key(VK_UP);
    EXPECT_EQ(Selected(), 1);
    SendMessageW(box_, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(Selected(), 0);
    SendMessageW(box_, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(Selected(), 0);  // stops at the first
    SendMessageW(box_, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(Selected(), 1);
    // Hot tracking: the pointer over a row selects it and runs nothing.
    RECT row;
    SendMessageW(listBox_, LB_GETITEMRECT, 2, LPARAM(&row));
    SendMessageW(listBox_, WM_MOUSEMOVE, 0, MAKELPARAM(row.left + 5, row.top + 2));
    EXPECT_EQ(Selected(), 2);
    EXPECT_TRUE(Launches.empty());
}

TEST_F(SearchBoxTest, EnterAndAClickRunTheSelectedResultOrTheTypedText)
{
    struct Case {
        const wchar_t *typed;
        bool shift;
        bool click;
        std::wstring verb, file, parameters;
        int show;
    } const cases[] = {
        {L"note", false, false, L"open", L"C:\\SM\\Notepad.lnk", L"(null)", SW_SHOWDEFAULT},
        {L"note", true, false, L"runas", L"C:\\SM\\Notepad.lnk", L"(null)", SW_SHOWDEFAULT},
        {L"center", false, true, L"open", L"C:\\SM\\Accessories\\Center.lnk", L"(null)",
         SW_SHOWDEFAULT},
        {L"mous", false, false, L"(null)", L"explorer.exe",
         L"::{26EE0668-A00A-44D7-9371-BEB064C98683}\\0\\::{6C8EEC18-8D75-41B2-A177-8831D59D2D50}",
         SW_SHOWDEFAULT},
        {L"cmd /k echo hi", false, false, L"open", L"cmd", L"/k echo hi", SW_SHOWNORMAL},
        {L"zzz", true, false, L"runas", L"zzz", L"(null)", SW_SHOWNORMAL},
    };
    for (const Case &c : cases) {
        Focus();
        SendMessageW(box_, WM_COMMAND, CMD_SEARCH_CLEAR, 0);
        Type(c.typed);
        ClearRecords();
        if (c.shift)
            Key(VK_SHIFT);
        if (c.click) {
            RECT row;
            SendMessageW(listBox_, LB_GETITEMRECT, 0, LPARAM(&row));
            const LPARAM at = MAKELPARAM(row.left + 5, row.top + 2);
            SendMessageW(listBox_, WM_LBUTTONDOWN, MK_LBUTTON, at);
            SendMessageW(listBox_, WM_LBUTTONUP, 0, at);
        } else {
            SendMessageW(box_, WM_CHAR, L'\r', 0);
        }
        if (c.shift)
            Key(VK_SHIFT, true);
        ASSERT_EQ(Launches.size(), 1u) << c.typed;
        EXPECT_EQ(Launches[0].verb, c.verb) << c.typed;
        EXPECT_EQ(Launches[0].file, c.file) << c.typed;
        EXPECT_EQ(Launches[0].parameters, c.parameters) << c.typed;
        EXPECT_EQ(Launches[0].show, c.show) << c.typed;
        EXPECT_EQ(Launches[0].owner, MenuWindowEnvironment::MainWindow);
        // The menu is closed first.
        EXPECT_EQ(CountReceived(kMainWindowClass, UM_CLOSE_ALL), 1) << c.typed;
    }
    // An empty box runs nothing.
    SendMessageW(box_, WM_COMMAND, CMD_SEARCH_CLEAR, 0);
    ClearRecords();
    SendMessageW(box_, WM_CHAR, L'\r', 0);
    EXPECT_TRUE(Launches.empty());
}

TEST_F(SearchBoxTest, FocusRulesKeepTheMenuForItsOwnWindowsOnly)
{
    Focus();
    EXPECT_EQ(CountReceived(kMainWindowClass, UM_CLOSE_SUB_LEVELS), 1);
    // The whole text is selected on entry.
    Type(L"pa");
    SetFocus(Root->Window);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(list_); }, 2000));
    Focus();
    Type(L"x");
    EXPECT_EQ(Caption(box_), L"x");
    // To a level: the list hides after its delay and the menu stays.
    SetFocus(Root->Window);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(list_); }, 2000));
    EXPECT_EQ(CountReceived(kMainWindowClass, UM_CLOSE_ALL), 0);
    // To a window that is none of ours: the menu closes.
    Focus();
    HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    SetFocus(other);
    EXPECT_EQ(CountReceived(kMainWindowClass, UM_CLOSE_ALL), 1);
    DestroyWindow(other);
}

TEST_F(SearchBoxTest, ALongPasteIsCutAtTheLimitAndUndoneWhole)
{
    Focus();
    Type(L"ab");
    const std::wstring pasted = std::wstring(1000, L'p') + L"\r\nsecond line";
    ASSERT_TRUE(OpenClipboard(box_));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (pasted.size() + 1) * sizeof(wchar_t));
    lstrcpyW(static_cast<wchar_t *>(GlobalLock(memory)), pasted.c_str());
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();

    Key(VK_CONTROL);
    SendMessageW(box_, WM_KEYDOWN, 'V', 0);
    Key(VK_CONTROL, true);
    const std::wstring text = Caption(box_);
    EXPECT_EQ(text.size(), 255u);
    EXPECT_EQ(text.substr(0, 3), L"abp");
    SendMessageW(box_, WM_COMMAND, CMD_SEARCH_UNDO, 0);
    EXPECT_EQ(Caption(box_), L"ab");
    // Copy of a selection puts it on the clipboard as Unicode text.
    Key(VK_SHIFT);
    Key(VK_LEFT);
    Key(VK_SHIFT, true);
    SendMessageW(box_, WM_COMMAND, CMD_SEARCH_COPY, 0);
    ASSERT_TRUE(OpenClipboard(box_));
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    EXPECT_STREQ(static_cast<const wchar_t *>(GlobalLock(data)), L"b");
    GlobalUnlock(data);
    CloseClipboard();
}

TEST_F(SearchBoxTest, MouseKeysAndTheClearButtonEditTheText)
{
    Focus();
    Type(L"one two");
    std::wstring copied;
    auto copySelection = [&] {
        SendMessageW(box_, WM_COMMAND, CMD_SEARCH_COPY, 0);
        if (!OpenClipboard(box_))
            return std::wstring(L"(no clipboard)");
        HANDLE data = GetClipboardData(CF_UNICODETEXT);
        std::wstring text = data ? static_cast<const wchar_t *>(GlobalLock(data)) : L"";
        if (data)
            GlobalUnlock(data);
        CloseClipboard();
        return text;
    };
    // The x of a boundary: the text's left margin plus the extent before it, in the item font.
    auto boundaryX = [&](const wchar_t *before) {
        HDC dc = GetDC(box_);
        HFONT font = Settings.DrawFontDefault ? Settings.SystemMenuFont : Settings.MenuFont;
        HGDIOBJ old = SelectObject(dc, font ? HGDIOBJ(font) : GetStockObject(DEFAULT_GUI_FONT));
        SIZE size = {};
        GetTextExtentPoint32W(dc, before, lstrlenW(before), &size);
        SelectObject(dc, old);
        ReleaseDC(box_, dc);
        return 4 + size.cx;
    };
    SendMessageW(box_, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(boundaryX(L"one t") + 1, 5));
    EXPECT_EQ(copySelection(), L"two");
    // A press at a boundary and a drag to another select between them.
    SendMessageW(box_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(boundaryX(L"o"), 5));
    SendMessageW(box_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(boundaryX(L"one t"), 5));
    SendMessageW(box_, WM_LBUTTONUP, 0, MAKELPARAM(boundaryX(L"one t"), 5));
    EXPECT_EQ(copySelection(), L"ne t");
    // Ctrl+Shift+Left from the end selects the last word; typing replaces it.
    Key(VK_END);
    Key(VK_CONTROL);
    Key(VK_SHIFT);
    Key(VK_LEFT);
    Key(VK_SHIFT, true);
    Key(VK_CONTROL, true);
    EXPECT_EQ(copySelection(), L"two");
    Type(L"three");
    EXPECT_EQ(Caption(box_), L"one three");
    // The clear button empties the box, refilters and keeps the focus in it.
    HWND button = GetDlgItem(box_, kSearchButtonControlId);
    ASSERT_NE(button, nullptr);
    Type(L"x");
    SetFocus(button);
    SendMessageW(box_, WM_COMMAND, MAKEWPARAM(kSearchButtonControlId, BN_CLICKED), LPARAM(button));
    EXPECT_EQ(Caption(box_), L"");
    EXPECT_EQ(Caption(list_), L"0 items found");
    EXPECT_EQ(GetFocus(), box_);
    EXPECT_EQ(CountReceived(kMainWindowClass, UM_CLOSE_ALL), 0);
}

TEST_F(SearchBoxTest, ARightReleaseOnTheSelectedRowOpensThatItemsContextMenu)
{
    ContextMenuSeam.TrackPopup = RecordPopup;
    Popups.clear();
    Focus();
    Type(L"paint");
    RECT row;
    SendMessageW(listBox_, LB_GETITEMRECT, 0, LPARAM(&row));
    const LPARAM at = MAKELPARAM(row.left + 5, row.top + 2);
    ASSERT_EQ(Rows(), std::vector<std::wstring>{L"Paint"});
    SendMessageW(listBox_, WM_RBUTTONDOWN, MK_RBUTTON, at);
    EXPECT_EQ(GetFocus(), box_);
    SendMessageW(listBox_, WM_RBUTTONUP, 0, at);
    EXPECT_STREQ(MenuState.SharedPath, L"C:\\SM\\Accessories\\Paint.lnk");
    EXPECT_EQ(Popups.size(), 1u);
    ASSERT_NE(MenuState.CurrentItem, nullptr);
    EXPECT_STREQ(MenuState.CurrentItem->Path, L"C:\\SM\\Accessories\\Paint.lnk");
}

TEST_F(SearchBoxTest, HiddenCodesCompareTheMd5OfTheUtf16Text)
{
    EXPECT_EQ(SearchTextDigest(u"abc"), "ce1473cf80c6b3fda8e3dfc006adc315");
    EXPECT_EQ(SearchTextDigest(u""), "d41d8cd98f00b204e9800998ecf8427e");
}

int wmain(int argc, wchar_t **argv)
{
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new MenuWindowEnvironment);
    return RUN_ALL_TESTS();
}
