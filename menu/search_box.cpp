#include "menu/search_box.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <windowsx.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/messages.h"
#include "common/win_guards.h"
#include "common/win_text.h"
#include "menu/accessibility.h"
#include "menu/menu_item.h"
#include "menu/portable/menu_keywords.h"
#include "menu/portable/search_edit.h"
#include "menu/search_list.h"
#include "menu/tmenu.h"
#include "settings/settings.h"

namespace {

constexpr int kSearchBoxInset = 4;
// The class is our own, so the system reads only the high word; 0x800 is the box's own bit.
constexpr DWORD kSearchBoxOwnStyle = 0x800;
constexpr DWORD kSearchBoxStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | kSearchBoxOwnStyle;
// Placed on its line when the level is shown.
constexpr int kSearchBoxWidth = 100;
constexpr int kSearchBoxHeight = 20;
constexpr int kTextMargin = 4;
// The classes have no extra bytes: the window's state hangs on its user data.
constexpr int kStateSlot = GWLP_USERDATA;
constexpr UINT_PTR kButtonSubclassId = 1;
constexpr int kClassNameSize = 64;
constexpr int kEditBackgroundWithBorder = 5;  // EP_BACKGROUNDWITHBORDER
constexpr int kEditBackgroundHot = 2;          // EBWBS_HOT
// The clear button's pictures in explorerframe.dll: clear (pointer away, over), then the
// search glyph (pressed, resting).
constexpr WORD kButtonBitmapIds[4] = {34569, 34576, 34582, 34561};
enum TButtonPicture { ClearAway, ClearOver, SearchPressed, SearchResting };

struct TSearchBoxState {
    TEditModel Model;
    TUndoHistory History;
    HWND Button = nullptr;
    HWND List = nullptr;
    HBITMAP Pictures[4] = {};
    bool CtrlDown = false;
    bool ShiftDown = false;
    bool Selecting = false;  // a left press is dragging the caret
    bool ButtonHot = false;
    CSearchBoxAccessible *Accessible = nullptr;  // made when a screen reader first asks
};

HWND SearchBoxOf(const TMenu *root) { return GetDlgItem(root->Window, kSearchBoxControlId); }

TSearchBoxState *StateOf(HWND window)
{
    return reinterpret_cast<TSearchBoxState *>(GetWindowLongPtrW(window, kStateSlot));
}

HWND MainWindow() { return FindWindowW(kMainWindowClass, nullptr); }

HFONT ItemFont()
{
    HFONT font = Settings.DrawFontDefault ? Settings.SystemMenuFont : Settings.MenuFont;
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int TextHeight(HDC dc)
{
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    return metrics.tmHeight;
}

// The x of every character boundary of the text, margin included.
std::vector<int> BoundaryXs(HWND window, const std::u16string &text)
{
    std::vector<int> xs(text.size() + 1, kTextMargin);
    if (text.empty())
        return xs;
    std::vector<int> extents(text.size());
    HDC dc = GetDC(window);
    {
        TSelection font(dc, ItemFont());
        SIZE size;
        GetTextExtentExPointW(dc, W(text.c_str()), int(text.size()), 0, nullptr, extents.data(), &size);
    }
    ReleaseDC(window, dc);
    for (size_t i = 0; i < text.size(); ++i)
        xs[i + 1] = kTextMargin + extents[i];
    return xs;
}

int ButtonLeft(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    return client.right - client.bottom * 2 / 3;
}

void PlaceCaret(HWND window, TSearchBoxState &state)
{
    if (GetFocus() != window)
        return;
    const std::vector<int> xs = BoundaryXs(window, state.Model.Text);
    RECT client;
    GetClientRect(window, &client);
    int x = xs[size_t(std::clamp(state.Model.Caret, 0, int(state.Model.Text.size())))];
    // Past the button the caret would draw over it: it goes out of sight instead.
    if (x >= ButtonLeft(window))
        x += 2 * client.bottom;
    HDC dc = GetDC(window);
    int height;
    {
        TSelection font(dc, ItemFont());
        height = TextHeight(dc);
    }
    ReleaseDC(window, dc);
    SetCaretPos(x, (client.bottom - height) / 2);
}

void Redraw(HWND window, TSearchBoxState &state)
{
    InvalidateRect(window, nullptr, FALSE);
    InvalidateRect(state.Button, nullptr, FALSE);
    PlaceCaret(window, state);
}

// Every change of the text: a snapshot, the window text and a refilter.
void Changed(HWND window, TSearchBoxState &state)
{
    PushSnapshot(state.History, state.Model);
    SetWindowTextW(window, W(state.Model.Text.c_str()));
    NotifySearchBoxValue(window);
    Redraw(window, state);
    SendMessageW(state.List, UM_SEARCH_TEXT_CHANGED, WPARAM(window), 0);
}

void CopySelection(HWND window, const TSearchBoxState &state)
{
    const std::u16string_view selected = SelectedText(state.Model);
    if (selected.empty() || !OpenClipboard(window))
        return;
    EmptyClipboard();
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (selected.size() + 1) * sizeof(wchar_t))) {
        auto *units = static_cast<char16_t *>(GlobalLock(memory));
        std::copy(selected.begin(), selected.end(), units);
        units[selected.size()] = 0;
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_UNICODETEXT, memory))
            GlobalFree(memory);
    }
    CloseClipboard();
}

// The clipboard's Unicode text up to its first line break, read within the memory block.
bool ClipboardText(HWND window, std::u16string &text)
{
    if (!OpenClipboard(window))
        return false;
    bool found = false;
    if (HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto *units = static_cast<const char16_t *>(GlobalLock(memory))) {
            const size_t capacity = GlobalSize(memory) / sizeof(char16_t);
            size_t n = 0;
            while (n < capacity && units[n] && units[n] != u'\r' && units[n] != u'\n')
                ++n;
            text.assign(units, n);
            GlobalUnlock(memory);
            found = true;
        }
    }
    CloseClipboard();
    return found;
}

void OnCommand(HWND window, TSearchBoxState &state, UINT command)
{
    TEditModel &model = state.Model;
    switch (command) {
    case CMD_SEARCH_UNDO:
        if (Undo(state.History, model)) {
            SetWindowTextW(window, W(model.Text.c_str()));
            NotifySearchBoxValue(window);
            Redraw(window, state);
            SendMessageW(state.List, UM_SEARCH_TEXT_CHANGED, WPARAM(window), 0);
        }
        break;
    case CMD_SEARCH_CUT:
        CopySelection(window, state);
        if (HasSelection(model) && DeleteBackward(model))
            Changed(window, state);
        break;
    case CMD_SEARCH_COPY:
        CopySelection(window, state);
        break;
    case CMD_SEARCH_PASTE: {
        std::u16string pasted;
        if (ClipboardText(window, pasted) && ReplaceSelection(model, pasted))
            Changed(window, state);
        break;
    }
    case CMD_SEARCH_CLEAR:
    case kSearchButtonControlId:
        ClearText(model);
        Changed(window, state);
        if (command == kSearchButtonControlId)
            SetFocus(window);
        break;
    case CMD_SEARCH_SELECT_ALL:
        SelectAll(model);
        Redraw(window, state);
        break;
    }
}

void OnKeyDown(HWND window, TSearchBoxState &state, WPARAM key)
{
    const bool ctrl = state.CtrlDown, shift = state.ShiftDown;
    auto move = [&](TEditMove m) {
        MoveCaret(state.Model, m, shift);
        Redraw(window, state);
    };
    switch (key) {
    case VK_CONTROL: state.CtrlDown = true; break;
    case VK_SHIFT: state.ShiftDown = true; break;
    case 'Z': if (ctrl) OnCommand(window, state, CMD_SEARCH_UNDO); break;
    case 'X': if (ctrl) OnCommand(window, state, CMD_SEARCH_CUT); break;
    case 'C': if (ctrl) OnCommand(window, state, CMD_SEARCH_COPY); break;
    case 'V': if (ctrl) OnCommand(window, state, CMD_SEARCH_PASTE); break;
    case 'A': if (ctrl) OnCommand(window, state, CMD_SEARCH_SELECT_ALL); break;
    case VK_DELETE:
        if (shift)
            OnCommand(window, state, CMD_SEARCH_CUT);
        else if (DeleteForward(state.Model))
            Changed(window, state);
        break;
    case VK_INSERT:
        if (ctrl)
            OnCommand(window, state, CMD_SEARCH_COPY);
        else if (shift)
            OnCommand(window, state, CMD_SEARCH_PASTE);
        break;
    case VK_UP: SendMessageW(state.List, UM_SEARCH_PREVIOUS, 0, 0); break;
    case VK_DOWN: SendMessageW(state.List, UM_SEARCH_NEXT, 0, 0); break;
    case VK_LEFT: move(ctrl ? TEditMove::WordLeft : TEditMove::Left); break;
    case VK_RIGHT: move(ctrl ? TEditMove::WordRight : TEditMove::Right); break;
    case VK_HOME: move(TEditMove::Home); break;
    case VK_END: move(TEditMove::End); break;
    case VK_TAB:
    case VK_ESCAPE: SetFocus(GetParent(window)); break;
    }
}

void OnKeyUp(TSearchBoxState &state, WPARAM key)
{
    if (key == VK_CONTROL)
        state.CtrlDown = false;
    else if (key == VK_SHIFT)
        state.ShiftDown = false;
}

void OnChar(HWND window, TSearchBoxState &state, wchar_t c)
{
    switch (c) {
    case L'\b':
        if (DeleteBackward(state.Model))
            Changed(window, state);
        return;
    case L'\r':
        if (HWND listBox = HWND(SendMessageW(state.List, UM_SEARCH_LIST_BOX, 0, 0)))
            SendMessageW(state.List, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(listBox), LBN_SELCHANGE),
                         LPARAM(listBox));
        return;
    }
    // Tab and Esc acted as keys already; other control characters are not text.  Ctrl with
    // Alt is AltGr, which types characters of its own.
    if (c < L' ' || c == 0x7F || (state.CtrlDown && GetKeyState(VK_MENU) >= 0))
        return;
    if (ReplaceSelection(state.Model, std::u16string(1, char16_t(c))))
        Changed(window, state);
}

int BoundaryAt(HWND window, const TSearchBoxState &state, LPARAM lParam)
{
    return NearestBoundary(BoundaryXs(window, state.Model.Text), GET_X_LPARAM(lParam));
}

void OnLeftDown(HWND window, TSearchBoxState &state, LPARAM lParam)
{
    if (GetFocus() != window) {
        SetFocus(window);
        return;
    }
    SetCapture(window);
    state.Selecting = true;
    const int at = BoundaryAt(window, state, lParam);
    state.Model.Anchor = at;
    if (!state.ShiftDown)
        state.Model.Caret = at;
    Redraw(window, state);
}

void OnMouseMove(HWND window, TSearchBoxState &state, LPARAM lParam)
{
    if (!state.Selecting)
        return;
    state.Model.Caret = BoundaryAt(window, state, lParam);
    Redraw(window, state);
}

void OnDoubleClick(HWND window, TSearchBoxState &state, LPARAM lParam)
{
    int first, last;
    WordAround(state.Model.Text, BoundaryAt(window, state, lParam), first, last);
    state.Model.Anchor = first;
    state.Model.Caret = last;
    Redraw(window, state);
}

bool IsOurList(HWND list, HWND window)
{
    return list && window && (window == list || IsChild(list, window));
}

// Focus that may move away without the menu closing: the levels, the main window, the list
// and the clear button.
bool KeepsMenuOpen(HWND next)
{
    if (!next)
        return false;
    if ((GetWindowLongW(next, GWL_STYLE) & WS_CHILD) && GetDlgCtrlID(next) == kSearchButtonControlId)
        return true;
    wchar_t name[kClassNameSize] = {};
    GetClassNameW(next, name, kClassNameSize);
    for (const wchar_t *kept : {kMenuWindowClass, kMainWindowClass, kSearchListClass})
        if (lstrcmpW(name, kept) == 0)
            return true;
    return false;
}

void OnSetFocus(HWND window, TSearchBoxState &state)
{
    // Keys pressed or released while another window had the focus never reached the box.
    state.CtrlDown = GetKeyState(VK_CONTROL) < 0;
    state.ShiftDown = GetKeyState(VK_SHIFT) < 0;
    SendMessageW(MainWindow(), UM_CLOSE_SUB_LEVELS, 0, 0);
    int height = 0;
    const LRESULT at = SendMessageW(MainWindow(), UM_GET_ROOT_GEOMETRY, WPARAM(&height), 0);
    SetWindowPos(state.List, nullptr, short(LOWORD(at)), short(HIWORD(at)), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageW(state.List, UM_SEARCH_SHOW, 0, 0);
    state.Model.Anchor = 0;
    state.Model.Caret = int(state.Model.Text.size());
    HDC dc = GetDC(window);
    int textHeight;
    {
        TSelection font(dc, ItemFont());
        textHeight = TextHeight(dc);
    }
    ReleaseDC(window, dc);
    CreateCaret(window, nullptr, 1, textHeight);
    Redraw(window, state);
    ShowCaret(window);
}

void OnKillFocus(HWND window, TSearchBoxState &state, HWND next)
{
    if (state.Selecting)
        ReleaseCapture();
    // A Shift released elsewhere must not leave the next Enter running as administrator.
    state.CtrlDown = state.ShiftDown = false;
    if (IsOurList(state.List, next))
        return;
    PostMessageW(state.List, UM_SEARCH_HIDE_LATER, 0, 0);
    HideCaret(window);
    DestroyCaret();
    Redraw(window, state);
    // While the menu closes the focus leaves too; only a visible menu is closed here.
    if (!KeepsMenuOpen(next) && IsWindowVisible(GetParent(window)))
        SendMessageW(MainWindow(), UM_CLOSE_ALL, 0, 0);
}

void OnContextMenu(HWND window, TSearchBoxState &state, LPARAM lParam)
{
    POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (lParam == -1) {
        RECT client;
        GetClientRect(window, &client);
        at = {kTextMargin, client.bottom};
        ClientToScreen(window, &at);
    }
    HMENU menu = CreatePopupMenu();
    const bool selection = HasSelection(state.Model);
    auto add = [&](UINT command, LanguageKey text, bool enabled) {
        AppendMenuW(menu, MF_STRING | (enabled ? 0 : MF_GRAYED), command, Settings.Local[text]);
    };
    add(CMD_SEARCH_UNDO, LocalSBItem1, state.History.Snapshots.size() > 1);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    add(CMD_SEARCH_CUT, LocalSBItem2, selection);
    add(CMD_SEARCH_COPY, LocalSBItem3, selection);
    add(CMD_SEARCH_PASTE, LocalSBItem4, IsClipboardFormatAvailable(CF_UNICODETEXT));
    add(CMD_SEARCH_CLEAR, LocalSBItem5, !state.Model.Text.empty());
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    add(CMD_SEARCH_SELECT_ALL, LocalSBItem6, !state.Model.Text.empty());
    const UINT command = UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                             at.x, at.y, 0, window, nullptr));
    DestroyMenu(menu);
    if (command)
        OnCommand(window, state, command);
}

void PaintBox(HWND window, const TSearchBoxState &state, HDC target)
{
    RECT client;
    GetClientRect(window, &client);
    uint32_t *bits = nullptr;
    TMemoryDC dc(CreateCompatibleDC(target));
    TGdiObject surface(CreateTopDownDib(target, client.right, client.bottom, &bits));
    if (!dc.Get() || !surface.Get())
        return;
    TSelection selectSurface(dc.Get(), surface.Get());
    std::fill_n(bits, size_t(client.right) * size_t(client.bottom), 0xFF000000u);

    TThemeData theme(OpenThemeData(window, L"EDIT"));
    if (theme.Get()) {
        DrawThemeBackground(theme.Get(), dc.Get(), kEditBackgroundWithBorder, kEditBackgroundHot,
                            &client, nullptr);
    } else {
        FillRect(dc.Get(), &client, GetSysColorBrush(COLOR_WINDOW));
        FrameRect(dc.Get(), &client, GetSysColorBrush(COLOR_BTNSHADOW));
    }
    const bool focused = GetFocus() == window;
    HFONT font = ItemFont();
    LOGFONTW italic = {};
    GetObjectW(font, sizeof italic, &italic);
    italic.lfItalic = TRUE;
    TGdiObject italicFont(CreateFontIndirectW(&italic));
    TSelection selectFont(dc.Get(), focused ? font : HFONT(italicFont.Get()));
    const int textHeight = TextHeight(dc.Get());
    const int top = (client.bottom - textHeight) / 2;
    RECT textRect = {kTextMargin, top, ButtonLeft(window), top + textHeight};

    if (focused && HasSelection(state.Model)) {
        const std::vector<int> xs = BoundaryXs(window, state.Model.Text);
        const int a = xs[size_t(std::clamp(state.Model.Caret, 0, int(xs.size()) - 1))];
        const int b = xs[size_t(std::clamp(state.Model.Anchor, 0, int(xs.size()) - 1))];
        const COLORREF window_ = GetSysColor(COLOR_WINDOW), high = GetSysColor(COLOR_HIGHLIGHT);
        const COLORREF mixed = RGB((GetRValue(window_) + GetRValue(high)) / 2,
                                   (GetGValue(window_) + GetGValue(high)) / 2,
                                   (GetBValue(window_) + GetBValue(high)) / 2);
        RECT band = {std::min(a, b), top, std::min(std::max(a, b), int(textRect.right)),
                     top + textHeight};
        TGdiObject brush(CreateSolidBrush(mixed));
        FillRect(dc.Get(), &band, HBRUSH(brush.Get()));
    }
    SetBkMode(dc.Get(), TRANSPARENT);
    const UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP;
    HRGN clip = CreateRectRgnIndirect(&textRect);
    SelectClipRgn(dc.Get(), clip);
    if (focused) {
        SetTextColor(dc.Get(), RGB(0, 0, 0));
        DrawTextW(dc.Get(), W(state.Model.Text.c_str()), int(state.Model.Text.size()), &textRect, format);
    } else {
        const std::wstring hint = std::wstring(L" ") + Settings.Local[LocalPressTab];
        SetTextColor(dc.Get(), GetSysColor(COLOR_GRAYTEXT));
        DrawTextW(dc.Get(), hint.c_str(), int(hint.size()), &textRect, format);
    }
    SelectClipRgn(dc.Get(), nullptr);
    DeleteObject(clip);
    GdiFlush();
    // GDI text clears the alpha it touches: the box stays solid over a blurred level.
    std::for_each(bits, bits + size_t(client.right) * size_t(client.bottom),
                  [](uint32_t &p) { p |= 0xFF000000u; });
    BitBlt(target, 0, 0, client.right, client.bottom, dc.Get(), 0, 0, SRCCOPY);
}

void OnPaint(HWND window, const TSearchBoxState &state)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    PaintBox(window, state, dc);
    EndPaint(window, &paint);
}

// The button's own glyph where the system has no picture for it: a cross to clear, a
// magnifier otherwise.
void DrawButtonGlyph(HDC dc, RECT r, TButtonPicture picture)
{
    const bool clear = picture == ClearAway || picture == ClearOver;
    FillRect(dc, &r, GetSysColorBrush(picture == ClearOver ? COLOR_BTNFACE : COLOR_WINDOW));
    const COLORREF colour = GetSysColor(picture == ClearOver || picture == SearchPressed
                                            ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
    TGdiObject pen(CreatePen(PS_SOLID, 2, colour));
    TSelection selectPen(dc, pen.Get());
    TSelection selectBrush(dc, GetStockObject(NULL_BRUSH));
    const int size = std::min(r.right - r.left, r.bottom - r.top) / 2;
    const int shift = picture == SearchPressed ? 1 : 0;
    const int cx = (r.left + r.right) / 2 + shift, cy = (r.top + r.bottom) / 2 + shift;
    const int h = std::max(size / 2, 2);
    if (clear) {
        MoveToEx(dc, cx - h, cy - h, nullptr);
        LineTo(dc, cx + h, cy + h);
        MoveToEx(dc, cx + h, cy - h, nullptr);
        LineTo(dc, cx - h, cy + h);
        return;
    }
    Ellipse(dc, cx - h - 1, cy - h - 1, cx + h / 2 + 1, cy + h / 2 + 1);
    MoveToEx(dc, cx + h / 2, cy + h / 2, nullptr);
    LineTo(dc, cx + h + 1, cy + h + 1);
}

void DrawButton(HWND window, const TSearchBoxState &state, const DRAWITEMSTRUCT &item)
{
    const bool active = GetFocus() == window && !state.Model.Text.empty();
    const TButtonPicture picture = active ? (state.ButtonHot ? ClearOver : ClearAway)
                                          : (item.itemState & ODS_SELECTED ? SearchPressed
                                                                           : SearchResting);
    RECT r = item.rcItem;
    HBITMAP bitmap = state.Pictures[picture];
    BITMAP info = {};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) {
        DrawButtonGlyph(item.hDC, r, picture);
        return;
    }
    FillRect(item.hDC, &r, GetSysColorBrush(COLOR_WINDOW));
    TMemoryDC source(CreateCompatibleDC(item.hDC));
    TSelection selectBitmap(source.Get(), bitmap);
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    const int x = (r.left + r.right - info.bmWidth) / 2, y = (r.top + r.bottom - info.bmHeight) / 2;
    if (info.bmBitsPixel == 32)
        AlphaBlend(item.hDC, x, y, info.bmWidth, info.bmHeight, source.Get(), 0, 0, info.bmWidth,
                   info.bmHeight, blend);
    else
        BitBlt(item.hDC, x, y, info.bmWidth, info.bmHeight, source.Get(), 0, 0, SRCCOPY);
}

// The clear button shows whether the pointer is over it ("1") or not ("0").
LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR data)
{
    HWND box = HWND(data);
    TSearchBoxState *state = StateOf(box);
    switch (message) {
    case WM_MOUSEMOVE:
        if (state && !state->ButtonHot) {
            state->ButtonHot = true;
            SetWindowTextW(button, L"1");
            TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, button, 0};
            TrackMouseEvent(&track);
            InvalidateRect(button, nullptr, FALSE);
        }
        break;
    case WM_MOUSELEAVE:
        if (state) {
            state->ButtonHot = false;
            SetWindowTextW(button, L"0");
            InvalidateRect(button, nullptr, FALSE);
        }
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(button, ButtonProc, kButtonSubclassId);
        break;
    }
    return DefSubclassProc(button, message, wParam, lParam);
}

void LoadButtonPictures(TSearchBoxState &state)
{
    HMODULE module = LoadLibraryExW(L"explorerframe.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return;
    for (int i = 0; i < 4; ++i)
        state.Pictures[i] = HBITMAP(LoadImageW(module, MAKEINTRESOURCEW(kButtonBitmapIds[i]),
                                               IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    FreeLibrary(module);
}

void PlaceButton(HWND window, const TSearchBoxState &state)
{
    RECT client;
    GetClientRect(window, &client);
    const int width = client.bottom * 2 / 3;
    MoveWindow(state.Button, client.right - width, 0, width, client.bottom, TRUE);
}

LRESULT OnCreate(HWND window)
{
    auto *state = new TSearchBoxState;
    SetWindowLongPtrW(window, kStateSlot, LONG_PTR(state));
    MenuState.SearchEdit = window;
    wchar_t text[kSearchTextLimit + 1] = {};
    GetWindowTextW(window, text, int(kSearchTextLimit + 1));
    state->Model.Text = U16(text);
    PushSnapshot(state->History, state->Model);
    state->Button = CreateWindowExW(0, L"BUTTON", L"0", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0,
                                    0, 0, window, HMENU(INT_PTR(kSearchButtonControlId)),
                                    GetModuleHandleW(nullptr), nullptr);
    SetWindowSubclass(state->Button, ButtonProc, kButtonSubclassId, DWORD_PTR(window));
    PlaceButton(window, *state);
    state->List = CreateSearchList(window);
    LoadButtonPictures(*state);
    return 0;
}

void OnDestroy(HWND window)
{
    TSearchBoxState *state = StateOf(window);
    DisconnectSearchBoxAccessible(state->Accessible);
    for (HBITMAP picture : state->Pictures)
        if (picture)
            DeleteObject(picture);
    if (state->List)
        DestroyWindow(state->List);
    delete state;
    SetWindowLongPtrW(window, kStateSlot, 0);
    if (MenuState.SearchEdit == window)
        MenuState.SearchEdit = nullptr;
}

} // namespace

LRESULT CALLBACK SearchBoxWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE)
        return OnCreate(window);
    TSearchBoxState *state = StateOf(window);
    if (!state)
        return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_DESTROY:
        OnDestroy(window);
        return 0;
    case WM_SIZE:
        PlaceButton(window, *state);
        return 0;
    case WM_PAINT:
        OnPaint(window, *state);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_DRAWITEM:
        DrawButton(window, *state, *reinterpret_cast<DRAWITEMSTRUCT *>(lParam));
        return TRUE;
    case WM_KEYDOWN:
        OnKeyDown(window, *state, wParam);
        return 0;
    case WM_KEYUP:
        OnKeyUp(*state, wParam);
        return 0;
    case WM_CHAR:
        OnChar(window, *state, wchar_t(wParam));
        return 0;
    case WM_COMMAND:
        OnCommand(window, *state, LOWORD(wParam));
        return 0;
    case WM_CONTEXTMENU:
        OnContextMenu(window, *state, lParam);
        return 0;
    case WM_LBUTTONDOWN:
        OnLeftDown(window, *state, lParam);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(window, *state, lParam);
        return 0;
    case WM_LBUTTONUP:
        if (state->Selecting)
            ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED:
        state->Selecting = false;
        return 0;
    case WM_LBUTTONDBLCLK:
        OnDoubleClick(window, *state, lParam);
        return 0;
    case WM_MOUSEWHEEL:
        SendMessageW(state->List, GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? UM_SEARCH_PREVIOUS : UM_SEARCH_NEXT,
                     0, 0);
        return 0;
    case WM_SETFOCUS:
        OnSetFocus(window, *state);
        return 0;
    case WM_KILLFOCUS:
        OnKillFocus(window, *state, HWND(wParam));
        return 0;
    case WM_GETOBJECT:
        return OnSearchBoxGetObject(window, state->Accessible, wParam, lParam);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TWindowClass SearchBoxWindowClass()
{
    return {kSearchBoxClass, kResizeRedraw | CS_DBLCLKS, 0, IDC_IBEAM, false, nullptr,
            SearchBoxWindowProc};
}

void CreateSearchBox(TMenu *root)
{
    if (!root->Window || root->IsSample || SearchBoxOf(root))
        return;
    MenuState.SearchEdit = CreateWindowExW(
        0, kSearchBoxClass, L"", kSearchBoxStyle, 0, 0, kSearchBoxWidth, kSearchBoxHeight,
        root->Window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSearchBoxControlId)),
        GetModuleHandleW(nullptr), root);
}

void DestroySearchBox(TMenu *root)
{
    if (!root->Window)
        return;
    if (HWND box = SearchBoxOf(root)) {
        if (MenuState.SearchEdit == box)
            MenuState.SearchEdit = nullptr;
        DestroyWindow(box);
    }
}

void PlaceSearchBox(TMenu *root)
{
    TMenuItem *line = root->ItemWithPath(W(kSearchBoxKeyword.data()));
    if (!line)
        return;
    MenuState.SearchBoxPresent = true;
    RECT box = line->Rect;
    InflateRect(&box, -kSearchBoxInset, -kSearchBoxInset);
    SetWindowPos(SearchBoxOf(root), nullptr, box.left, box.top, box.right - box.left,
                 box.bottom - box.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FocusSearchBox(TMenu *root)
{
    CloseSubLevels(root, root, false);
    SetFocus(SearchBoxOf(root));
}

bool SearchBoxShiftDown(HWND box)
{
    TSearchBoxState *state = box ? StateOf(box) : nullptr;
    return state && state->ShiftDown;
}

HWND SearchBoxList(HWND box)
{
    TSearchBoxState *state = box ? StateOf(box) : nullptr;
    return state ? state->List : nullptr;
}
