#include "render/options/portable/options_binding.h"

#include <algorithm>

#include "resources/tvra_resources.h"
#include "settings/portable/setting_values.h"

namespace {

using K = TBindKind;
using R = TRangeRule;

constexpr int kPageGeneral = 0;
constexpr int kPageLook = 1;
constexpr int kPageBand = 2;

constexpr int kRibbonTextChars = 79;

// Rows in the order of the pages' tables.  Numbers of up-downs and track bars are clamped
// here, so a value read from a file outside the range is taken as it is until it is changed.
const TControlBinding kBindings[] = {
    {kPageGeneral, IDC_OPT_ICON1_SPIN, K::UpDown, u"IconSize1", nullptr, R::LargeIcon, 0, 0, 0, IDC_OPT_ICON1},
    {kPageGeneral, IDC_OPT_ICON2_SPIN, K::UpDown, u"IconSize2", nullptr, R::SmallIcon, 0, 0, 0, IDC_OPT_ICON2},
    {kPageGeneral, IDC_OPT_SELECTION, K::PictureList, u"DrawSelectionBitmapFile"},
    {kPageGeneral, IDC_OPT_CURSOR, K::List, u"DrawCursorStyle"},
    {kPageGeneral, IDC_OPT_HILIGHT, K::Check, u"Hilight"},
    {kPageGeneral, IDC_OPT_HILIGHT_STYLE, K::PictureList, u"HilightStyleBitmapFile"},
    {kPageGeneral, IDC_OPT_DAYS_SPIN, K::UpDown, u"Days", nullptr, R::Fixed, 1, 120, 0, IDC_OPT_DAYS, 0, false},
    {kPageGeneral, IDC_OPT_DELAY, K::TrackBar, u"MenuDelay", nullptr, R::Fixed, 0, 1000, 0, IDC_OPT_DELAY_VALUE, 0, false},
    {kPageGeneral, IDC_OPT_CONTROL_EX, K::Check, u"ShowControlEx"},
    {kPageGeneral, IDC_OPT_RECENT_COUNT_SPIN, K::UpDown, u"RecentCount", nullptr, R::Fixed, 5, 25, 0, IDC_OPT_RECENT_COUNT, 0, false},
    {kPageGeneral, IDC_OPT_RECENT_BY_NAME, K::OneChoice, u"RecentSort", nullptr, R::Fixed, 0, 0, 0},
    {kPageGeneral, IDC_OPT_RECENT_BY_DATE, K::OneChoice, u"RecentSort", nullptr, R::Fixed, 0, 0, 1},
    {kPageGeneral, IDC_OPT_CLASSIC_LOOK, K::Check, u"ClassicAppearance"},
    {kPageGeneral, IDC_OPT_CLASSIC_EXIT, K::Check, u"ClassicExit"},
    {kPageGeneral, IDC_OPT_PROGRAMS_INSIDE, K::CheckOpposite, u"ProgramsOnTop"},
    {kPageGeneral, IDC_OPT_AUTOSTART, K::RegistryFlag, u"AutoStart"},
    {kPageGeneral, IDC_OPT_SHOW_DESKTOP, K::RegistryFlag, u"ShowDesktop"},
    {kPageGeneral, IDC_OPT_NO_CORNERS, K::RegistryFlag, u"DisableCorners"},

    {kPageLook, IDC_OPT_STYLE, K::List, u"MenuStyle"},
    {kPageLook, IDC_OPT_MODE, K::List, u"DrawColorMode"},
    {kPageLook, IDC_OPT_ALPHA, K::TrackBar, u"DrawColorAlpha", nullptr, R::Fixed, 0, 255, 0, IDC_OPT_ALPHA_VALUE},
    {kPageLook, IDC_OPT_BLUR, K::Check, u"DrawBlur"},
    {kPageLook, IDC_OPT_PLAIN, K::Colour, u"DrawColorPlain"},
    {kPageLook, IDC_OPT_GRADIENT1, K::Colour, u"DrawColorGradient1"},
    {kPageLook, IDC_OPT_GRADIENT2, K::Colour, u"DrawColorGradient2"},
    {kPageLook, IDC_OPT_BACK_PICTURE, K::Path, u"BackMenuBitmapFile", nullptr, R::Fixed, 0, 0, 0, IDC_OPT_BACK_PICTURE_CHOOSE},
    {kPageLook, IDC_OPT_BACK_FIXED, K::OneChoice, u"BackMenuImageMode", nullptr, R::Fixed, 0, 0, 1},
    {kPageLook, IDC_OPT_BACK_MOVES, K::OneChoice, u"BackMenuImageMode", nullptr, R::Fixed, 0, 0, 0},
    {kPageLook, IDC_OPT_DEFAULT_FONT, K::Check, u"DrawFontDefault"},
    {kPageLook, IDC_OPT_FONT_COLOR, K::Colour, u"DrawFontColor"},
    {kPageLook, IDC_OPT_GLOW, K::GlowList, u"DrawGlow", u"DrawGlowDouble"},
    {kPageLook, IDC_OPT_GLOW_SIZE, K::TrackBar, u"DrawGlowSize", nullptr, R::Fixed, 0, 25, 0, IDC_OPT_GLOW_SIZE_VALUE},
    {kPageLook, IDC_OPT_GLOW_COLOR, K::Colour, u"GlowColor"},
    {kPageLook, IDC_OPT_SHADOW, K::Check, u"ShadowInsteadOfGlow"},

    {kPageBand, IDC_OPT_BAND_STYLE, K::List, u"RibbonStyle"},
    {kPageBand, IDC_OPT_BAND_WIDTH_SPIN, K::UpDown, u"RibbonWidth", nullptr, R::BandWidth, 0, 0, 0, IDC_OPT_BAND_WIDTH},
    {kPageBand, IDC_OPT_BAND_MODE, K::List, u"RibbonColorMode"},
    {kPageBand, IDC_OPT_BAND_ALPHA, K::TrackBar, u"RibbonColorAlpha", nullptr, R::Fixed, 0, 255, 0, IDC_OPT_BAND_ALPHA_VALUE},
    {kPageBand, IDC_OPT_BAND_PLAIN, K::Colour, u"RibbonColorPlain"},
    {kPageBand, IDC_OPT_BAND_GRADIENT1, K::Colour, u"RibbonColorGradient1"},
    {kPageBand, IDC_OPT_BAND_GRADIENT2, K::Colour, u"RibbonColorGradient2"},
    {kPageBand, IDC_OPT_BAND_PICTURE, K::Path, u"RibbonBitmapFile", nullptr, R::Fixed, 0, 0, 0, IDC_OPT_BAND_PICTURE_CHOOSE},
    {kPageBand, IDC_OPT_BAND_STRETCH_ALL, K::OneChoice, u"RibbonBitmapExpand", nullptr, R::Fixed, 0, 0, 1},
    {kPageBand, IDC_OPT_BAND_STRETCH_WIDTH, K::OneChoice, u"RibbonBitmapExpand", nullptr, R::Fixed, 0, 0, 0},
    {kPageBand, IDC_OPT_BAND_PICTURE_BACK, K::Colour, u"RibbonBitmapBackground"},
    {kPageBand, IDC_OPT_BAND_FONT_COLOR, K::Colour, u"RibbonFontColor"},
    {kPageBand, IDC_OPT_BAND_GLOW, K::GlowList, u"RibbonGlow", u"RibbonGlowDouble"},
    {kPageBand, IDC_OPT_BAND_GLOW_BLACK, K::Check, u"RibbonGlowBlack"},
    {kPageBand, IDC_OPT_BAND_GLOW_SIZE, K::TrackBar, u"RibbonGlowSize", nullptr, R::Fixed, 0, 25, 0, IDC_OPT_BAND_GLOW_SIZE_VALUE},
    {kPageBand, IDC_OPT_BAND_TEXT, K::Text, u"RibbonText", nullptr, R::Fixed, 0, 0, 0, 0, kRibbonTextChars},
};

int32_t &IntOf(const SettingRow &row) { return *static_cast<int32_t *>(row.Member); }
bool &FlagOf(const SettingRow &row) { return *static_cast<bool *>(row.Member); }
uint32_t &ColourOf(const SettingRow &row) { return *static_cast<uint32_t *>(row.Member); }
char16_t *TextOf(const SettingRow &row) { return static_cast<char16_t *>(row.Member); }

// A flag or an int read as a truth (RecentSort: any non-zero value sorts by date).
bool TruthOf(const SettingRow &row)
{
    return row.Type == SettingType::Flag ? FlagOf(row) : IntOf(row) != 0;
}

void StoreNumber(const SettingRow &row, int64_t number)
{
    switch (row.Type) {
    case SettingType::Int:
        IntOf(row) = int32_t(number);
        break;
    case SettingType::Flag:
        FlagOf(row) = number != 0;
        break;
    case SettingType::Colour:
        ColourOf(row) = uint32_t(number);
        break;
    case SettingType::Text:
        break;
    }
}

int64_t NumberOf(const SettingRow &row)
{
    switch (row.Type) {
    case SettingType::Int:
        return IntOf(row);
    case SettingType::Flag:
        return FlagOf(row);
    case SettingType::Colour:
        return ColourOf(row);
    case SettingType::Text:
        break;
    }
    return 0;
}

// Copies at most `chars` characters (and never more than the member holds).
void StoreText(const SettingRow &row, std::u16string_view text, size_t chars)
{
    if (row.Type != SettingType::Text || row.Capacity == 0)
        return;
    const size_t length = std::min({text.size(), chars, row.Capacity - 1});
    std::copy_n(text.data(), length, TextOf(row));
    TextOf(row)[length] = 0;
}

std::u16string TextValue(const SettingRow &row)
{
    if (row.Type != SettingType::Text)
        return {};
    const char16_t *text = TextOf(row);
    return std::u16string(text, std::find(text, text + row.Capacity, u'\0'));
}

} // namespace

std::span<const TControlBinding> OptionsBindings()
{
    return kBindings;
}

const TControlBinding *FindBinding(int control)
{
    for (const TControlBinding &binding : kBindings)
        if (binding.Control == control)
            return &binding;
    return nullptr;
}

TRange RangeOf(const TControlBinding &binding, TIconMetrics metrics)
{
    switch (binding.Range) {
    case TRangeRule::Fixed:
        break;
    case TRangeRule::LargeIcon:
        return {metrics.Large / 2, metrics.Large * 2};
    case TRangeRule::SmallIcon:
        return {metrics.Small / 2, metrics.Small * 2};
    case TRangeRule::BandWidth:
        return {metrics.Small / 2, metrics.Large * 2};
    }
    return {binding.Min, binding.Max};
}

const SettingRow *FindSettingRow(const std::vector<SettingRow> &rows, std::u16string_view key)
{
    for (const SettingRow &row : rows)
        if (row.Key == key)
            return &row;
    return nullptr;
}

TControlState LoadControl(const TControlBinding &binding, const std::vector<SettingRow> &rows)
{
    TControlState state;
    const SettingRow *row = FindSettingRow(rows, binding.Key);
    if (!row)
        return state;
    switch (binding.Kind) {
    case TBindKind::CheckOpposite:
        state.Number = !TruthOf(*row);
        break;
    case TBindKind::OneChoice:
        state.Number = TruthOf(*row) == (binding.Value != 0);
        break;
    case TBindKind::GlowList:
        if (const SettingRow *doubled = binding.Key2 ? FindSettingRow(rows, binding.Key2) : nullptr)
            state.Number = GlowStyleOf(FlagOf(*row), FlagOf(*doubled));
        break;
    case TBindKind::Text:
    case TBindKind::Path:
    case TBindKind::PictureList:
        state.Text = TextValue(*row);
        break;
    case TBindKind::RegistryFlag:
        break;
    default:
        state.Number = NumberOf(*row);
        break;
    }
    return state;
}

TControlState StoreControl(const TControlBinding &binding, const TControlState &state,
                           const std::vector<SettingRow> &rows, TIconMetrics metrics)
{
    const SettingRow *row = FindSettingRow(rows, binding.Key);
    if (!row)
        return state;
    switch (binding.Kind) {
    case TBindKind::CheckOpposite:
        StoreNumber(*row, state.Number == 0);
        break;
    case TBindKind::OneChoice:
        // Choosing either control of the pair always stores its own value, so a click on
        // the checked one leaves it checked instead of leaving neither checked.
        StoreNumber(*row, binding.Value);
        break;
    case TBindKind::GlowList: {
        const SettingRow *doubled = binding.Key2 ? FindSettingRow(rows, binding.Key2) : nullptr;
        if (!doubled)
            break;
        const TGlowFlags flags = GlowFlagsOf(int(state.Number));
        FlagOf(*row) = flags.glow;
        FlagOf(*doubled) = flags.doubled;
        break;
    }
    case TBindKind::UpDown:
    case TBindKind::TrackBar: {
        const TRange range = RangeOf(binding, metrics);
        StoreNumber(*row, std::clamp<int64_t>(state.Number, range.Min, std::max(range.Min, range.Max)));
        break;
    }
    case TBindKind::Text:
        StoreText(*row, state.Text, size_t(binding.MaxChars));
        break;
    case TBindKind::Path:
    case TBindKind::PictureList:
        StoreText(*row, state.Text, row->Capacity);
        break;
    case TBindKind::RegistryFlag:
        return state;
    default:
        StoreNumber(*row, state.Number);
        break;
    }
    return LoadControl(binding, rows);
}

// ---- Item lists ----

TItemLists ItemListsOf(std::u16string_view showString)
{
    TItemLists lists;
    for (char16_t letter : showString)
        if (letter == kSeparatorLetter || kItemLetters.find(letter) != std::u16string_view::npos)
            lists.Rows[kShownList] += letter;
    lists.Rows[kAvailableList] = kSeparatorLetter;
    for (char16_t letter : kItemLetters)
        if (lists.Rows[kShownList].find(letter) == std::u16string::npos)
            lists.Rows[kAvailableList] += letter;
    return lists;
}

std::u16string ShowStringOf(const TItemLists &lists, size_t capacity)
{
    return lists.Rows[kShownList].substr(0, capacity ? capacity - 1 : 0);
}

bool BeginRowDrag(TItemLists &lists, TRowDrag &drag, int list, int row)
{
    drag = TRowDrag{};
    if (list < 0 || list > 1 || row < 0 || size_t(row) >= lists.Rows[list].size())
        return false;
    std::u16string &rows = lists.Rows[list];
    if (list == kAvailableList && rows[size_t(row)] == kSeparatorLetter) {
        // The copy is dragged; it starts just below the original.
        rows.insert(size_t(row) + 1, 1, kSeparatorLetter);
        ++row;
    }
    drag = {true, list, row};
    return true;
}

void MoveDraggedRow(TItemLists &lists, TRowDrag &drag, int list, int row)
{
    if (!drag.Active || list < 0 || list > 1)
        return;
    std::u16string &from = lists.Rows[drag.List];
    const char16_t letter = from[size_t(drag.Row)];
    from.erase(size_t(drag.Row), 1);
    std::u16string &to = lists.Rows[list];
    const size_t at = std::min(size_t(std::max(row, 0)), to.size());
    to.insert(at, 1, letter);
    drag.List = list;
    drag.Row = int(at);
}

bool EndRowDrag(TItemLists &lists, TRowDrag &drag)
{
    if (!drag.Active)
        return false;
    drag.Active = false;
    std::u16string &rows = lists.Rows[drag.List];
    if (drag.List == kAvailableList && rows[size_t(drag.Row)] == kSeparatorLetter) {
        rows.erase(size_t(drag.Row), 1);
        return false;
    }
    return true;
}
