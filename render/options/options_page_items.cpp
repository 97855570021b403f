// The two item lists of page 0: the items offered (110) and the items of the first menu
// level (114), rows dragged between them with the pointer.  The rows themselves are kept in
// OptionsState.Items; the list views only show them.
#include <windows.h>
#include <commctrl.h>

#include "common/messages.h"
#include "render/options/options_sheet.h"
#include "resources/tvra_resources.h"
#include "settings/settings.h"
#include "settings/special_icon.h"

namespace {

constexpr int kListIds[2] = {IDC_OPT_AVAILABLE, IDC_OPT_SHOWN};
constexpr UINT kDragScrollMs = 500;
constexpr int kRowPadding = 4;

// One row kind per letter, in the order of kRowLetters: its icon and its caption.
constexpr char16_t kRowLetters[] = u"MCHRFTSDOEBLU-";
struct TRowLook {
    int IconSlot;  // a special-item slot, or -1 for a program icon
    int ProgramIcon;
    LanguageKey Caption;
};
constexpr TRowLook kRowLooks[] = {
    {IconManage, 0, LocalManage},
    {IconConsole, 0, LocalConsole},
    {IconHelp, 0, LocalHelp},
    {IconRun, 0, LocalRun},
    {IconD3, 0, LocalD3},
    {IconTaskman, 0, LocalTaskman},
    {IconFind, 0, LocalFind},
    {IconRecent, 0, LocalRecent},
    {IconControl, 0, LocalControl},
    {IconDefaultMenu, 0, LocalDefaultMenu},
    {-1, IDI_SEARCH_BOX, LocalSearchBox},
    {IconLogout, 0, LocalLogoutDlg},
    {IconShutdown, 0, LocalShutdown},
    {-1, IDI_SEPARATOR, LocalSeparator},
};

int LookIndex(char16_t letter)
{
    for (int i = 0; kRowLetters[i]; ++i)
        if (kRowLetters[i] == letter)
            return i;
    return -1;
}

int ListIndexOf(HWND page, HWND list)
{
    for (int i = 0; i < 2; ++i)
        if (GetDlgItem(page, kListIds[i]) == list)
            return i;
    return -1;
}

void FillList(HWND list, const std::u16string &rows)
{
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    for (size_t i = 0; i < rows.size(); ++i) {
        const int look = LookIndex(rows[i]);
        if (look < 0)
            continue;
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
        item.iItem = int(i);
        item.pszText = Settings.Local[kRowLooks[look].Caption];
        item.iImage = look;
        item.lParam = LPARAM(rows[i]);
        ListView_InsertItem(list, &item);
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

HICON RowIcon(const TRowLook &look, int size)
{
    if (look.IconSlot >= 0)
        return LoadSpecialIcon(SpecialIconSlot(look.IconSlot));
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(look.ProgramIcon),
                                         IMAGE_ICON, size, size, 0));
}

HIMAGELIST MakeRowIcons(int size)
{
    HIMAGELIST icons = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 14, 0);
    for (const TRowLook &look : kRowLooks) {
        HICON icon = RowIcon(look, size);
        // A missing icon keeps its place so that the indexes stay those of kRowLetters.
        if (!icon)
            icon = LoadIconW(nullptr, IDI_APPLICATION);
        ImageList_ReplaceIcon(icons, -1, icon);
        DestroyIcon(icon);
    }
    return icons;
}

// The row under a screen point of a list; the row count when below the rows.
int RowAt(HWND list, POINT screen)
{
    LVHITTESTINFO hit = {};
    hit.pt = screen;
    ScreenToClient(list, &hit.pt);
    const int row = ListView_HitTest(list, &hit);
    return row >= 0 ? row : ListView_GetItemCount(list);
}

void ArmScrollTimer(HWND page, HWND list, int row)
{
    const int top = ListView_GetTopIndex(list);
    const int last = top + ListView_GetCountPerPage(list) - 1;
    if (row <= top || row >= last)
        SetTimer(page, TIMER_OPTIONS_DRAG_SCROLL, kDragScrollMs, nullptr);
    else
        KillTimer(page, TIMER_OPTIONS_DRAG_SCROLL);
}

} // namespace

void InitItemLists(HWND page)
{
    if (!OptionsState.ItemIcons) {
        const int size = OptionsState.RowHeight > kRowPadding ? OptionsState.RowHeight - kRowPadding
                                                              : GetSystemMetrics(SM_CYSMICON);
        OptionsState.ItemIcons = MakeRowIcons(size);
    }
    for (int id : kListIds) {
        HWND list = GetDlgItem(page, id);
        ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
        ListView_SetImageList(list, OptionsState.ItemIcons, LVSIL_SMALL);
        RECT client = {};
        GetClientRect(list, &client);
        LVCOLUMNW column = {};
        column.mask = LVCF_WIDTH;
        column.cx = client.right - GetSystemMetrics(SM_CXVSCROLL);
        ListView_InsertColumn(list, 0, &column);
    }
    if (!OptionsState.DragCursor) {
        if (HMODULE ole = GetModuleHandleW(L"ole32.dll"))
            OptionsState.DragCursor = LoadCursorW(ole, MAKEINTRESOURCEW(2));
    }
}

void FillItemLists(HWND page)
{
    for (int i = 0; i < 2; ++i)
        FillList(GetDlgItem(page, kListIds[i]), OptionsState.Items.Rows[i]);
}

void MeasureItemRow(MEASUREITEMSTRUCT &measure)
{
    const int height = GetSystemMetrics(SM_CYSMICON) + kRowPadding;
    measure.itemHeight = UINT(height);
    OptionsState.RowHeight = height;
}

void DrawItemRow(const DRAWITEMSTRUCT &draw)
{
    const TRowDrag &drag = OptionsState.Drag;
    const int list = ListIndexOf(GetParent(draw.hwndItem), draw.hwndItem);
    const bool dropRow = drag.Active && drag.List == list && drag.Row == int(draw.itemID);
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    HBRUSH brush = GetSysColorBrush(dropRow ? COLOR_HOTLIGHT : selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    COLORREF text = GetSysColor(dropRow || selected ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
    RECT rect = draw.rcItem;
    FillRect(draw.hDC, &rect, brush);
    const int look = LookIndex(char16_t(draw.itemData));
    if (look < 0)
        return;
    int iconSize = 0, unused = 0;
    ImageList_GetIconSize(OptionsState.ItemIcons, &iconSize, &unused);
    ImageList_Draw(OptionsState.ItemIcons, look, draw.hDC, rect.left + 2,
                   rect.top + (rect.bottom - rect.top - iconSize) / 2, ILD_TRANSPARENT);
    rect.left += iconSize + 6;
    SetBkMode(draw.hDC, TRANSPARENT);
    SetTextColor(draw.hDC, text);
    DrawTextW(draw.hDC, Settings.Local[kRowLooks[look].Caption], -1, &rect,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void BeginItemDrag(HWND page, const NMLISTVIEW &start)
{
    const int list = ListIndexOf(page, start.hdr.hwndFrom);
    if (list < 0 || !BeginRowDrag(OptionsState.Items, OptionsState.Drag, list, start.iItem))
        return;
    FillItemLists(page);
    SetCapture(page);
    SetCursor(OptionsState.DragCursor ? OptionsState.DragCursor : LoadCursorW(nullptr, IDC_ARROW));
}

bool OnItemDragMove(HWND page)
{
    TRowDrag &drag = OptionsState.Drag;
    if (!drag.Active)
        return false;
    POINT pointer = {};
    GetCursorPos(&pointer);
    HWND under = WindowFromPoint(pointer);
    const int list = ListIndexOf(page, under);
    if (list < 0) {
        SetCursor(LoadCursorW(nullptr, IDC_NO));
        KillTimer(page, TIMER_OPTIONS_DRAG_SCROLL);
        return true;
    }
    SetCursor(OptionsState.DragCursor ? OptionsState.DragCursor : LoadCursorW(nullptr, IDC_ARROW));
    int row = RowAt(under, pointer);
    if (list == drag.List && row >= int(OptionsState.Items.Rows[list].size()))
        row = int(OptionsState.Items.Rows[list].size()) - 1;
    if (list != drag.List || row != drag.Row) {
        MoveDraggedRow(OptionsState.Items, drag, list, row);
        FillItemLists(page);
    }
    ArmScrollTimer(page, under, drag.Row);
    return true;
}

bool OnItemDragEnd(HWND page)
{
    TRowDrag &drag = OptionsState.Drag;
    if (!drag.Active)
        return false;
    KillTimer(page, TIMER_OPTIONS_DRAG_SCROLL);
    const int list = drag.List;
    const bool kept = EndRowDrag(OptionsState.Items, drag);
    if (GetCapture() == page)
        ReleaseCapture();
    FillItemLists(page);
    if (kept) {
        HWND view = GetDlgItem(page, kListIds[list]);
        ListView_SetItemState(view, drag.Row, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(view, drag.Row, FALSE);
    }
    SendMessageW(page, UM_OPTIONS_ROWS_DROPPED, 0, 0);
    return true;
}

void OnItemDragScroll(HWND page)
{
    const TRowDrag &drag = OptionsState.Drag;
    if (!drag.Active) {
        KillTimer(page, TIMER_OPTIONS_DRAG_SCROLL);
        return;
    }
    HWND view = GetDlgItem(page, kListIds[drag.List]);
    const int top = ListView_GetTopIndex(view);
    ListView_Scroll(view, 0, (drag.Row <= top ? -1 : 1) * OptionsState.RowHeight);
}

void ReleaseItemLists()
{
    if (OptionsState.ItemIcons)
        ImageList_Destroy(OptionsState.ItemIcons);
    OptionsState.ItemIcons = nullptr;
}
