// The rules of the options pages' binding table over a small record of the settings they
// touch: clamping, the opposite check box, the 79-character copy, the one-choice pairs, the
// glow choice, and the two item lists with their row drag.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "render/options/portable/options_binding.h"
#include "resources/tvra_resources.h"

namespace {

struct TRecord {
    int32_t IconSize1 = 32, IconSize2 = 16, RibbonWidth = 20, Days = 7, RecentCount = 10;
    int32_t MenuDelay = 250, RecentSort = 0, DrawColorMode = 0;
    bool ProgramsOnTop = false, BackMenuImageMode = true, DrawGlow = false, DrawGlowDouble = false;
    uint32_t DrawColorPlain = 0;
    char16_t RibbonText[80] = u"";
    char16_t DrawSelectionBitmapFile[260] = u"select1.png";

    std::vector<SettingRow> Rows()
    {
        return {
            {u"IconSize1", SettingType::Int, &IconSize1, 0},
            {u"IconSize2", SettingType::Int, &IconSize2, 0},
            {u"RibbonWidth", SettingType::Int, &RibbonWidth, 0},
            {u"Days", SettingType::Int, &Days, 0},
            {u"RecentCount", SettingType::Int, &RecentCount, 0},
            {u"MenuDelay", SettingType::Int, &MenuDelay, 0},
            {u"RecentSort", SettingType::Int, &RecentSort, 0},
            {u"DrawColorMode", SettingType::Int, &DrawColorMode, 0},
            {u"ProgramsOnTop", SettingType::Flag, &ProgramsOnTop, 0},
            {u"BackMenuImageMode", SettingType::Flag, &BackMenuImageMode, 0},
            {u"DrawGlow", SettingType::Flag, &DrawGlow, 0},
            {u"DrawGlowDouble", SettingType::Flag, &DrawGlowDouble, 0},
            {u"DrawColorPlain", SettingType::Colour, &DrawColorPlain, 0},
            {u"RibbonText", SettingType::Text, RibbonText, 80},
            {u"DrawSelectionBitmapFile", SettingType::Text, DrawSelectionBitmapFile, 260},
        };
    }
};

constexpr TIconMetrics kMetrics = {32, 16};

TControlState Store(TRecord &record, int control, int64_t number, std::u16string text = {})
{
    const TControlBinding *binding = FindBinding(control);
    EXPECT_NE(binding, nullptr) << control;
    if (!binding)
        return {};
    TControlState state;
    state.Number = number;
    state.Text = std::move(text);
    return StoreControl(*binding, state, record.Rows(), kMetrics);
}

TControlState Load(TRecord &record, int control)
{
    const TControlBinding *binding = FindBinding(control);
    EXPECT_NE(binding, nullptr) << control;
    return binding ? LoadControl(*binding, record.Rows()) : TControlState{};
}

TEST(OptionsBinding, EveryControlIsBoundOnceAndRangesAreNotEmpty)
{
    std::set<int> seen;
    for (const TControlBinding &binding : OptionsBindings()) {
        EXPECT_TRUE(seen.insert(binding.Control).second) << "control " << binding.Control;
        const TRange range = RangeOf(binding, kMetrics);
        if (binding.Kind == TBindKind::UpDown || binding.Kind == TBindKind::TrackBar) {
            EXPECT_LT(range.Min, range.Max) << "control " << binding.Control;
            EXPECT_NE(binding.Partner, 0) << "control " << binding.Control;
        }
    }
}

TEST(OptionsBinding, ArrowsAndTrackBarsClampToTheirRanges)
{
    struct TCase {
        int control;
        int32_t TRecord::*member;
        int64_t asked;
        int32_t stored;
    } cases[] = {
        {IDC_OPT_ICON1_SPIN, &TRecord::IconSize1, 65, 64},     // twice the large icon
        {IDC_OPT_ICON1_SPIN, &TRecord::IconSize1, 15, 16},     // half of it
        {IDC_OPT_ICON1_SPIN, &TRecord::IconSize1, 40, 40},
        {IDC_OPT_ICON2_SPIN, &TRecord::IconSize2, 33, 32},     // the small icon's
        {IDC_OPT_ICON2_SPIN, &TRecord::IconSize2, 7, 8},
        {IDC_OPT_BAND_WIDTH_SPIN, &TRecord::RibbonWidth, 7, 8},    // half the small one
        {IDC_OPT_BAND_WIDTH_SPIN, &TRecord::RibbonWidth, 65, 64},  // twice the large one
        {IDC_OPT_DAYS_SPIN, &TRecord::Days, 0, 1},
        {IDC_OPT_DAYS_SPIN, &TRecord::Days, 121, 120},
        {IDC_OPT_RECENT_COUNT_SPIN, &TRecord::RecentCount, 4, 5},
        {IDC_OPT_RECENT_COUNT_SPIN, &TRecord::RecentCount, 26, 25},
        {IDC_OPT_DELAY, &TRecord::MenuDelay, 1001, 1000},
        {IDC_OPT_DELAY, &TRecord::MenuDelay, -1, 0},
    };
    for (const TCase &c : cases) {
        TRecord record;
        const TControlState shown = Store(record, c.control, c.asked);
        EXPECT_EQ(record.*c.member, c.stored) << "control " << c.control << " asked " << c.asked;
        EXPECT_EQ(shown.Number, c.stored) << "the control shows what was stored";
    }
}

TEST(OptionsBinding, ProgramsCheckBoxShowsAndWritesTheOpposite)
{
    TRecord record;
    record.ProgramsOnTop = false;
    EXPECT_EQ(Load(record, IDC_OPT_PROGRAMS_INSIDE).Number, 1);
    Store(record, IDC_OPT_PROGRAMS_INSIDE, 0);
    EXPECT_TRUE(record.ProgramsOnTop);
    Store(record, IDC_OPT_PROGRAMS_INSIDE, 1);
    EXPECT_FALSE(record.ProgramsOnTop);
}

TEST(OptionsBinding, BandTextKeepsAtMost79Characters)
{
    struct TCase {
        std::u16string typed;
        std::u16string stored;
    } cases[] = {
        {u"Orvella", u"Orvella"},
        {u"", u""},
        {u" ", u" "},
        {std::u16string(79, u'x'), std::u16string(79, u'x')},
        {std::u16string(79, u'y') + u"zzz", std::u16string(79, u'y')},
    };
    for (const TCase &c : cases) {
        TRecord record;
        Store(record, IDC_OPT_BAND_TEXT, 0, c.typed);
        EXPECT_EQ(std::u16string(record.RibbonText), c.stored);
    }
}

TEST(OptionsBinding, OneChoicePairsKeepExactlyOneChecked)
{
    struct TCase {
        int32_t recentSort;
        int clicked;
        int32_t stored;
    } cases[] = {
        {0, IDC_OPT_RECENT_BY_DATE, 1},
        {1, IDC_OPT_RECENT_BY_NAME, 0},
        {1, IDC_OPT_RECENT_BY_DATE, 1},  // clicking the checked one keeps it
        {7, IDC_OPT_RECENT_BY_NAME, 0},
    };
    for (const TCase &c : cases) {
        TRecord record;
        record.RecentSort = c.recentSort;
        EXPECT_EQ(Store(record, c.clicked, 0).Number, 1) << "the clicked box is checked";
        EXPECT_EQ(record.RecentSort, c.stored);
        EXPECT_EQ(Load(record, IDC_OPT_RECENT_BY_NAME).Number + Load(record, IDC_OPT_RECENT_BY_DATE).Number, 1);
    }
    TRecord record;
    record.RecentSort = 7;  // from a file: any non-zero value sorts by date
    EXPECT_EQ(Load(record, IDC_OPT_RECENT_BY_DATE).Number, 1);
    EXPECT_EQ(Load(record, IDC_OPT_RECENT_BY_NAME).Number, 0);

    Store(record, IDC_OPT_BACK_MOVES, 1);
    EXPECT_FALSE(record.BackMenuImageMode);
    EXPECT_EQ(Load(record, IDC_OPT_BACK_FIXED).Number, 0);
    Store(record, IDC_OPT_BACK_FIXED, 1);
    EXPECT_TRUE(record.BackMenuImageMode);
}

TEST(OptionsBinding, GlowChoiceIsTwoFlags)
{
    struct TCase {
        int choice;
        bool glow, doubled;
    } cases[] = {{0, false, false}, {1, true, false}, {2, true, true}};
    for (const TCase &c : cases) {
        TRecord record;
        record.DrawGlow = !c.glow;
        record.DrawGlowDouble = !c.doubled;
        Store(record, IDC_OPT_GLOW, c.choice);
        EXPECT_EQ(record.DrawGlow, c.glow) << c.choice;
        EXPECT_EQ(record.DrawGlowDouble, c.doubled) << c.choice;
        EXPECT_EQ(Load(record, IDC_OPT_GLOW).Number, c.choice);
    }
    TRecord record;
    record.DrawGlow = false;
    record.DrawGlowDouble = true;  // doubling without glow is no glow
    EXPECT_EQ(Load(record, IDC_OPT_GLOW).Number, 0);
}

TEST(OptionsBinding, ListsColoursAndPictureNamesGoStraightThrough)
{
    TRecord record;
    Store(record, IDC_OPT_MODE, 3);
    EXPECT_EQ(record.DrawColorMode, 3);
    Store(record, IDC_OPT_PLAIN, 0x00AB12CD);
    EXPECT_EQ(record.DrawColorPlain, 0x00AB12CDu);
    EXPECT_EQ(Load(record, IDC_OPT_SELECTION).Text, u"select1.png");
    Store(record, IDC_OPT_SELECTION, 0, u"select3.png");
    EXPECT_EQ(std::u16string(record.DrawSelectionBitmapFile), u"select3.png");
}

// ---- Item lists ----

TEST(OptionsItemLists, ListsFollowShowString)
{
    struct TCase {
        std::u16string show;
        std::u16string shown, available;
    } cases[] = {
        {u"BMC-U", u"BMC-U", u"-HRFTSDOEL"},
        {u"", u"", u"-MCHRFTSDOEBLU"},
        {u"M?x--L", u"M--L", u"-CHRFTSDOEBU"},  // unknown letters have no row
    };
    for (const TCase &c : cases) {
        const TItemLists lists = ItemListsOf(c.show);
        EXPECT_EQ(lists.Rows[kShownList], c.shown) << std::string(c.show.begin(), c.show.end());
        EXPECT_EQ(lists.Rows[kAvailableList], c.available);
    }
}

TEST(OptionsItemLists, MovingEveryRowOutLeavesShowStringEmpty)
{
    TItemLists lists = ItemListsOf(u"MC-HU");
    while (!lists.Rows[kShownList].empty()) {
        TRowDrag drag;
        ASSERT_TRUE(BeginRowDrag(lists, drag, kShownList, 0));
        MoveDraggedRow(lists, drag, kAvailableList, 99);
        EndRowDrag(lists, drag);
    }
    EXPECT_EQ(ShowStringOf(lists, 20), u"");
    EXPECT_EQ(lists.Rows[kAvailableList], u"-RFTSDOEBLMCHU") << "the separator went, the items stayed";
}

TEST(OptionsItemLists, SeparatorIsCopiedOutAndRemovedWhenDroppedBack)
{
    TItemLists lists = ItemListsOf(u"MC");
    TRowDrag drag;
    ASSERT_TRUE(BeginRowDrag(lists, drag, kAvailableList, 0));
    MoveDraggedRow(lists, drag, kShownList, 1);
    EXPECT_TRUE(EndRowDrag(lists, drag));
    EXPECT_EQ(lists.Rows[kShownList], u"M-C");
    EXPECT_EQ(lists.Rows[kAvailableList][0], kSeparatorLetter) << "list 110 still offers one";
    EXPECT_EQ(ShowStringOf(lists, 20), u"M-C");

    const std::u16string available = lists.Rows[kAvailableList];
    ASSERT_TRUE(BeginRowDrag(lists, drag, kShownList, 1));
    MoveDraggedRow(lists, drag, kAvailableList, 3);
    EXPECT_FALSE(EndRowDrag(lists, drag)) << "a separator dropped into list 110 goes";
    EXPECT_EQ(lists.Rows[kAvailableList], available);
    EXPECT_EQ(lists.Rows[kShownList], u"MC");

    // A copy taken from list 110 and dropped back there goes as well.
    ASSERT_TRUE(BeginRowDrag(lists, drag, kAvailableList, 0));
    MoveDraggedRow(lists, drag, kAvailableList, 4);
    EXPECT_FALSE(EndRowDrag(lists, drag));
    EXPECT_EQ(lists.Rows[kAvailableList], available);
}

TEST(OptionsItemLists, DragFollowsThePointerAndBelowTheRowsAppends)
{
    TItemLists lists = ItemListsOf(u"MCH");
    TRowDrag drag;
    ASSERT_TRUE(BeginRowDrag(lists, drag, kShownList, 0));
    MoveDraggedRow(lists, drag, kShownList, 2);
    EXPECT_EQ(lists.Rows[kShownList], u"CHM");
    MoveDraggedRow(lists, drag, kAvailableList, 1);  // through the other list...
    EXPECT_EQ(lists.Rows[kShownList], u"CH");
    MoveDraggedRow(lists, drag, kShownList, 50);     // ...and back, below the rows
    EXPECT_TRUE(EndRowDrag(lists, drag));
    EXPECT_EQ(ShowStringOf(lists, 20), u"CHM");
    EXPECT_EQ(drag.Row, 2);

    TRowDrag none;
    EXPECT_FALSE(BeginRowDrag(lists, none, kShownList, 3)) << "no row there";
    EXPECT_FALSE(BeginRowDrag(lists, none, 2, 0));
}

TEST(OptionsItemLists, ShowStringIsCutToItsMember)
{
    TItemLists lists = ItemListsOf(u"");
    lists.Rows[kShownList] = std::u16string(25, kSeparatorLetter);
    EXPECT_EQ(ShowStringOf(lists, 20).size(), 19u);
}

} // namespace
