// The options sheet as the user meets it: the real sheet from the program's templates, run
// modally and driven from inside its own message loop (a one-shot thread timer runs each
// test's steps, then presses OK or Cancel).  Modal system dialogs (colour, font, open file)
// are answered through their seams; the save-theme dialog is a real one, answered by a timer.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "app/options_command.h"
#include "app/window_classes.h"
#include "common/messages.h"
#include "common/registry_flags.h"
#include "common/win_guards.h"
#include "common/win_text.h"
#include "render/options/color_control.h"
#include "render/options/options_sheet.h"
#include "resources/tvra_resources.h"
#include "settings/portable/builtin_defaults.h"
#include "settings/settings.h"
#include "settings/themes.h"
#include "test_files.h"

namespace {

// ---- The window the sheet belongs to: records what the sheet's caller sends it ----
std::vector<UINT> recorded;
HWND recorder;

LRESULT CALLBACK RecorderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= UM_OPTIONS_APPLY_ITEMS && message <= UM_OPTIONS_APPLY_STYLE) {
        recorded.push_back(message);
        if (message == UM_OPTIONS_CANCELLED)
            BuildSettingsFonts();  // what the main window does on it
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// ---- Running the sheet with a driver ----
std::function<void()> steps;
bool pressOk;
bool stepsRan;

void CALLBACK RunSteps(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    std::function<void()> body = std::move(steps);
    stepsRan = true;
    body();
    PropSheet_PressButton(OptionsState.Sheet, pressOk ? PSBTN_OK : PSBTN_CANCEL);
}

INT_PTR RunSheet(bool ok, std::function<void()> body)
{
    steps = std::move(body);
    pressOk = ok;
    stepsRan = false;
    SetTimer(nullptr, 0, 1, RunSteps);
    const INT_PTR result = RunOptionsSheet(recorder);
    EXPECT_TRUE(stepsRan) << "the sheet did not come up (" << result << ")";
    return result;
}

void RunCommand(bool ok, std::function<void()> body)
{
    steps = std::move(body);
    pressOk = ok;
    stepsRan = false;
    SetTimer(nullptr, 0, 1, RunSteps);
    RunOptionsCommand(recorder);
    EXPECT_TRUE(stepsRan) << "the sheet did not come up";
}

// Delivers what the controls posted (the colour box posts its right click), but no paint.
void DeliverPosted()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

HWND Page(int index)
{
    PropSheet_SetCurSel(OptionsState.Sheet, nullptr, index);
    return OptionsState.Pages[index];
}

// The page that holds a control (its page is made current first).
HWND PageOf(int control)
{
    const TControlBinding *binding = FindBinding(control);
    for (int i = 0; i < kOptionsPageCount; ++i)
        if (HWND page = Page(binding ? binding->Page : i); page && GetDlgItem(page, control))
            return page;
    return nullptr;
}

std::wstring TextOf(HWND window)
{
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

// ---- A user's actions ----
void Click(HWND page, int control)
{
    SendDlgItemMessageW(page, control, BM_CLICK, 0, 0);
}

void Choose(HWND page, int control, int index)
{
    HWND list = GetDlgItem(page, control);
    SendMessageW(list, CB_SETCURSEL, WPARAM(index), 0);
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(control, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void Arrow(HWND page, int spin, bool up)
{
    HWND control = GetDlgItem(page, spin);
    RECT client = {};
    GetClientRect(control, &client);
    const LPARAM at = MAKELPARAM(client.right / 2, up ? client.bottom / 4 : client.bottom * 3 / 4);
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(control, WM_LBUTTONUP, 0, at);
}

void SlideRight(HWND page, int control)
{
    HWND bar = GetDlgItem(page, control);
    SetFocus(bar);
    SendMessageW(bar, WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageW(bar, WM_KEYUP, VK_RIGHT, 0);
}

COLORREF answeredColour;
BOOL WINAPI AnswerColour(CHOOSECOLORW *choose)
{
    choose->rgbResult = answeredColour;
    return TRUE;
}

void PickColour(HWND page, int control, COLORREF colour)
{
    answeredColour = colour;
    ColorControlSeam.ChooseColor = AnswerColour;
    SendDlgItemMessageW(page, control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

std::wstring answeredFile;
int fileDialogs;
BOOL WINAPI AnswerFile(OPENFILENAMEW *open)
{
    ++fileDialogs;
    if (answeredFile.empty())
        return FALSE;
    lstrcpynW(open->lpstrFile, answeredFile.c_str(), int(open->nMaxFile));
    return TRUE;
}

LOGFONTW answeredFont;
BOOL WINAPI AnswerFont(CHOOSEFONTW *choose)
{
    *choose->lpLogFont = answeredFont;
    return TRUE;
}

std::wstring PicturePath(const char *name)
{
    return WindowsPath((std::string(ORVELLA_IMAGE_DIR) + "/images/" + name).c_str());
}

// ---- Settings by key ----
std::u16string ValueOf(std::u16string_view key)
{
    const std::vector<SettingRow> rows = ConfigurationRows(Settings);
    const SettingRow *row = FindSettingRow(rows, key);
    return row ? FormatRowValue(*row) : u"<no such key>";
}

// Puts "key=value" lines into the record, leaving every other setting as it is.
void LoadLines(std::u16string_view lines)
{
    std::vector<SettingRow> rows;
    for (const SettingRow &row : ConfigurationRows(Settings))
        if (lines.find(row.Key + u"=") != std::u16string_view::npos)
            rows.push_back(row);
    ReadRows(lines, rows);
}

// Whether every "key=value" line holds in the record; the first that does not, otherwise.
std::string CheckLines(std::u16string_view lines)
{
    std::string failures;
    while (!lines.empty()) {
        const size_t end = std::min(lines.find(u"\r\n"), lines.size());
        const std::u16string_view line = lines.substr(0, end);
        const size_t equals = line.find(u'=');
        const std::u16string key(line.substr(0, equals));
        const std::u16string value = ValueOf(key);
        if (value != line.substr(equals + 1))
            failures += std::string(key.begin(), key.end()) + " is " +
                        std::string(value.begin(), value.end()) + "; ";
        lines.remove_prefix(std::min(lines.size(), end + 2));
    }
    return failures;
}

// What a bound control shows, in the settings file's notation.
std::u16string Shown(HWND page, const TControlBinding &binding)
{
    HWND control = GetDlgItem(page, binding.Control);
    switch (binding.Kind) {
    case TBindKind::Check:
    case TBindKind::CheckOpposite:
    case TBindKind::OneChoice:
    case TBindKind::RegistryFlag:
        return FormatFlagValue(IsDlgButtonChecked(page, binding.Control) == BST_CHECKED);
    case TBindKind::List:
    case TBindKind::GlowList:
        return FormatIntValue(int32_t(SendMessageW(control, CB_GETCURSEL, 0, 0)));
    case TBindKind::PictureList: {
        wchar_t text[MAX_PATH] = {};
        SendMessageW(control, CB_GETLBTEXT, SendMessageW(control, CB_GETCURSEL, 0, 0),
                     reinterpret_cast<LPARAM>(text));
        return U16(text);
    }
    case TBindKind::UpDown:
        return U16(TextOf(GetDlgItem(page, binding.Partner)).c_str());
    case TBindKind::TrackBar: {
        const std::u16string label = U16(TextOf(GetDlgItem(page, binding.Partner)).c_str());
        const std::u16string position = FormatIntValue(int32_t(SendMessageW(control, TBM_GETPOS, 0, 0)));
        return position == label ? position : position + u" but the label says " + label;
    }
    case TBindKind::Colour:
        return FormatColourValue(uint32_t(SendMessageW(control, UM_COLOR_GET, 0, 0)));
    case TBindKind::Text:
    case TBindKind::Path:
        return U16(TextOf(control).c_str());
    }
    return u"?";
}

// Every page set from the record again, as the theme chooser does.
void ReloadPages()
{
    for (int i = 0; i < kOptionsPageCount; ++i) {
        if (!OptionsState.Pages[i])
            continue;
        PROPSHEETPAGEW again = {};
        again.lParam = i;
        SendMessageW(OptionsState.Pages[i], WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&again));
    }
}

std::string Narrow(std::u16string_view text)
{
    return std::string(text.begin(), text.end());
}

class OptionsSheet : public testing::Test {
protected:
    void SetUp() override
    {
        ReadLanguageStrings(kBuiltInDefaults);
        BuildSettingsFonts();
        recorded.clear();
        fileDialogs = 0;
        answeredFile.clear();
        OptionsSeam = {AnswerFont, AnswerFile};
    }
};

// ---- Every row of the binding table: a record loaded shows in the control, and a user's
// change of the control reaches the record ----
enum class TUser { Click, Choose, Up, Down, Slide, Colour, File, Type, Nothing };

struct TRowCase {
    int control;
    const char16_t *before;  // lines put into the record first
    const char16_t *shown;   // what the control then shows
    TUser user;
    int choice;              // Choose: the index; Colour: the colour
    const char16_t *after;   // lines the record holds after the user's change
};

const std::u16string kLongText = std::u16string(100, u'x');
const std::u16string kText79 = std::u16string(79, u'x');

TEST_F(OptionsSheet, EveryBoundControlShowsItsSettingAndWritesItBack)
{
    const std::u16string picture = U16(PicturePath("select2.png").c_str());
    const std::u16string backPicture = u"BackMenuBitmapFile=" + picture;
    const std::u16string bandPicture = u"RibbonBitmapFile=" + picture;
    const std::u16string bandText = u"RibbonText=" + kText79;
    const TRowCase cases[] = {
        {IDC_OPT_ICON1_SPIN, u"IconSize1=40", u"40", TUser::Up, 0, u"IconSize1=41"},
        {IDC_OPT_ICON2_SPIN, u"IconSize2=16", u"16", TUser::Down, 0, u"IconSize2=15"},
        {IDC_OPT_SELECTION, u"DrawSelectionBitmapFile=select2.png", u"select2.png", TUser::Choose, 2, u"DrawSelectionBitmapFile=select3.png"},
        {IDC_OPT_CURSOR, u"DrawCursorStyle=1", u"1", TUser::Choose, 0, u"DrawCursorStyle=0"},
        {IDC_OPT_HILIGHT, u"Hilight=no", u"no", TUser::Click, 0, u"Hilight=yes"},
        {IDC_OPT_HILIGHT_STYLE, u"HilightStyleBitmapFile=hilight1.png", u"hilight1.png", TUser::Choose, 1, u"HilightStyleBitmapFile=hilight2.png"},
        {IDC_OPT_DAYS_SPIN, u"Days=120", u"120", TUser::Up, 0, u"Days=120"},
        {IDC_OPT_DELAY, u"MenuDelay=250", u"250", TUser::Slide, 0, u"MenuDelay=251"},
        {IDC_OPT_CONTROL_EX, u"ShowControlEx=yes", u"yes", TUser::Click, 0, u"ShowControlEx=no"},
        {IDC_OPT_RECENT_COUNT_SPIN, u"RecentCount=5", u"5", TUser::Down, 0, u"RecentCount=5"},
        {IDC_OPT_RECENT_BY_NAME, u"RecentSort=1", u"no", TUser::Click, 0, u"RecentSort=0"},
        {IDC_OPT_RECENT_BY_DATE, u"RecentSort=0", u"no", TUser::Click, 0, u"RecentSort=1"},
        {IDC_OPT_CLASSIC_LOOK, u"ClassicAppearance=no", u"no", TUser::Click, 0, u"ClassicAppearance=yes"},
        {IDC_OPT_CLASSIC_EXIT, u"ClassicExit=yes", u"yes", TUser::Click, 0, u"ClassicExit=no"},
        {IDC_OPT_PROGRAMS_INSIDE, u"ProgramsOnTop=yes", u"no", TUser::Click, 0, u"ProgramsOnTop=no"},
        {IDC_OPT_AUTOSTART, u"", nullptr, TUser::Nothing, 0, u""},
        {IDC_OPT_SHOW_DESKTOP, u"", nullptr, TUser::Nothing, 0, u""},
        {IDC_OPT_NO_CORNERS, u"", nullptr, TUser::Nothing, 0, u""},

        {IDC_OPT_STYLE, u"MenuStyle=1", u"1", TUser::Choose, 0, u"MenuStyle=0"},
        {IDC_OPT_MODE, u"DrawColorMode=3", u"3", TUser::Choose, 1, u"DrawColorMode=1"},
        {IDC_OPT_ALPHA, u"DrawColorAlpha=200", u"200", TUser::Slide, 0, u"DrawColorAlpha=201"},
        {IDC_OPT_BLUR, u"DrawBlur=yes", u"yes", TUser::Click, 0, u"DrawBlur=no"},
        {IDC_OPT_PLAIN, u"DrawColorPlain=0x102030", u"0x102030", TUser::Colour, int(RGB(1, 2, 3)), u"DrawColorPlain=0x010203"},
        {IDC_OPT_GRADIENT1, u"DrawColorGradient1=0xA0B0C0", u"0xA0B0C0", TUser::Colour, int(RGB(4, 5, 6)), u"DrawColorGradient1=0x040506"},
        {IDC_OPT_GRADIENT2, u"DrawColorGradient2=0x0000FF", u"0x0000FF", TUser::Colour, int(RGB(7, 8, 9)), u"DrawColorGradient2=0x070809"},
        {IDC_OPT_BACK_PICTURE, u"BackMenuBitmapFile=C:\\old.png", u"C:\\old.png", TUser::File, IDC_OPT_BACK_PICTURE_CHOOSE, backPicture.c_str()},
        {IDC_OPT_BACK_FIXED, u"BackMenuImageMode=no", u"no", TUser::Click, 0, u"BackMenuImageMode=yes"},
        {IDC_OPT_BACK_MOVES, u"BackMenuImageMode=yes", u"no", TUser::Click, 0, u"BackMenuImageMode=no"},
        {IDC_OPT_DEFAULT_FONT, u"DrawFontDefault=no", u"no", TUser::Click, 0, u"DrawFontDefault=yes"},
        {IDC_OPT_FONT_COLOR, u"DrawFontColor=0xFFFFFF", u"0xFFFFFF", TUser::Colour, int(RGB(0x12, 0x34, 0x56)), u"DrawFontColor=0x123456"},
        {IDC_OPT_GLOW, u"DrawGlow=yes\r\nDrawGlowDouble=yes", u"2", TUser::Choose, 1, u"DrawGlow=yes\r\nDrawGlowDouble=no"},
        {IDC_OPT_GLOW_SIZE, u"DrawGlowSize=24", u"24", TUser::Slide, 0, u"DrawGlowSize=25"},
        {IDC_OPT_GLOW_COLOR, u"GlowColor=0x000000", u"0x000000", TUser::Colour, int(RGB(9, 9, 9)), u"GlowColor=0x090909"},
        {IDC_OPT_SHADOW, u"ShadowInsteadOfGlow=yes", u"yes", TUser::Click, 0, u"ShadowInsteadOfGlow=no"},

        {IDC_OPT_BAND_STYLE, u"RibbonStyle=2", u"2", TUser::Choose, 1, u"RibbonStyle=1"},
        {IDC_OPT_BAND_WIDTH_SPIN, u"RibbonWidth=20", u"20", TUser::Up, 0, u"RibbonWidth=21"},
        {IDC_OPT_BAND_MODE, u"RibbonColorMode=0", u"0", TUser::Choose, 2, u"RibbonColorMode=2"},
        {IDC_OPT_BAND_ALPHA, u"RibbonColorAlpha=0", u"0", TUser::Slide, 0, u"RibbonColorAlpha=1"},
        {IDC_OPT_BAND_PLAIN, u"RibbonColorPlain=0x010101", u"0x010101", TUser::Colour, int(RGB(2, 2, 2)), u"RibbonColorPlain=0x020202"},
        {IDC_OPT_BAND_GRADIENT1, u"RibbonColorGradient1=0x030303", u"0x030303", TUser::Colour, int(RGB(4, 4, 4)), u"RibbonColorGradient1=0x040404"},
        {IDC_OPT_BAND_GRADIENT2, u"RibbonColorGradient2=0x050505", u"0x050505", TUser::Colour, int(RGB(6, 6, 6)), u"RibbonColorGradient2=0x060606"},
        {IDC_OPT_BAND_PICTURE, u"RibbonBitmapFile=", u"", TUser::File, IDC_OPT_BAND_PICTURE_CHOOSE, bandPicture.c_str()},
        {IDC_OPT_BAND_STRETCH_ALL, u"RibbonBitmapExpand=no", u"no", TUser::Click, 0, u"RibbonBitmapExpand=yes"},
        {IDC_OPT_BAND_STRETCH_WIDTH, u"RibbonBitmapExpand=no", u"yes", TUser::Click, 0, u"RibbonBitmapExpand=no"},
        {IDC_OPT_BAND_PICTURE_BACK, u"RibbonBitmapBackground=0x070707", u"0x070707", TUser::Colour, int(RGB(8, 8, 8)), u"RibbonBitmapBackground=0x080808"},
        {IDC_OPT_BAND_FONT_COLOR, u"RibbonFontColor=0x090909", u"0x090909", TUser::Colour, int(RGB(10, 10, 10)), u"RibbonFontColor=0x0A0A0A"},
        {IDC_OPT_BAND_GLOW, u"RibbonGlow=no\r\nRibbonGlowDouble=yes", u"0", TUser::Choose, 2, u"RibbonGlow=yes\r\nRibbonGlowDouble=yes"},
        {IDC_OPT_BAND_GLOW_BLACK, u"RibbonGlowBlack=no", u"no", TUser::Click, 0, u"RibbonGlowBlack=yes"},
        {IDC_OPT_BAND_GLOW_SIZE, u"RibbonGlowSize=3", u"3", TUser::Slide, 0, u"RibbonGlowSize=4"},
        {IDC_OPT_BAND_TEXT, u"RibbonText=abc", u"abc", TUser::Type, 0, bandText.c_str()},
    };
    answeredFile = PicturePath("select2.png");

    RunSheet(false, [&] {
        for (const TControlBinding &binding : OptionsBindings()) {
            const TRowCase *found = nullptr;
            for (const TRowCase &c : cases)
                if (c.control == binding.Control)
                    found = &c;
            ASSERT_NE(found, nullptr) << "no case for control " << binding.Control;
            const TRowCase &c = *found;
            SCOPED_TRACE("control " + std::to_string(c.control));
            HWND page = PageOf(c.control);
            ASSERT_NE(page, nullptr);
            if (binding.Kind == TBindKind::RegistryFlag) {
                for (bool on : {false, true}) {
                    WriteRegistryFlag(W(binding.Key), on);
                    ReloadPages();
                    EXPECT_EQ(Shown(page, binding), FormatFlagValue(on));
                }
                continue;
            }
            LoadLines(c.before);
            ReloadPages();
            EXPECT_EQ(Narrow(Shown(page, binding)), Narrow(c.shown)) << "after loading " << Narrow(c.before);
            switch (c.user) {
            case TUser::Click: Click(page, c.control); break;
            case TUser::Choose: Choose(page, c.control, c.choice); break;
            case TUser::Up: Arrow(page, c.control, true); break;
            case TUser::Down: Arrow(page, c.control, false); break;
            case TUser::Slide: SlideRight(page, c.control); break;
            case TUser::Colour: PickColour(page, c.control, COLORREF(c.choice)); break;
            case TUser::File: Click(page, c.choice); break;
            case TUser::Type: SetDlgItemTextW(page, c.control, W(kLongText.c_str())); break;
            case TUser::Nothing: break;
            }
            EXPECT_EQ(CheckLines(c.after), "");
        }
    });
}

TEST_F(OptionsSheet, TypedIconSizeIsNotReadAndOkKeepsTheOldSize)
{
    Settings.IconSize1 = 33;
    Settings.IconSize2 = 17;
    const INT_PTR result = RunSheet(true, [] {
        HWND page = Page(0);
        SetDlgItemTextW(page, IDC_OPT_ICON1, L"50");
        SetDlgItemTextW(page, IDC_OPT_ICON2, L"9");
    });
    EXPECT_GE(result, 1) << "OK was pressed";
    EXPECT_EQ(Settings.IconSize1, 33);
    EXPECT_EQ(Settings.IconSize2, 17);
}

TEST_F(OptionsSheet, BandWidthArrowsStopAtTheirBounds)
{
    const int large = GetSystemMetrics(SM_CYICON), small = GetSystemMetrics(SM_CYSMICON);
    Settings.RibbonWidth = 20;
    RunSheet(false, [&] {
        HWND page = Page(2);
        for (int i = 0; i < 2 * large + 5; ++i)
            Arrow(page, IDC_OPT_BAND_WIDTH_SPIN, true);
        EXPECT_EQ(Settings.RibbonWidth, 2 * large);
        EXPECT_EQ(GetDlgItemInt(page, IDC_OPT_BAND_WIDTH, nullptr, TRUE), UINT(2 * large));
        for (int i = 0; i < 3 * large; ++i)
            Arrow(page, IDC_OPT_BAND_WIDTH_SPIN, false);
        EXPECT_EQ(Settings.RibbonWidth, small / 2);
        EXPECT_EQ(GetDlgItemInt(page, IDC_OPT_BAND_WIDTH, nullptr, TRUE), UINT(small / 2));
    });
}

// A row drag as the list and the pointer make it: the list's begin-drag notice, the pointer
// moved over the other list, the button released.
void DragRow(HWND page, int fromList, int row, int toList)
{
    NMLISTVIEW start = {};
    start.hdr.hwndFrom = GetDlgItem(page, fromList);
    start.hdr.idFrom = UINT_PTR(fromList);
    start.hdr.code = LVN_BEGINDRAG;
    start.iItem = row;
    SendMessageW(page, WM_NOTIFY, WPARAM(fromList), reinterpret_cast<LPARAM>(&start));
    RECT target = {};
    GetWindowRect(GetDlgItem(page, toList), &target);
    SetCursorPos(target.left + 10, target.bottom - 6);
    SendMessageW(page, WM_MOUSEMOVE, 0, 0);
    SendMessageW(page, WM_LBUTTONUP, 0, 0);
}

TEST_F(OptionsSheet, MovingEveryRowOutOfTheFirstLevelLeavesShowStringEmpty)
{
    lstrcpyW(Settings.ShowString, L"MC-U");
    RunSheet(false, [] {
        HWND page = Page(0);
        HWND shown = GetDlgItem(page, IDC_OPT_SHOWN), available = GetDlgItem(page, IDC_OPT_AVAILABLE);
        EXPECT_EQ(ListView_GetItemCount(shown), 4);
        EXPECT_EQ(ListView_GetItemCount(available), 11);
        for (int i = 0; i < 4; ++i)
            DragRow(page, IDC_OPT_SHOWN, 0, IDC_OPT_AVAILABLE);
        EXPECT_STREQ(Settings.ShowString, L"");
        EXPECT_EQ(ListView_GetItemCount(shown), 0);
        EXPECT_EQ(ListView_GetItemCount(available), 14) << "every item once and one separator";

        DragRow(page, IDC_OPT_AVAILABLE, 0, IDC_OPT_SHOWN);  // the separator is copied
        EXPECT_STREQ(Settings.ShowString, L"-");
        EXPECT_EQ(ListView_GetItemCount(available), 14);
    });
}

TEST_F(OptionsSheet, RightClickOnEitherGradientBoxSwapsThePairAndRepaintsThePreview)
{
    Settings.DrawColorGradient1 = RGB(10, 20, 30);
    Settings.DrawColorGradient2 = RGB(200, 100, 50);
    Settings.RibbonColorGradient1 = RGB(1, 1, 1);
    Settings.RibbonColorGradient2 = RGB(2, 2, 2);
    RunSheet(false, [] {
        HWND page = Page(1);
        ASSERT_TRUE(IsWindow(OptionsState.Preview));
        UpdateWindow(OptionsState.Preview);
        SendDlgItemMessageW(page, IDC_OPT_GRADIENT2, WM_RBUTTONUP, 0, MAKELPARAM(2, 2));
        DeliverPosted();
        EXPECT_EQ(Settings.DrawColorGradient1, RGB(200, 100, 50));
        EXPECT_EQ(Settings.DrawColorGradient2, RGB(10, 20, 30));
        EXPECT_EQ(SendDlgItemMessageW(page, IDC_OPT_GRADIENT1, UM_COLOR_GET, 0, 0), RGB(200, 100, 50));
        EXPECT_EQ(SendDlgItemMessageW(page, IDC_OPT_GRADIENT2, UM_COLOR_GET, 0, 0), RGB(10, 20, 30));
        EXPECT_TRUE(GetUpdateRect(OptionsState.Preview, nullptr, FALSE)) << "the preview repaints";
        EXPECT_EQ(Settings.RibbonColorGradient1, RGB(1, 1, 1)) << "the band's pair is another pair";

        SendDlgItemMessageW(page, IDC_OPT_PLAIN, WM_RBUTTONUP, 0, MAKELPARAM(2, 2));
        DeliverPosted();
        EXPECT_EQ(Settings.DrawColorGradient1, RGB(200, 100, 50)) << "other boxes swap nothing";

        page = Page(2);
        SendDlgItemMessageW(page, IDC_OPT_BAND_GRADIENT1, WM_RBUTTONUP, 0, MAKELPARAM(2, 2));
        DeliverPosted();
        EXPECT_EQ(Settings.RibbonColorGradient1, RGB(2, 2, 2));
        EXPECT_EQ(Settings.RibbonColorGradient2, RGB(1, 1, 1));
    });
}

TEST_F(OptionsSheet, PreviewButtonHidesAndShowsThePreviewAndNoticesItWasClosed)
{
    RunSheet(false, [] {
        HWND button = GetDlgItem(OptionsState.Sheet, IDC_OPT_PREVIEW);
        ASSERT_NE(button, nullptr);
        HWND preview = OptionsState.Preview;
        ASSERT_TRUE(IsWindow(preview));
        EXPECT_TRUE(IsWindowVisible(preview));
        EXPECT_EQ(TextOf(button), L"Hide Preview");
        RECT sheetRect = {}, previewRect = {};
        GetWindowRect(OptionsState.Sheet, &sheetRect);
        GetWindowRect(preview, &previewRect);
        EXPECT_GT(previewRect.left, sheetRect.right) << "beside the sheet, on its right";
        EXPECT_EQ(previewRect.top, sheetRect.top);

        Click(OptionsState.Sheet, IDC_OPT_PREVIEW);
        EXPECT_FALSE(IsWindow(preview));
        EXPECT_EQ(TextOf(button), L"Show Preview");
        Click(OptionsState.Sheet, IDC_OPT_PREVIEW);
        ASSERT_TRUE(IsWindow(OptionsState.Preview));
        EXPECT_EQ(TextOf(button), L"Hide Preview");
        EXPECT_NE(GetActiveWindow(), OptionsState.Preview) << "the sheet keeps the activation";

        // The user closes the preview himself: the page's 500 ms timer notices.
        DestroyWindow(OptionsState.Preview);
        const UINT_PTR deadline = SetTimer(nullptr, 0, 5000, nullptr);
        MSG msg;
        while (TextOf(button) != L"Show Preview" && GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == WM_TIMER && !msg.hwnd && msg.wParam == deadline)
                break;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        KillTimer(nullptr, deadline);
        EXPECT_EQ(TextOf(button), L"Show Preview");
    });
    EXPECT_EQ(OptionsState.Preview, nullptr);
}

// ---- The options command ----

TEST_F(OptionsSheet, CancelRestoresEverySettingButTheRegistryFlagsFollowTheCheckBoxes)
{
    for (const wchar_t *flag : {kAutoStartValue, kShowDesktopValue, kDisableCornersValue})
        WriteRegistryFlag(flag, true);
    const std::u16string before = FormatRowLines(ConfigurationRows(Settings));
    answeredFile = PicturePath("select3.png");
    RunCommand(false, [&] {
        HWND page = Page(0);
        Click(page, IDC_OPT_AUTOSTART);
        Click(page, IDC_OPT_NO_CORNERS);
        Click(page, IDC_OPT_PROGRAMS_INSIDE);
        Arrow(page, IDC_OPT_DAYS_SPIN, false);
        Choose(page, IDC_OPT_SELECTION, 3);
        DragRow(page, IDC_OPT_SHOWN, 0, IDC_OPT_AVAILABLE);
        page = Page(1);
        Choose(page, IDC_OPT_MODE, 3);
        PickColour(page, IDC_OPT_PLAIN, RGB(9, 8, 7));
        Click(page, IDC_OPT_BACK_PICTURE_CHOOSE);
        page = Page(2);
        SetDlgItemTextW(page, IDC_OPT_BAND_TEXT, L"changed");
        Choose(page, IDC_OPT_BAND_STYLE, 0);
        EXPECT_NE(Narrow(FormatRowLines(ConfigurationRows(Settings))), Narrow(before)) << "the sheet changed the record";
    });
    EXPECT_EQ(Narrow(FormatRowLines(ConfigurationRows(Settings))), Narrow(before));
    EXPECT_FALSE(ReadAutoStart());
    EXPECT_TRUE(ReadShowDesktop());
    EXPECT_FALSE(ReadDisableCorners());
    EXPECT_EQ(recorded, std::vector<UINT>{UM_OPTIONS_CANCELLED});
    for (const wchar_t *flag : {kAutoStartValue, kShowDesktopValue, kDisableCornersValue})
        WriteRegistryFlag(flag, true);
}

TEST_F(OptionsSheet, OkSavesTheRecordAndAppliesTheStyleThenTheItems)
{
    wchar_t path[MAX_PATH];
    FormSettingsFileName(path);
    const std::string kept = FileBytes(path);
    ASSERT_TRUE(WriteSettingsFile(path, kBuiltInDefaults));
    ReadLanguageStrings(kBuiltInDefaults);
    const int days = Settings.Days;
    RunCommand(true, [] {
        Arrow(Page(0), IDC_OPT_DAYS_SPIN, false);
    });
    std::u16string text;
    ASSERT_TRUE(ReadSettingsFile(path, text));
    EXPECT_EQ(Narrow(ReadSettingValue(text, u"Days")), std::to_string(days - 1));
    EXPECT_EQ(recorded, (std::vector<UINT>{UM_OPTIONS_APPLY_STYLE, UM_OPTIONS_APPLY_ITEMS}));
    if (kept == "<missing>") {
        DeleteFileW(path);
    } else {
        HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, kept.data(), DWORD(kept.size()), &written, nullptr);
        CloseHandle(file);
    }
}

void ChooseTheme(const wchar_t *name);

bool IsLive(HGDIOBJ handle, DWORD type)
{
    return handle && GetObjectType(handle) == type;
}

struct TDerived {
    const char *Name;
    HGDIOBJ *Handle;
    DWORD Type;
};
const TDerived kDerived[] = {
    {"highlight picture", reinterpret_cast<HGDIOBJ *>(&Settings.HilightBitmap), OBJ_BITMAP},
    {"selection picture", reinterpret_cast<HGDIOBJ *>(&Settings.SelectionBitmap), OBJ_BITMAP},
    {"band picture", reinterpret_cast<HGDIOBJ *>(&Settings.RibbonBitmap), OBJ_BITMAP},
    {"background picture", reinterpret_cast<HGDIOBJ *>(&Settings.BackMenuBitmap), OBJ_BITMAP},
    {"menu font", reinterpret_cast<HGDIOBJ *>(&Settings.MenuFont), OBJ_FONT},
    {"band font", reinterpret_cast<HGDIOBJ *>(&Settings.RibbonFont), OBJ_FONT},
    {"system menu font", reinterpret_cast<HGDIOBJ *>(&Settings.SystemMenuFont), OBJ_FONT},
};

std::vector<HGDIOBJ> DerivedHandles()
{
    std::vector<HGDIOBJ> handles;
    for (const TDerived &d : kDerived)
        handles.push_back(*d.Handle);
    return handles;
}

bool HeldByRecord(HGDIOBJ handle)
{
    for (const TDerived &d : kDerived)
        if (*d.Handle == handle)
            return true;
    return false;
}

// The derived handles of the record that are not live objects of their type.
std::string DeadHandles()
{
    std::string dead;
    for (const TDerived &d : kDerived)
        if (!IsLive(*d.Handle, d.Type))
            dead += std::string(d.Name) + " ";
    return dead;
}

// Draws with every derived picture and font, as a menu paint would.
void PaintWithSettings()
{
    TScreenDC screen;
    TMemoryDC memory(CreateCompatibleDC(screen.Get()));
    TGdiObject surface(CreateTopDownDib(screen.Get(), 64, 64));
    TSelection selected(memory.Get(), surface.Get());
    for (HBITMAP picture : {Settings.HilightBitmap, Settings.SelectionBitmap, Settings.RibbonBitmap,
                            Settings.BackMenuBitmap}) {
        TMemoryDC source(CreateCompatibleDC(screen.Get()));
        TSelection held(source.Get(), picture);
        BitBlt(memory.Get(), 0, 0, 64, 64, source.Get(), 0, 0, SRCCOPY);
    }
    for (HFONT font : {Settings.MenuFont, Settings.RibbonFont, Settings.SystemMenuFont}) {
        TSelection held(memory.Get(), font);
        TextOutW(memory.Get(), 0, 0, L"Item", 4);
    }
}

TEST_F(OptionsSheet, CancelAfterNewPicturesFontsAndAThemeLeavesNoDeadOrLeakedHandle)
{
    // Every derived handle exists to begin with, so that each can be replaced.
    lstrcpyW(Settings.BackMenuBitmapFile, PicturePath("select1.png").c_str());
    lstrcpyW(Settings.RibbonBitmapFile, PicturePath("select1.png").c_str());
    ReloadSettingsPictures();
    ASSERT_EQ(DeadHandles(), "");
    const std::u16string before = FormatRowLines(ConfigurationRows(Settings));
    // A theme naming other pictures.
    lstrcpyW(Settings.DrawSelectionBitmapFile, L"select3.png");
    lstrcpyW(Settings.HilightStyleBitmapFile, L"hilight2.png");
    ASSERT_TRUE(WriteTheme(L"OptionsHandles"));
    LoadLines(before);
    ReloadSettingsPictures();
    const std::vector<HGDIOBJ> atStart = DerivedHandles();

    answeredFile = PicturePath("select4.png");
    answeredFont = {};
    answeredFont.lfHeight = -20;
    answeredFont.lfWeight = FW_BOLD;
    lstrcpyW(answeredFont.lfFaceName, L"Tahoma");
    std::vector<HGDIOBJ> atCancel;
    RunCommand(false, [&] {
        HWND page = Page(1);
        Click(page, IDC_OPT_BACK_PICTURE_CHOOSE);
        Click(page, IDC_OPT_FONT);
        page = Page(2);
        Click(page, IDC_OPT_BAND_PICTURE_CHOOSE);
        Click(page, IDC_OPT_BAND_FONT);
        ChooseTheme(L"OptionsHandles");
        EXPECT_STREQ(Settings.DrawSelectionBitmapFile, L"select3.png") << "the theme was loaded";
        atCancel = DerivedHandles();
    });
    ASSERT_EQ(atCancel.size(), atStart.size()) << "the sheet did not run";
    for (size_t i = 0; i < atStart.size(); ++i)
        EXPECT_NE(atCancel[i], atStart[i]) << kDerived[i].Name << " was replaced in the sheet";
    EXPECT_EQ(DeadHandles(), "") << "the record holds handles deleted in the sheet";
    for (size_t i = 0; i < atCancel.size(); ++i)
        EXPECT_TRUE(!IsLive(atCancel[i], kDerived[i].Type) || HeldByRecord(atCancel[i]))
            << kDerived[i].Name << " made in the sheet is left behind, owned by nothing";
    EXPECT_EQ(Narrow(FormatRowLines(ConfigurationRows(Settings))), Narrow(before));
    PaintWithSettings();
    // Closing deletes each handle once; a handle already deleted would fail here.
    for (const TDerived &d : kDerived) {
        EXPECT_TRUE(DeleteObject(*d.Handle)) << d.Name;
        *d.Handle = nullptr;
    }
    DeleteThemeFile(L"OptionsHandles");
}

// The save-theme dialog, answered when it shows.
std::wstring themeToSave;
void CALLBACK AnswerSaveTheme(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND window, LPARAM found) -> BOOL {
        if (GetDlgItem(window, IDC_NAME_FIELD) && IsWindowVisible(window)) {
            *reinterpret_cast<HWND *>(found) = window;
            return FALSE;
        }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog)
        return;
    KillTimer(nullptr, timer);
    SetDlgItemTextW(dialog, IDC_NAME_FIELD, themeToSave.c_str());
    SendDlgItemMessageW(dialog, IDOK, BM_CLICK, 0, 0);
}

void ChooseTheme(const wchar_t *name)
{
    HWND themes = GetDlgItem(OptionsState.Sheet, IDC_OPT_THEMES);
    const LRESULT entry = SendMessageW(themes, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(name));
    EXPECT_NE(entry, CB_ERR) << "theme listed";
    SendMessageW(themes, CB_SETCURSEL, WPARAM(entry), 0);
    SendMessageW(OptionsState.Sheet, WM_COMMAND, MAKEWPARAM(IDC_OPT_THEMES, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(themes));
}

TEST_F(OptionsSheet, ThemeSavedChosenAwayAndBackGivesItsSettingsAndDeletingRemovesIt)
{
    Settings.MenuDelay = 111;
    lstrcpyW(Settings.ShowString, L"MCU");
    ASSERT_TRUE(WriteTheme(L"OptionsOther"));
    Settings.MenuDelay = 222;
    lstrcpyW(Settings.ShowString, L"HR");
    wchar_t file[MAX_PATH];
    FormThemeFileName(L"OptionsMine", file);
    DeleteFileW(file);

    RunSheet(false, [&] {
        HWND page = Page(2);
        SetDlgItemTextW(page, IDC_OPT_BAND_TEXT, L"mine");
        themeToSave = L"OptionsMine";
        SetTimer(nullptr, 0, 10, AnswerSaveTheme);
        Click(OptionsState.Sheet, IDC_OPT_SAVE_THEME);
        EXPECT_NE(FileBytes(file), "<missing>") << "the theme file is written";
        const std::u16string mine = FormatRowLines(ConfigurationRows(Settings));

        ChooseTheme(L"OptionsOther");
        EXPECT_EQ(Settings.MenuDelay, 111);
        EXPECT_STREQ(Settings.ShowString, L"MCU");
        EXPECT_EQ(ListView_GetItemCount(GetDlgItem(OptionsState.Pages[0], IDC_OPT_SHOWN)), 3)
            << "the pages show the loaded theme";
        EXPECT_EQ(TextOf(GetDlgItem(page, IDC_OPT_BAND_TEXT)), L"");

        ChooseTheme(L"OptionsMine");
        EXPECT_EQ(Narrow(FormatRowLines(ConfigurationRows(Settings))), Narrow(mine));
        EXPECT_EQ(TextOf(GetDlgItem(page, IDC_OPT_BAND_TEXT)), L"mine");

        Click(OptionsState.Sheet, IDC_OPT_DELETE_THEME);
        EXPECT_EQ(FileBytes(file), "<missing>");
        EXPECT_EQ(SendDlgItemMessageW(OptionsState.Sheet, IDC_OPT_THEMES, CB_FINDSTRINGEXACT, WPARAM(-1),
                                      reinterpret_cast<LPARAM>(L"OptionsMine")),
                  CB_ERR);
    });
    DeleteThemeFile(L"OptionsOther");
    DeleteFileW(file);
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterWindowClasses(instance);
    WNDCLASSW record{};
    record.lpfnWndProc = RecorderProc;
    record.hInstance = instance;
    record.lpszClassName = L"OrvellaOptionsRecorder";
    RegisterClassW(&record);
    CoInitialize(nullptr);
    // The picture lists read the images folder beside the program.
    wchar_t folder[MAX_PATH];
    GetProgramFolder(folder);
    const std::wstring images = std::wstring(folder) + L"\\images\\";
    CreateDirectoryW(images.c_str(), nullptr);
    for (const char *name : {"select1.png", "select2.png", "select3.png", "select4.png",
                             "hilight1.png", "hilight2.png", "hilight3.png"})
        CopyFileW(PicturePath(name).c_str(), (images + std::wstring(name, name + strlen(name))).c_str(), FALSE);
    recorder = CreateWindowW(L"OrvellaOptionsRecorder", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                             instance, nullptr);
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    DestroyWindow(recorder);
    CoUninitialize();
    return result;
}
