#include "render/options/options_sheet.h"

#include <windows.h>
#include <commctrl.h>

#include "common/messages.h"
#include "common/win_text.h"
#include "render/options/item_dialogs.h"
#include "resources/tvra_resources.h"
#include "settings/dialog_text.h"
#include "settings/settings.h"
#include "settings/themes.h"

TOptionsState OptionsState;

namespace {

constexpr int kPreviewWidth = 300;
constexpr UINT kPreviewWatchMs = 500;
constexpr UINT_PTR kSheetSubclassId = 1;
constexpr int kThemeListDropHeight = 200;

constexpr int kPageTemplates[kOptionsPageCount] = {IDD_OPTIONS_GENERAL, IDD_OPTIONS_LOOK,
                                                   IDD_OPTIONS_BAND};
constexpr LanguageKey kPageTitles[kOptionsPageCount] = {LocalDlg_105_A, LocalDlg_105_B,
                                                        LocalDlg_105_C};

// The entries of the plain drop-down lists, from the language strings.
struct TListEntries {
    int Control;
    LanguageKey Entries[4];
    int Count;
};
constexpr TListEntries kListEntries[] = {
    {IDC_OPT_CURSOR, {LocalDrawCursorStyle1, LocalDrawCursorStyle2}, 2},
    {IDC_OPT_STYLE, {LocalMenuStyle1, LocalMenuStyle2}, 2},
    {IDC_OPT_MODE, {LocalDrawColorMode1, LocalDrawColorMode2, LocalDrawColorMode3, LocalDlg_105_188}, 4},
    {IDC_OPT_GLOW, {LocalDrawGlowStyle1, LocalDrawGlowStyle2, LocalDrawGlowStyle3}, 3},
    {IDC_OPT_BAND_STYLE, {LocalRibbonStyle1, LocalRibbonStyle2, LocalRibbonStyle3}, 3},
    {IDC_OPT_BAND_MODE, {LocalDrawColorMode1, LocalDrawColorMode2, LocalDrawColorMode3}, 3},
    {IDC_OPT_BAND_GLOW, {LocalDrawGlowStyle1, LocalDrawGlowStyle2, LocalDrawGlowStyle3}, 3},
};

// The two picture buttons of the background placement and their program icons.
constexpr int kImageModeButtons[][2] = {
    {IDC_OPT_BACK_FIXED, IDI_PICTURE_FIXED},
    {IDC_OPT_BACK_MOVES, IDI_PICTURE_MOVES},
};

int PageIndex(HWND page)
{
    return int(GetWindowLongPtrW(page, DWLP_USER));
}

HWND SheetControl(int id)
{
    return GetDlgItem(OptionsState.Sheet, id);
}

void FillListEntries(HWND page)
{
    for (const TListEntries &list : kListEntries) {
        HWND control = GetDlgItem(page, list.Control);
        if (!control)
            continue;
        for (int i = 0; i < list.Count; ++i)
            SendMessageW(control, CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(Settings.Local[list.Entries[i]]));
    }
}

RECT ChildRect(HWND parent, HWND child)
{
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

int PreviewGap()
{
    return 3 * (GetSystemMetrics(SM_CXDLGFRAME) + GetSystemMetrics(SM_CXBORDER));
}

// The five controls on the row of OK and Cancel, from the sheet's left edge.
void AddSheetControls(HWND sheet)
{
    const RECT ok = ChildRect(sheet, GetDlgItem(sheet, IDOK));
    const RECT cancel = ChildRect(sheet, GetDlgItem(sheet, IDCANCEL));
    const RECT tabs = ChildRect(sheet, PropSheet_GetTabControl(sheet));
    const int width = ok.right - ok.left;
    const int height = ok.bottom - ok.top;
    const int gap = cancel.left - ok.right;
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(sheet, IDCANCEL), WM_GETFONT, 0, 0));
    struct TSheetControl {
        int Id;
        const wchar_t *Class;
        DWORD Style;
        int Width;
        int Height;
    } controls[] = {
        {IDC_OPT_PREVIEW, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, width, height},
        {IDC_OPT_THEME_LABEL, L"STATIC", SS_RIGHT | SS_CENTERIMAGE, width * 2 / 3, height},
        {IDC_OPT_THEMES, L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, width * 3 / 2,
         kThemeListDropHeight},
        {IDC_OPT_SAVE_THEME, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, width, height},
        {IDC_OPT_DELETE_THEME, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, width, height},
    };
    int x = tabs.left;
    for (const TSheetControl &c : controls) {
        HWND control = CreateWindowExW(0, c.Class, L"", WS_CHILD | WS_VISIBLE | c.Style, x, ok.top,
                                       c.Width, c.Height, sheet, HMENU(INT_PTR(c.Id)),
                                       GetModuleHandleW(nullptr), nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        x += c.Width + gap;
    }
}

// The sheet and the preview's strip, together centred on the work area of the monitor.
void CentreSheetWithPreview(HWND sheet)
{
    RECT rect = {};
    GetWindowRect(sheet, &rect);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(sheet, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT &work = monitor.rcWork;
    const int width = rect.right - rect.left + PreviewGap() + kPreviewWidth;
    const int height = rect.bottom - rect.top;
    SetWindowPos(sheet, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ShowPreviewButtonText(bool previewShown)
{
    SetWindowTextW(SheetControl(IDC_OPT_PREVIEW),
                   Settings.Local[previewShown ? LocalDlg_105_1001H : LocalDlg_105_1001S]);
}

// The preview beside the sheet, shown without taking the activation or the focus.
void CreatePreview(HWND page)
{
    HWND sheet = OptionsState.Sheet;
    RECT rect = {};
    GetWindowRect(sheet, &rect);
    OptionsState.Preview = CreateWindowExW(
        WS_EX_TOOLWINDOW, kSampleClass, Settings.Local[LocalDlg_105], WS_POPUP | WS_CAPTION | WS_SYSMENU,
        rect.right + PreviewGap(), rect.top, kPreviewWidth, rect.bottom - rect.top, nullptr, nullptr,
        GetModuleHandleW(nullptr), sheet);
    if (OptionsState.Preview)
        ShowWindow(OptionsState.Preview, SW_SHOWNOACTIVATE);
    ShowPreviewButtonText(OptionsState.Preview != nullptr);
    SetTimer(page, TIMER_OPTIONS_PREVIEW_WATCH, kPreviewWatchMs, nullptr);
}

void ClosePreview()
{
    if (OptionsState.Preview && IsWindow(OptionsState.Preview))
        SendMessageW(OptionsState.Preview, WM_CLOSE, 0, 0);
    OptionsState.Preview = nullptr;
}

void TogglePreview()
{
    HWND page = OptionsState.Pages[0];
    if (OptionsState.Preview && IsWindow(OptionsState.Preview)) {
        ClosePreview();
        ShowPreviewButtonText(false);
        KillTimer(page, TIMER_OPTIONS_PREVIEW_WATCH);
    } else {
        CreatePreview(page);
    }
}

void RaisePreview()
{
    if (OptionsState.Preview && IsWindow(OptionsState.Preview))
        SetWindowPos(OptionsState.Preview, HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void RebuildShowString()
{
    const std::u16string show = ShowStringOf(OptionsState.Items, kShowStringSize);
    lstrcpynW(Settings.ShowString, reinterpret_cast<const wchar_t *>(show.c_str()), kShowStringSize);
}

// Every page that exists is set from the record again, without its one-time parts.
void ReinitialisePages()
{
    for (int i = 0; i < kOptionsPageCount; ++i) {
        if (!OptionsState.Pages[i])
            continue;
        PROPSHEETPAGEW again = {};
        again.dwSize = 0;
        again.lParam = i;
        SendMessageW(OptionsState.Pages[i], WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&again));
    }
}

void OnThemeChosen()
{
    if (!LoadTheme(SheetControl(IDC_OPT_THEMES)))
        return;
    ReinitialisePages();
    BuildSettingsFonts();
    RebuildShowString();
    RepaintPreview();
}

// The name asked for starts as the theme chosen in the list.
void OnSaveTheme()
{
    HWND list = SheetControl(IDC_OPT_THEMES);
    wchar_t name[MAX_PATH] = {};
    lstrcpynW(name, SelectedTheme(list).c_str(), MAX_PATH);
    if (RunSaveThemeDialog(OptionsState.Sheet, name) == IDOK)
        SaveTheme(list, name);
}

bool OnSheetCommand(int id, int code)
{
    switch (id) {
    case IDC_OPT_PREVIEW:
        TogglePreview();
        return true;
    case IDC_OPT_THEMES:
        if (code == CBN_SELCHANGE)
            OnThemeChosen();
        return true;
    case IDC_OPT_SAVE_THEME:
        OnSaveTheme();
        return true;
    case IDC_OPT_DELETE_THEME:
        DeleteTheme(SheetControl(IDC_OPT_THEMES));
        return true;
    }
    return false;
}

LRESULT CALLBACK SheetSubclassProc(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR, DWORD_PTR)
{
    switch (message) {
    case WM_COMMAND:
        if (OnSheetCommand(LOWORD(wParam), HIWORD(wParam)))
            return 0;
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE)
            RaisePreview();
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(sheet, SheetSubclassProc, kSheetSubclassId);
        break;
    }
    return DefSubclassProc(sheet, message, wParam, lParam);
}

void SetUpSheet(HWND page)
{
    HWND sheet = GetParent(page);
    OptionsState.Sheet = sheet;
    AddSheetControls(sheet);
    ListThemes(SheetControl(IDC_OPT_THEMES));
    SetWindowSubclass(sheet, SheetSubclassProc, kSheetSubclassId, 0);
    SetWindowTextW(sheet, Settings.Local[LocalDlg_105]);
    ApplyDialogTexts(sheet, IDD_OPTIONS);
    CentreSheetWithPreview(sheet);
    CreatePreview(page);
}

void SetImageModeIcons(HWND page)
{
    const int size = GetSystemMetrics(SM_CYICON);
    for (const auto &button : kImageModeButtons) {
        HANDLE icon = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(button[1]), IMAGE_ICON,
                                 size, size, 0);
        SendDlgItemMessageW(page, button[0], BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    }
}

void DestroyImageModeIcons(HWND page)
{
    for (const auto &button : kImageModeButtons)
        if (HWND control = GetDlgItem(page, button[0]))
            if (HANDLE icon = reinterpret_cast<HANDLE>(SendMessageW(control, BM_SETIMAGE, IMAGE_ICON, 0)))
                DestroyIcon(static_cast<HICON>(icon));
}

void OnFirstInit(HWND page, int index)
{
    ApplyDialogTexts(page, IDD_OPTIONS);
    FillListEntries(page);
    switch (index) {
    case 0:
        FillPictureList(GetDlgItem(page, IDC_OPT_SELECTION), L"select%i.png");
        FillPictureList(GetDlgItem(page, IDC_OPT_HILIGHT_STYLE), L"hilight%i.png");
        InitItemLists(page);
        SetUpSheet(page);
        break;
    case 1:
        SetImageModeIcons(page);
        break;
    }
}

INT_PTR OnPageInit(HWND page, const PROPSHEETPAGEW &record)
{
    const int index = int(record.lParam);
    if (index < 0 || index >= kOptionsPageCount)
        return TRUE;
    SetWindowLongPtrW(page, DWLP_USER, index);
    OptionsState.Pages[index] = page;
    if (record.dwSize != 0)
        OnFirstInit(page, index);
    LoadPageControls(page, index);
    if (index == 0) {
        OptionsState.Items = ItemListsOf(U16View(Settings.ShowString));
        FillItemLists(page);
    }
    return TRUE;
}

// Whether a control's notification is the change its binding listens to.
bool IsChangeNotice(const TControlBinding &binding, int code)
{
    switch (binding.Kind) {
    case TBindKind::Check:
    case TBindKind::CheckOpposite:
    case TBindKind::OneChoice:
        return code == BN_CLICKED;
    case TBindKind::List:
    case TBindKind::GlowList:
    case TBindKind::PictureList:
        return code == CBN_SELCHANGE;
    case TBindKind::Text:
        return code == EN_CHANGE;
    default:
        return false;
    }
}

INT_PTR OnPageCommand(HWND page, int id, int code)
{
    switch (id) {
    case IDOK:
        PropSheet_PressButton(OptionsState.Sheet, PSBTN_OK);
        return TRUE;
    case IDCANCEL:
        PropSheet_PressButton(OptionsState.Sheet, PSBTN_CANCEL);
        return TRUE;
    case IDC_OPT_FONT:
    case IDC_OPT_BAND_FONT:
        ChooseMenuFont(page, id == IDC_OPT_BAND_FONT);
        return TRUE;
    case IDC_OPT_BACK_PICTURE_CHOOSE:
    case IDC_OPT_BAND_PICTURE_CHOOSE:
        ChoosePictureFile(page, id);
        return TRUE;
    }
    const TControlBinding *binding = FindBinding(id);
    if (binding && IsChangeNotice(*binding, code))
        StoreBoundControl(page, id);
    return binding != nullptr;
}

INT_PTR OnPageNotify(HWND page, const NMHDR &notice)
{
    switch (notice.code) {
    case UDN_DELTAPOS:
        OnUpDownDelta(page, reinterpret_cast<const NMUPDOWN &>(notice));
        return FALSE;
    case LVN_BEGINDRAG:
        BeginItemDrag(page, reinterpret_cast<const NMLISTVIEW &>(notice));
        return TRUE;
    case PSN_SETACTIVE:
        RaisePreview();
        SetWindowLongPtrW(page, DWLP_MSGRESULT, 0);
        return TRUE;
    }
    return FALSE;
}

void OnPageTimer(HWND page, UINT_PTR timer)
{
    switch (timer) {
    case TIMER_OPTIONS_PREVIEW_WATCH:
        if (!OptionsState.Preview || !IsWindow(OptionsState.Preview)) {
            OptionsState.Preview = nullptr;
            ShowPreviewButtonText(false);
            KillTimer(page, TIMER_OPTIONS_PREVIEW_WATCH);
        }
        break;
    case TIMER_OPTIONS_DRAG_SCROLL:
        OnItemDragScroll(page);
        break;
    }
}

void OnPageDestroy(HWND page)
{
    const int index = PageIndex(page);
    switch (index) {
    case 0:
        WriteRegistryFlags(page);
        DeletePictureListPictures(GetDlgItem(page, IDC_OPT_SELECTION));
        DeletePictureListPictures(GetDlgItem(page, IDC_OPT_HILIGHT_STYLE));
        KillTimer(page, TIMER_OPTIONS_PREVIEW_WATCH);
        KillTimer(page, TIMER_OPTIONS_DRAG_SCROLL);
        break;
    case 1:
        StoreBoundControl(page, IDC_OPT_STYLE);
        break;
    }
    ClosePreview();
    DestroyImageModeIcons(page);
    if (index >= 0 && index < kOptionsPageCount && OptionsState.Pages[index] == page)
        OptionsState.Pages[index] = nullptr;
}

void OnMeasure(MEASUREITEMSTRUCT &measure)
{
    if (measure.CtlType == ODT_LISTVIEW)
        MeasureItemRow(measure);
    else if (measure.CtlType == ODT_COMBOBOX)
        MeasurePictureEntry(measure);
}

void OnDraw(const DRAWITEMSTRUCT &draw)
{
    if (draw.CtlType == ODT_LISTVIEW)
        DrawItemRow(draw);
    else if (draw.CtlType == ODT_COMBOBOX)
        DrawPictureEntry(draw);
}

INT_PTR CALLBACK OptionsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnPageInit(page, *reinterpret_cast<const PROPSHEETPAGEW *>(lParam));
    case WM_COMMAND:
        return OnPageCommand(page, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
        return OnPageNotify(page, *reinterpret_cast<const NMHDR *>(lParam));
    case WM_HSCROLL:
        if (lParam)
            OnTrackBarScroll(page, reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_MEASUREITEM:
        OnMeasure(*reinterpret_cast<MEASUREITEMSTRUCT *>(lParam));
        return TRUE;
    case WM_DRAWITEM:
        OnDraw(*reinterpret_cast<const DRAWITEMSTRUCT *>(lParam));
        return TRUE;
    case WM_TIMER:
        OnPageTimer(page, wParam);
        return TRUE;
    case WM_MOUSEMOVE:
        return OnItemDragMove(page);
    case WM_LBUTTONUP:
        return OnItemDragEnd(page);
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != page)
            OnItemDragEnd(page);
        return FALSE;
    case UM_COLOR_CHOSEN:
        OnColourChosen(page, int(lParam), COLORREF(wParam));
        return TRUE;
    case UM_COLOR_RIGHT_CLICK:
        OnColourRightClick(page, int(lParam));
        return TRUE;
    case UM_OPTIONS_ROWS_DROPPED:
        RebuildShowString();
        RepaintPreview();
        return TRUE;
    case WM_DESTROY:
        OnPageDestroy(page);
        return FALSE;
    }
    return FALSE;
}

} // namespace

INT_PTR RunOptionsSheet(HWND owner)
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_UPDOWN_CLASS |
                                                           ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES |
                                                           ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const HCURSOR dragCursor = OptionsState.DragCursor;
    OptionsState = TOptionsState{};
    OptionsState.DragCursor = dragCursor;

    PROPSHEETPAGEW pages[kOptionsPageCount] = {};
    for (int i = 0; i < kOptionsPageCount; ++i) {
        pages[i].dwSize = sizeof(PROPSHEETPAGEW);
        pages[i].dwFlags = PSP_USETITLE;
        pages[i].hInstance = GetModuleHandleW(nullptr);
        pages[i].pszTemplate = MAKEINTRESOURCEW(kPageTemplates[i]);
        pages[i].pfnDlgProc = OptionsPageProc;
        pages[i].pszTitle = Settings.Local[kPageTitles[i]];
        pages[i].lParam = i;
    }
    PROPSHEETHEADERW header = {};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_NOCONTEXTHELP;
    header.hwndParent = owner;
    header.hInstance = GetModuleHandleW(nullptr);
    header.pszCaption = Settings.Local[LocalDlg_105];
    header.nPages = kOptionsPageCount;
    header.ppsp = pages;
    const INT_PTR result = PropertySheetW(&header);
    ReleaseItemLists();
    OptionsState.Sheet = nullptr;
    return result;
}
