#include "menu/search_list.h"

#include <bcrypt.h>
#include <commctrl.h>
#include <uxtheme.h>
#include <vsstyle.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "common/messages.h"
#include "common/win_guards.h"
#include "common/win_text.h"
#include "menu/launch_seam.h"
#include "menu/menu_build.h"
#include "menu/menu_item.h"
#include "menu/search_box.h"
#include "menu/tmenu.h"
#include "settings/settings.h"

namespace {

// The classes have no extra bytes: the window's state hangs on its user data.
constexpr int kStateSlot = GWLP_USERDATA;
constexpr int kListBoxId = 1;
constexpr UINT_PTR kListSubclassId = 1;
constexpr UINT kHideDelayMs = 200;
constexpr int kMinimumWidth = 100;
constexpr DWORD kListStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CAPTION | WS_THICKFRAME;  // 0x84C40000
// The rows are drawn from the results, but hold their captions too: screen readers and other
// programs read a list box's rows as its strings.
constexpr DWORD kListBoxStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY |
                                LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
// The control panel namespace that runs a "{...}" item.
constexpr const wchar_t *kControlPanelPrefix = L"::{26EE0668-A00A-44D7-9371-BEB064C98683}\\0\\::";

struct TSearchListState {
    HWND ListBox = nullptr;
    HWND Box = nullptr;
    TSearchIndex Index;
    std::vector<int> Results;
    std::vector<int> CaptionWidths;  // per index entry, measured once; -1 until then
    int Width = kMinimumWidth;       // widest result caption, at least 100
    bool Pressed = false;            // a left press on a row is under way
    // Opened once, not for every row: opening a theme costs more than drawing a row.
    HTHEME ListTheme = nullptr;      // LISTVIEW: the selection and the text extents
    HTHEME PanelTheme = nullptr;     // CONTROLPANEL: the row text
};

TSearchListState *StateOf(HWND window)
{
    return reinterpret_cast<TSearchListState *>(GetWindowLongPtrW(window, kStateSlot));
}

HFONT ItemFont()
{
    HFONT font = Settings.DrawFontDefault ? Settings.SystemMenuFont : Settings.MenuFont;
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

struct TListGeometry {
    int X, Y, Height;
};

// Right edge, top and height of the top level, from the main window.
TListGeometry AskGeometry()
{
    int height = 0;
    HWND main = FindWindowW(kMainWindowClass, nullptr);
    const LRESULT packed = main ? SendMessageW(main, UM_GET_ROOT_GEOMETRY, WPARAM(&height), 0) : 0;
    return {short(LOWORD(packed)), short(HIWORD(packed)), std::max(height, 0)};
}

int WindowWidth(const TSearchListState &state)
{
    return state.Width + GetSystemMetrics(SM_CYSMICON) + 2 * GetSystemMetrics(SM_CXFRAME) + 8 +
           GetSystemMetrics(SM_CXVSCROLL);
}

void FitListBox(HWND window, const TSearchListState &state)
{
    RECT client;
    GetClientRect(window, &client);
    MoveWindow(state.ListBox, 0, 0, client.right, client.bottom, TRUE);
}

void Resize(HWND window, const TSearchListState &state)
{
    const TListGeometry at = AskGeometry();
    RECT now;
    GetWindowRect(window, &now);
    // Sizing a top-level window is slow here even when nothing changes.
    if (now.right - now.left == WindowWidth(state) && now.bottom - now.top == at.Height)
        return;
    SetWindowPos(window, nullptr, 0, 0, WindowWidth(state), at.Height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    FitListBox(window, state);
}

int CaptionWidth(TSearchListState &state, HDC dc, HTHEME listTheme, int entry)
{
    int &width = state.CaptionWidths[size_t(entry)];
    if (width >= 0)
        return width;
    const wchar_t *caption = W(state.Index.Entries[size_t(entry)].Caption);
    RECT extent = {};
    SIZE size = {};
    if (listTheme &&
        SUCCEEDED(GetThemeTextExtent(listTheme, dc, LVP_LISTITEM, LISS_NORMAL, caption, -1,
                                     DT_SINGLELINE | DT_NOPREFIX, nullptr, &extent)))
        width = extent.right - extent.left;
    else if (GetTextExtentPoint32W(dc, caption, lstrlenW(caption), &size))
        width = size.cx;
    else
        width = 0;
    return width;
}

void MeasureResults(HWND window, TSearchListState &state)
{
    state.Width = kMinimumWidth;
    if (state.Results.empty())
        return;
    HDC dc = GetDC(window);
    {
        TSelection font(dc, ItemFont());
        for (int entry : state.Results)
            state.Width = std::max(state.Width, CaptionWidth(state, dc, state.ListTheme, entry));
    }
    ReleaseDC(window, dc);
}

void HideList(HWND window)
{
    ShowWindow(window, SW_HIDE);
}

void RunHiddenCode(HWND window, THiddenCode code)
{
    HWND main = FindWindowW(kMainWindowClass, nullptr);
    switch (code) {
    case THiddenCode::None:
        return;
    case THiddenCode::DecorationOn:
    case THiddenCode::DecorationOff:
        if (code == THiddenCode::DecorationOn)
            Settings.Flags &= ~kSettingsFlagNoDecoration;
        else
            Settings.Flags |= kSettingsFlagNoDecoration;
        SendMessageW(main, UM_CLOSE_ALL, 0, 0);
        SaveSettings();
        return;
    case THiddenCode::EffectDialog2:
    case THiddenCode::EffectDialog1:
        HideList(window);
        SendMessageW(main, UM_CLOSE_ALL, 0, 0);
        SendMessageW(main, code == THiddenCode::EffectDialog2 ? UM_EFFECT_DIALOG_2 : UM_EFFECT_DIALOG_1,
                     0, 0);
        return;
    }
}

void Refilter(HWND window, TSearchListState &state)
{
    wchar_t text[kSearchQueryUnits] = {};
    if (state.Box)
        GetWindowTextW(state.Box, text, int(kSearchQueryUnits));
    const std::u16string typed(U16(text));
    state.CaptionWidths.resize(state.Index.Entries.size(), -1);
    FilterSearchIndex(state.Index, SearchFolded(typed), state.Results);
    MeasureResults(window, state);
    Resize(window, state);

    SendMessageW(state.ListBox, WM_SETREDRAW, FALSE, 0);
    SendMessageW(state.ListBox, LB_RESETCONTENT, 0, 0);
    // One allocation for all rows, and no repaint until the last: adding rows one by one
    // otherwise costs frames on a large menu.
    SendMessageW(state.ListBox, LB_INITSTORAGE, state.Results.size(),
                 state.Results.size() * kSearchEntryUnits * sizeof(wchar_t));
    // Straight to the list box's own procedure: through the pointer subclass every row
    // would cost several times as much here.
    const auto listBoxProc = WNDPROC(GetClassLongPtrW(state.ListBox, GCLP_WNDPROC));
    for (int entry : state.Results)
        CallWindowProcW(listBoxProc, state.ListBox, LB_ADDSTRING, 0,
                        LPARAM(W(state.Index.Entries[size_t(entry)].Caption)));
    if (!state.Results.empty())
        SendMessageW(state.ListBox, LB_SETCURSEL, 0, 0);
    SendMessageW(state.ListBox, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(state.ListBox, nullptr, TRUE);

    const int found = int(state.Results.size());
    RunHiddenCode(window, typed.empty() ? THiddenCode::None
                                        : HiddenCodeOfDigest(SearchTextDigest(typed)));
    // A caption of a top-level window goes to the display server: only a new one is set.
    const std::u16string caption = CountCaption(U16View(Settings.Local[LocalItemsFound]), found);
    wchar_t shown[kSearchEntryUnits] = {};
    GetWindowTextW(window, shown, int(kSearchEntryUnits));
    if (caption != U16View(shown))
        SetWindowTextW(window, W(caption.c_str()));
}

void AppendItem(const TMenuItem *item, void *context)
{
    AppendSearchEntry(*static_cast<TSearchIndex *>(context), U16View(item->Path),
                      U16View(item->Caption), item->Icon);
}

void ShowResults(HWND window, TSearchListState &state)
{
    KillTimer(window, TIMER_SEARCH_HIDE);
    ClearSearchIndex(state.Index);
    state.CaptionWidths.clear();
    if (HWND main = FindWindowW(kMainWindowClass, nullptr))
        SendMessageW(main, UM_FILL_SEARCH_INDEX, WPARAM(&state.Index), 0);
    // The results point into the index, so a new index needs them again.
    Refilter(window, state);
    ShowWindow(window, SW_SHOWNA);
}

void OnHideTimer(HWND window, TSearchListState &state)
{
    KillTimer(window, TIMER_SEARCH_HIDE);
    HideList(window);
    SendMessageW(state.ListBox, LB_RESETCONTENT, 0, 0);
    state.Results.clear();
    state.CaptionWidths.clear();
    ClearSearchIndex(state.Index);
}

void Select(TSearchListState &state, int step)
{
    const int current = int(SendMessageW(state.ListBox, LB_GETCURSEL, 0, 0));
    const int count = int(SendMessageW(state.ListBox, LB_GETCOUNT, 0, 0));
    if ((step < 0 && current >= 1) || (step > 0 && current < count - 1))
        SendMessageW(state.ListBox, LB_SETCURSEL, current + step, 0);
}

void RunTypedText(HWND main, const wchar_t *verb, const std::u16string &typed)
{
    // A program name with spaces of its own runs whole; otherwise the first word is the
    // program and the rest its parameters, as the Run dialog does.
    if (GetFileAttributesW(W(typed.c_str())) != INVALID_FILE_ATTRIBUTES) {
        LaunchSeam.ShellExecute(main, verb, W(typed.c_str()), nullptr, kShowNormal);
        return;
    }
    const TCommandLine line = SplitCommandLine(typed);
    if (line.Program.empty())
        return;
    LaunchSeam.ShellExecute(main, verb, W(line.Program.c_str()),
                            line.Parameters.empty() ? nullptr : W(line.Parameters.c_str()),
                            kShowNormal);
}

// Enter in the box or a click on a row: the selected result, or the typed text.
void RunSelected(TSearchListState &state)
{
    HWND main = FindWindowW(kMainWindowClass, nullptr);
    const wchar_t *verb = SearchBoxShiftDown(state.Box) ? L"runas" : L"open";
    const int row = int(SendMessageW(state.ListBox, LB_GETCURSEL, 0, 0));
    if (row < 0 || size_t(row) >= state.Results.size()) {
        wchar_t text[kSearchQueryUnits] = {};
        GetWindowTextW(state.Box, text, int(kSearchQueryUnits));
        if (!text[0])
            return;
        SendMessageW(main, UM_CLOSE_ALL, 0, 0);
        RunTypedText(main, verb, std::u16string(U16(text)));
        return;
    }
    // Closing the menu may clear the index: the path is taken first.
    const std::wstring path = W(state.Index.Entries[size_t(state.Results[size_t(row)])].Path);
    SendMessageW(main, UM_CLOSE_ALL, 0, 0);
    if (path[0] == L'{') {
        const std::wstring parameters = kControlPanelPrefix + path;
        LaunchSeam.ShellExecute(main, nullptr, L"explorer.exe", parameters.c_str(), kShowDefault);
    } else {
        LaunchSeam.ShellExecute(main, verb, path.c_str(), nullptr, kShowDefault);
    }
}

void ShowResultMenu(TSearchListState &state)
{
    const int row = int(SendMessageW(state.ListBox, LB_GETCURSEL, 0, 0));
    if (row < 0 || size_t(row) >= state.Results.size() || !state.Box)
        return;
    lstrcpynW(MenuState.SharedPath, W(state.Index.Entries[size_t(state.Results[size_t(row)])].Path),
              MAX_PATH);
    SendMessageW(GetParent(state.Box), WM_CONTEXTMENU, WPARAM(kSearchResultContextMarker),
                 LPARAM(kSearchResultContextMarker));
}

void DrawRow(const DRAWITEMSTRUCT &item, const TSearchListState &state)
{
    if (item.itemID == UINT(-1) || item.itemID >= state.Results.size())
        return;
    const TSearchEntry &entry = state.Index.Entries[size_t(state.Results[item.itemID])];
    const bool selected = item.itemState & ODS_SELECTED;
    HDC dc = item.hDC;
    RECT row = item.rcItem;
    HTHEME listTheme = state.ListTheme;
    FillRect(dc, &row, GetSysColorBrush(COLOR_WINDOW));
    if (selected && listTheme)
        DrawThemeBackground(listTheme, dc, LVP_LISTITEM, LISS_SELECTED, &row, nullptr);
    else if (selected)
        FillRect(dc, &row, GetSysColorBrush(COLOR_HIGHLIGHT));
    const int iconSize = GetSystemMetrics(SM_CXSMICON);
    if (entry.Icon)
        DrawIconEx(dc, row.left + 2, row.top + 2, HICON(entry.Icon), iconSize,
                   GetSystemMetrics(SM_CYSMICON), 0, nullptr, DI_NORMAL);
    RECT text = row;
    text.left += iconSize + 4;
    HTHEME panelTheme = state.PanelTheme;
    TSelection font(dc, ItemFont());
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    if (panelTheme) {
        DrawThemeText(panelTheme, dc, CPANEL_BODYTEXT, 0, W(entry.Caption), -1, format, 0,
                      &text);
        return;
    }
    SetBkMode(dc, TRANSPARENT);
    // Without a list-view theme the selection is the highlight colour, which needs its text colour.
    SetTextColor(dc, GetSysColor(selected && !listTheme ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextW(dc, W(entry.Caption), -1, &text, format);
}

int RowAt(HWND listBox, LPARAM lParam)
{
    const LRESULT hit = SendMessageW(listBox, LB_ITEMFROMPOINT, 0, lParam);
    return HIWORD(hit) ? -1 : int(LOWORD(hit));
}

// The list box: hot tracking, clicks that never take the focus from the box, the right
// button for a result's context menu, and keys handed back to the box.
LRESULT CALLBACK ListBoxProc(HWND listBox, UINT message, WPARAM wParam, LPARAM lParam,
                             UINT_PTR, DWORD_PTR data)
{
    HWND list = HWND(data);
    TSearchListState *state = StateOf(list);
    if (!state)
        return DefSubclassProc(listBox, message, wParam, lParam);
    switch (message) {
    case WM_SETCURSOR:
        if (LOWORD(lParam) != HTCLIENT)
            break;
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_MOUSEMOVE: {
        const int row = RowAt(listBox, lParam);
        if (row >= 0 && row != int(SendMessageW(listBox, LB_GETCURSEL, 0, 0)))
            SendMessageW(listBox, LB_SETCURSEL, row, 0);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (const int row = RowAt(listBox, lParam); row >= 0) {
            SendMessageW(listBox, LB_SETCURSEL, row, 0);
            state->Pressed = true;
            SetCapture(listBox);
        }
        return 0;
    case WM_LBUTTONUP:
        if (state->Pressed) {
            state->Pressed = false;
            ReleaseCapture();
            const int row = RowAt(listBox, lParam);
            if (row >= 0 && row == int(SendMessageW(listBox, LB_GETCURSEL, 0, 0)))
                SendMessageW(list, WM_COMMAND, MAKEWPARAM(kListBoxId, LBN_SELCHANGE), LPARAM(listBox));
        }
        return 0;
    case WM_CAPTURECHANGED:
        state->Pressed = false;
        break;
    case WM_RBUTTONDOWN:
        if (state->Box)
            SetFocus(state->Box);
        return 0;
    case WM_RBUTTONUP: {
        const int row = RowAt(listBox, lParam);
        if (row >= 0 && row == int(SendMessageW(listBox, LB_GETCURSEL, 0, 0)))
            SendMessageW(list, UM_SEARCH_CONTEXT_MENU, 0, 0);
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_TAB) {
            SetFocus(state->Box);
        } else if (wParam == VK_ESCAPE) {
            PostMessageW(list, UM_SEARCH_HIDE_LATER, 0, 0);
            HideCaret(state->Box);
            PostMessageW(FindWindowW(kMainWindowClass, nullptr), UM_CLOSE_ALL, 0, 0);
        } else {
            PostMessageW(state->Box, WM_KEYDOWN, wParam, lParam);
        }
        return 0;
    case WM_NCDESTROY:
        RemoveWindowSubclass(listBox, ListBoxProc, kListSubclassId);
        break;
    }
    return DefSubclassProc(listBox, message, wParam, lParam);
}

void OpenThemes(HWND window, TSearchListState &state)
{
    for (HTHEME theme : {state.ListTheme, state.PanelTheme})
        if (theme)
            CloseThemeData(theme);
    state.ListTheme = OpenThemeData(window, L"LISTVIEW");
    state.PanelTheme = OpenThemeData(window, L"CONTROLPANEL");
    std::fill(state.CaptionWidths.begin(), state.CaptionWidths.end(), -1);
}

LRESULT OnCreate(HWND window)
{
    auto *state = new TSearchListState;
    SetWindowLongPtrW(window, kStateSlot, LONG_PTR(state));
    state->ListBox = CreateWindowExW(0, L"LISTBOX", L"", kListBoxStyle, 0, 0, 0, 0, window,
                                     HMENU(INT_PTR(kListBoxId)), GetModuleHandleW(nullptr), nullptr);
    if (!state->ListBox)
        return -1;
    SetWindowSubclass(state->ListBox, ListBoxProc, kListSubclassId, DWORD_PTR(window));
    OpenThemes(window, *state);
    FitListBox(window, *state);
    return 0;
}

void OnDestroy(HWND window)
{
    TSearchListState *state = StateOf(window);
    for (HTHEME theme : {state->ListTheme, state->PanelTheme})
        if (theme)
            CloseThemeData(theme);
    delete state;
    SetWindowLongPtrW(window, kStateSlot, 0);
}

// The frame cannot move or size the list: the proposed rectangle becomes the current one.
LRESULT KeepRect(HWND window, LPARAM lParam)
{
    GetWindowRect(window, reinterpret_cast<RECT *>(lParam));
    return TRUE;
}

} // namespace

LRESULT CALLBACK SearchListWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE)
        return OnCreate(window);
    if (message == WM_MEASUREITEM) {
        reinterpret_cast<MEASUREITEMSTRUCT *>(lParam)->itemHeight = GetSystemMetrics(SM_CYSMICON) + 4;
        return TRUE;
    }
    TSearchListState *state = StateOf(window);
    if (!state)
        return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_DESTROY:
        OnDestroy(window);
        return 0;
    case WM_SIZE:
        FitListBox(window, *state);
        return 0;
    case WM_DRAWITEM:
        DrawRow(*reinterpret_cast<DRAWITEMSTRUCT *>(lParam), *state);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == kListBoxId && HIWORD(wParam) == LBN_SELCHANGE)
            RunSelected(*state);
        return 0;
    case WM_THEMECHANGED:
        OpenThemes(window, *state);
        return 0;
    case WM_TIMER:
        if (wParam == TIMER_SEARCH_HIDE)
            OnHideTimer(window, *state);
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        return 0;
    case WM_SIZING:
    case WM_MOVING:
        return KeepRect(window, lParam);
    case UM_SEARCH_SHOW:
        ShowResults(window, *state);
        return 0;
    case UM_SEARCH_HIDE_LATER:
        SetTimer(window, TIMER_SEARCH_HIDE, kHideDelayMs, nullptr);
        return 0;
    case UM_SEARCH_TEXT_CHANGED:
        state->Box = HWND(wParam);
        Refilter(window, *state);
        return 0;
    case UM_SEARCH_PREVIOUS:
        Select(*state, -1);
        return 0;
    case UM_SEARCH_NEXT:
        Select(*state, +1);
        return 0;
    case UM_SEARCH_LIST_BOX:
        return LRESULT(state->ListBox);
    case UM_SEARCH_CONTEXT_MENU:
        ShowResultMenu(*state);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TWindowClass SearchListWindowClass()
{
    return {kSearchListClass, kResizeRedraw | CS_DBLCLKS, 0, IDC_HAND, false, nullptr,
            SearchListWindowProc};
}

HWND CreateSearchList(HWND box)
{
    const TListGeometry at = AskGeometry();
    HWND list = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kSearchListClass, L"ListEx",
                                kListStyle, at.X, at.Y, kMinimumWidth, at.Height, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (list)
        SendMessageW(list, UM_SEARCH_TEXT_CHANGED, WPARAM(box), 0);
    return list;
}

void FillSearchIndex(TMenu *root, TSearchIndex *index)
{
    if (root && index)
        ForEachSearchableItem(root, AppendItem, index);
}

const TSearchIndex *SearchListIndex(HWND list)
{
    wchar_t name[16] = {};
    GetClassNameW(list, name, 16);
    TSearchListState *state = lstrcmpW(name, kSearchListClass) == 0 ? StateOf(list) : nullptr;
    return state ? &state->Index : nullptr;
}

std::string SearchTextDigest(std::u16string_view text)
{
    std::vector<uint8_t> bytes = Utf16LeBytes(text);
    uint8_t digest[16] = {};
    // Opened once for the process: opening the provider costs more than the hash.
    static BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (!algorithm &&
        !BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_MD5_ALGORITHM, nullptr, 0)))
        return {};
    BCRYPT_HASH_HANDLE hash = nullptr;
    bool done = BCRYPT_SUCCESS(BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0)) &&
                BCRYPT_SUCCESS(BCryptHashData(hash, bytes.data(), ULONG(bytes.size()), 0)) &&
                BCRYPT_SUCCESS(BCryptFinishHash(hash, digest, sizeof digest, 0));
    if (hash)
        BCryptDestroyHash(hash);
    return done ? DigestHex(digest) : std::string();
}
