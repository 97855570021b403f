// The bound controls of the options pages: each is read and written through its row of the
// binding table; the handlers here only move values between the controls and the rows.
#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <string>

#include "common/messages.h"
#include "common/registry_flags.h"
#include "common/win_guards.h"
#include "common/win_text.h"
#include "render/drawing.h"
#include "render/options/options_sheet.h"
#include "resources/tvra_resources.h"
#include "settings/settings.h"

TOptionsSeam OptionsSeam = {ChooseFontW, GetOpenFileNameW};

namespace {

constexpr int kPicturePickerMargin = 16;  // the check mark's room in the open list
constexpr int kPictureListRows = 5;
constexpr COLORREF kPictureEntryTop = RGB(0xEF, 0xEF, 0xEF);
constexpr COLORREF kPictureEntryBottom = RGB(0xAF, 0xAF, 0xAF);

std::wstring ControlText(HWND control)
{
    const int length = GetWindowTextLengthW(control);
    std::wstring text(size_t(length) + 1, L'\0');
    GetWindowTextW(control, text.data(), length + 1);
    text.resize(wcslen(text.c_str()));
    return text;
}

std::wstring ListEntryText(HWND list, LRESULT index)
{
    const LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR)
        return {};
    std::wstring text(size_t(length) + 1, L'\0');
    SendMessageW(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcslen(text.c_str()));
    return text;
}

bool IsChecked(HWND page, int control)
{
    return IsDlgButtonChecked(page, control) == BST_CHECKED;
}

// The derived picture that follows a picture control's setting.
HBITMAP *PictureOf(int control)
{
    switch (control) {
    case IDC_OPT_SELECTION:
        return &Settings.SelectionBitmap;
    case IDC_OPT_HILIGHT_STYLE:
        return &Settings.HilightBitmap;
    case IDC_OPT_BACK_PICTURE:
        return &Settings.BackMenuBitmap;
    case IDC_OPT_BAND_PICTURE:
        return &Settings.RibbonBitmap;
    }
    return nullptr;
}

void ReplacePicture(int control, HBITMAP picture)
{
    HBITMAP *member = PictureOf(control);
    if (!member) {
        if (picture)
            DeleteObject(picture);
        return;
    }
    if (*member)
        DeleteObject(*member);
    *member = picture;
}

// The read side: one control set from its row's state.
void ShowState(HWND page, const TControlBinding &binding, const TControlState &state)
{
    HWND control = GetDlgItem(page, binding.Control);
    switch (binding.Kind) {
    case TBindKind::Check:
    case TBindKind::CheckOpposite:
    case TBindKind::OneChoice:
        CheckDlgButton(page, binding.Control, state.Number ? BST_CHECKED : BST_UNCHECKED);
        break;
    case TBindKind::RegistryFlag:
        CheckDlgButton(page, binding.Control,
                       ReadRegistryFlag(W(binding.Key)) ? BST_CHECKED : BST_UNCHECKED);
        break;
    case TBindKind::List:
    case TBindKind::GlowList:
        SendMessageW(control, CB_SETCURSEL, WPARAM(state.Number), 0);
        break;
    case TBindKind::UpDown:
        SetDlgItemInt(page, binding.Partner, UINT(int(state.Number)), TRUE);
        break;
    case TBindKind::TrackBar:
        SendMessageW(control, TBM_SETPOS, TRUE, LPARAM(state.Number));
        SetDlgItemInt(page, binding.Partner, UINT(int(state.Number)), TRUE);
        break;
    case TBindKind::Colour:
        SendMessageW(control, UM_COLOR_SET, WPARAM(state.Number), 0);
        break;
    case TBindKind::Text:
        // Only when it differs, so that setting it does not echo a change back.
        if (ControlText(control) != W(state.Text.c_str()))
            SetWindowTextW(control, W(state.Text.c_str()));
        break;
    case TBindKind::Path:
        SetWindowTextW(control, W(state.Text.c_str()));
        break;
    case TBindKind::PictureList:
        SendMessageW(control, CB_SETCURSEL,
                     WPARAM(SendMessageW(control, CB_FINDSTRINGEXACT, WPARAM(-1),
                                         reinterpret_cast<LPARAM>(W(state.Text.c_str())))),
                     0);
        break;
    }
}

// The controls of a page that show one setting (both of a one-choice pair).
void ShowSetting(HWND page, const char16_t *key)
{
    const std::vector<SettingRow> rows = ConfigurationRows(Settings);
    for (const TControlBinding &other : OptionsBindings())
        if (std::u16string_view(other.Key) == key && GetDlgItem(page, other.Control))
            ShowState(page, other, LoadControl(other, rows));
}

// What a control of `binding` shows now (the store side).
TControlState ReadState(HWND page, const TControlBinding &binding)
{
    HWND control = GetDlgItem(page, binding.Control);
    TControlState state;
    switch (binding.Kind) {
    case TBindKind::Check:
    case TBindKind::CheckOpposite:
    case TBindKind::OneChoice:
        state.Number = IsChecked(page, binding.Control);
        break;
    case TBindKind::List:
    case TBindKind::GlowList:
        state.Number = SendMessageW(control, CB_GETCURSEL, 0, 0);
        break;
    case TBindKind::TrackBar:
        state.Number = SendMessageW(control, TBM_GETPOS, 0, 0);
        break;
    case TBindKind::Colour:
        state.Number = SendMessageW(control, UM_COLOR_GET, 0, 0);
        break;
    case TBindKind::Text:
    case TBindKind::Path:
        state.Text = U16(ControlText(control).c_str());
        break;
    case TBindKind::PictureList:
        state.Text = U16(ListEntryText(control, SendMessageW(control, CB_GETCURSEL, 0, 0)).c_str());
        break;
    case TBindKind::UpDown:
    case TBindKind::RegistryFlag:
        break;
    }
    return state;
}

const TControlBinding *BindingOn(HWND page, int control)
{
    const TControlBinding *binding = FindBinding(control);
    return binding && GetDlgItem(page, control) ? binding : nullptr;
}

TControlState Store(const TControlBinding &binding, const TControlState &state)
{
    return StoreControl(binding, state, ConfigurationRows(Settings), SystemIconMetrics());
}

void AfterStore(HWND page, const TControlBinding &binding, const TControlState &shown)
{
    if (binding.Kind == TBindKind::OneChoice)
        ShowSetting(page, binding.Key);
    else if (binding.Kind != TBindKind::Text)
        ShowState(page, binding, shown);
    if (binding.Repaints)
        RepaintPreview();
}

int ScreenPixelsPerInch()
{
    TScreenDC screen;
    return GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

// The font settings of the menu text or of the band.
struct TFontSettings {
    wchar_t *Face;
    int *Size;
    bool *Bold;
    bool *Italic;
    HFONT *Font;
    int Escapement;
};

TFontSettings FontSettings(bool band)
{
    if (band)
        return {Settings.RibbonFontFace, &Settings.RibbonFontSize, &Settings.RibbonFontBold,
                &Settings.RibbonFontItalic, &Settings.RibbonFont, 900};
    return {Settings.DrawFontFace, &Settings.DrawFontSize, &Settings.DrawFontBold,
            &Settings.DrawFontItalic, &Settings.MenuFont, 0};
}

} // namespace

TIconMetrics SystemIconMetrics()
{
    return {GetSystemMetrics(SM_CYICON), GetSystemMetrics(SM_CYSMICON)};
}

void LoadPageControls(HWND page, int pageIndex)
{
    const std::vector<SettingRow> rows = ConfigurationRows(Settings);
    const TIconMetrics metrics = SystemIconMetrics();
    for (const TControlBinding &binding : OptionsBindings()) {
        if (binding.Page != pageIndex)
            continue;
        if (binding.Kind == TBindKind::TrackBar) {
            const TRange range = RangeOf(binding, metrics);
            HWND bar = GetDlgItem(page, binding.Control);
            SendMessageW(bar, TBM_SETRANGEMIN, FALSE, range.Min);
            SendMessageW(bar, TBM_SETRANGEMAX, TRUE, range.Max);
        }
        ShowState(page, binding, LoadControl(binding, rows));
    }
}

bool StoreBoundControl(HWND page, int control)
{
    const TControlBinding *binding = BindingOn(page, control);
    if (!binding || binding->Kind == TBindKind::UpDown || binding->Kind == TBindKind::RegistryFlag)
        return binding != nullptr;
    const TControlState shown = Store(*binding, ReadState(page, *binding));
    if (binding->Kind == TBindKind::PictureList)
        ReplacePicture(control, LoadStockPicture(W(shown.Text.c_str()), true));
    AfterStore(page, *binding, shown);
    return true;
}

// The up-downs run with their default reversed range, so the up arrow has a delta of -1.
bool OnUpDownDelta(HWND page, const NMUPDOWN &change)
{
    const TControlBinding *binding = BindingOn(page, int(change.hdr.idFrom));
    if (!binding || binding->Kind != TBindKind::UpDown)
        return false;
    BOOL read = FALSE;
    const int shownNumber = int(GetDlgItemInt(page, binding->Partner, &read, TRUE));
    TControlState asked;
    asked.Number = int64_t(shownNumber) - change.iDelta;
    AfterStore(page, *binding, Store(*binding, asked));
    return true;
}

void OnTrackBarScroll(HWND page, HWND trackBar)
{
    StoreBoundControl(page, GetDlgCtrlID(trackBar));
}

void OnColourChosen(HWND page, int control, COLORREF colour)
{
    const TControlBinding *binding = BindingOn(page, control);
    if (!binding || binding->Kind != TBindKind::Colour)
        return;
    TControlState state;
    state.Number = colour;
    AfterStore(page, *binding, Store(*binding, state));
}

// A right click on either box of a gradient pair swaps the pair.
void OnColourRightClick(HWND page, int control)
{
    static constexpr int kPairs[][2] = {
        {IDC_OPT_GRADIENT1, IDC_OPT_GRADIENT2},
        {IDC_OPT_BAND_GRADIENT1, IDC_OPT_BAND_GRADIENT2},
    };
    for (const auto &pair : kPairs) {
        if (control != pair[0] && control != pair[1])
            continue;
        const TControlBinding *first = BindingOn(page, pair[0]);
        const TControlBinding *second = BindingOn(page, pair[1]);
        if (!first || !second)
            return;
        const std::vector<SettingRow> rows = ConfigurationRows(Settings);
        const TControlState a = LoadControl(*first, rows);
        const TControlState b = LoadControl(*second, rows);
        ShowState(page, *first, Store(*first, b));
        ShowState(page, *second, Store(*second, a));
        RepaintPreview();
        return;
    }
}

void ChooseMenuFont(HWND page, bool band)
{
    const TFontSettings font = FontSettings(band);
    const int pixelsPerInch = ScreenPixelsPerInch();
    LOGFONTW logical = {};
    logical.lfHeight = -MulDiv(*font.Size, pixelsPerInch, 72);
    logical.lfWeight = *font.Bold ? FW_BOLD : FW_NORMAL;
    logical.lfItalic = *font.Italic;
    logical.lfEscapement = font.Escapement;
    logical.lfOrientation = font.Escapement;
    logical.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(logical.lfFaceName, font.Face, LF_FACESIZE);
    CHOOSEFONTW choose = {};
    choose.lStructSize = sizeof(choose);
    choose.hwndOwner = page;
    choose.lpLogFont = &logical;
    choose.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | (band ? CF_TTONLY : 0);
    if (!OptionsSeam.ChooseFont(&choose))
        return;
    logical.lfEscapement = font.Escapement;
    logical.lfOrientation = font.Escapement;
    if (*font.Font)
        DeleteObject(*font.Font);
    *font.Font = CreateFontIndirectW(&logical);
    *font.Size = MulDiv(logical.lfHeight < 0 ? -logical.lfHeight : logical.lfHeight, 72,
                        pixelsPerInch);
    *font.Bold = logical.lfWeight >= FW_BOLD;
    *font.Italic = logical.lfItalic != 0;
    lstrcpynW(font.Face, logical.lfFaceName, kFontFaceSize);
    RepaintPreview();
}

void ChoosePictureFile(HWND page, int button)
{
    const TControlBinding *binding = nullptr;
    for (const TControlBinding &row : OptionsBindings())
        if (row.Kind == TBindKind::Path && row.Partner == button)
            binding = BindingOn(page, row.Control);
    if (!binding)
        return;
    wchar_t file[MAX_PATH] = {};
    lstrcpynW(file, W(LoadControl(*binding, ConfigurationRows(Settings)).Text.c_str()), MAX_PATH);
    static const wchar_t kFilter[] = L"*.bmp;*.gif;*.ico;*.jpg;*.jpeg;*.tif;*.tiff;*.png\0"
                                     L"*.bmp;*.gif;*.ico;*.jpg;*.jpeg;*.tif;*.tiff;*.png\0";
    OPENFILENAMEW open = {};
    open.lStructSize = sizeof(open);
    open.hwndOwner = page;
    open.lpstrFilter = kFilter;
    open.lpstrFile = file;
    open.nMaxFile = MAX_PATH;
    open.Flags = OFN_FILEMUSTEXIST;
    if (!OptionsSeam.GetOpenFileName(&open))
        return;
    HBITMAP picture = LoadPicture(file, false);
    if (!picture)
        return;  // not a picture: nothing changes
    TControlState state;
    state.Text = U16(file);
    const TControlState shown = Store(*binding, state);
    ReplacePicture(binding->Control, picture);
    AfterStore(page, *binding, shown);
}

// ---- Picture lists 133 and 207 ----

void FillPictureList(HWND list, const wchar_t *pattern)
{
    const LRESULT entryHeight = SendMessageW(list, CB_GETITEMHEIGHT, 0, 0);
    const LRESULT editHeight = SendMessageW(list, CB_GETITEMHEIGHT, WPARAM(-1), 0);
    SendMessageW(list, CB_SETITEMHEIGHT, 0, entryHeight * 2);
    RECT rect = {};
    GetWindowRect(list, &rect);
    const int dropHeight = int(entryHeight * 2 * kPictureListRows + editHeight +
                               4 * GetSystemMetrics(SM_CYEDGE));
    SetWindowPos(list, nullptr, 0, 0, rect.right - rect.left, dropHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (int number = 1;; ++number) {
        wchar_t name[MAX_PATH];
        wsprintfW(name, pattern, number);
        HBITMAP picture = LoadStockPicture(name, true);
        if (!picture)
            break;
        const LRESULT entry = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        SendMessageW(list, CB_SETITEMDATA, WPARAM(entry), reinterpret_cast<LPARAM>(picture));
    }
}

void DeletePictureListPictures(HWND list)
{
    const LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT data = SendMessageW(list, CB_GETITEMDATA, WPARAM(i), 0);
        if (data != CB_ERR && data)
            DeleteObject(reinterpret_cast<HBITMAP>(data));
        SendMessageW(list, CB_SETITEMDATA, WPARAM(i), 0);
    }
}

void MeasurePictureEntry(MEASUREITEMSTRUCT &measure)
{
    TScreenDC screen;
    TEXTMETRICW metrics = {};
    GetTextMetricsW(screen.Get(), &metrics);
    measure.itemHeight = UINT(metrics.tmHeight + 4);
}

void DrawPictureEntry(const DRAWITEMSTRUCT &draw)
{
    RECT rect = draw.rcItem;
    FillRect(draw.hDC, &rect, GetSysColorBrush(COLOR_SCROLLBAR));
    const bool inOpenList = !(draw.itemState & ODS_COMBOBOXEDIT);
    RECT shade = rect;
    if (inOpenList)
        shade.left += kPicturePickerMargin;
    TRIVERTEX vertices[2] = {
        {shade.left, shade.top, COLOR16(GetRValue(kPictureEntryTop) << 8),
         COLOR16(GetGValue(kPictureEntryTop) << 8), COLOR16(GetBValue(kPictureEntryTop) << 8), 0xFF00},
        {shade.right, shade.bottom, COLOR16(GetRValue(kPictureEntryBottom) << 8),
         COLOR16(GetGValue(kPictureEntryBottom) << 8), COLOR16(GetBValue(kPictureEntryBottom) << 8),
         0xFF00},
    };
    GRADIENT_RECT gradient = {0, 1};
    GdiGradientFill(draw.hDC, vertices, 2, &gradient, 1, GRADIENT_FILL_RECT_V);
    InflateRect(&shade, -1, -1);
    if (draw.itemID == UINT(-1))
        return;
    const std::wstring text = ListEntryText(draw.hwndItem, LRESULT(draw.itemID));
    TThemeData listTheme(OpenThemeData(draw.hwndItem, L"LISTBOX"));
    if (listTheme.Get())
        DrawThemeText(listTheme.Get(), draw.hDC, 0, 0, text.c_str(), int(text.size()),
                      DT_CENTER | DT_VCENTER | DT_SINGLELINE, 0, &shade);
    BlendPicture(draw.hDC, shade.left, shade.top, shade.right - shade.left,
                 shade.bottom - shade.top, reinterpret_cast<HBITMAP>(draw.itemData));
    if (inOpenList && (draw.itemState & ODS_SELECTED)) {
        TThemeData menuTheme(OpenThemeData(draw.hwndItem, L"MENU"));
        RECT mark = {rect.left, rect.top, rect.left + kPicturePickerMargin, rect.bottom};
        if (menuTheme.Get())
            DrawThemeBackground(menuTheme.Get(), draw.hDC, MENU_POPUPCHECK, MC_CHECKMARKNORMAL,
                                &mark, nullptr);
    }
}

void WriteRegistryFlags(HWND page)
{
    for (const TControlBinding &binding : OptionsBindings())
        if (binding.Kind == TBindKind::RegistryFlag && GetDlgItem(page, binding.Control))
            WriteRegistryFlag(W(binding.Key), IsChecked(page, binding.Control));
}

void RepaintPreview()
{
    if (OptionsState.Preview && IsWindow(OptionsState.Preview))
        InvalidateRect(OptionsState.Preview, nullptr, FALSE);
}
