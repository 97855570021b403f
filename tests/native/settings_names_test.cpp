#include <gtest/gtest.h>

#include "settings/portable/dialog_text.h"
#include "settings/portable/setting_values.h"
#include "settings/portable/theme_names.h"

TEST(DialogTextTargets, KeysMapToCaptionsAndControlsOfTheirDialog)
{
    struct Case {
        std::u16string_view key;
        int dialog;
        bool applies, caption;
        std::vector<int> controls;
    } cases[] = {
        {u"LocalDlg_108", 108, true, true, {}},
        {u"LocalDlg_108_100", 108, true, false, {100}},
        {u"LocalDlg_108_100", 105, false, false, {}},
        {u"LocalDlg_1080", 108, false, false, {}},
        {u"LocalDlg_105_141_166", 105, true, false, {141, 166}},
        {u"LocalDlg_105_145_171_151_178_176", 105, true, false, {145, 171, 151, 178, 176, 2160}},
        {u"LocalDlg_105_188", 105, true, false, {188, 2188}},
        {u"LocalDlg_102_105", 102, true, false, {105, 108}},
        {u"LocalDlg_105_105", 105, true, false, {105}},
        {u"LocalDlg_Ok", 101, true, false, {kDialogOkControl}},
        {u"LocalDlg_Cancel", 108, true, false, {kDialogCancelControl}},
        {u"LocalDlg_105_A", 105, false, false, {}},
        {u"LocalDlg_105_1001S", 105, false, false, {}},
        {u"LocalDlg_105_", 105, false, false, {}},
        {u"LocalMenuOpen", 105, false, false, {}},
    };
    for (const Case &c : cases) {
        DialogTextTarget target;
        const std::string key(c.key.begin(), c.key.end());
        EXPECT_EQ(FindDialogTextTarget(c.key, c.dialog, target), c.applies) << key;
        EXPECT_EQ(target.Caption, c.caption) << key;
        EXPECT_EQ(target.Controls, c.controls) << key;
    }
}

TEST(ThemeNames, AreCutAtTheFirstDot)
{
    struct Case {
        std::u16string_view file;
        bool listed;
        std::u16string_view name;
    } cases[] = {
        {u"Blue.TVRAtheme", true, u"Blue"},
        {u"Blue.Dark.TVRAtheme", true, u"Blue"},
        {u".TVRAtheme", true, u""},
        {u"NoDot", false, u""},
    };
    for (const Case &c : cases) {
        std::u16string name;
        EXPECT_EQ(ThemeNameOfFile(c.file, name), c.listed);
        EXPECT_EQ(name, c.name);
    }
}

TEST(ThemeNames, FileNamesCannotLeaveTheDataFolder)
{
    EXPECT_EQ(ThemeFileNamePart(u"Blue.Dark"), u"Blue.Dark");
    EXPECT_EQ(ThemeFileNamePart(u"..\\..\\evil"), u".._.._evil");
    EXPECT_EQ(ThemeFileNamePart(u"a/b:c*d?e\"f<g>h|i\tj"), u"a_b_c_d_e_f_g_h_i_j");
}

// The glow choice is two flags in the files: a doubling without the glow is no glow, and
// every choice comes back from the flags it is stored as.
TEST(GlowStyles, ChoiceAndFlagsAgree)
{
    struct Case {
        bool glow, doubled;
        TGlowStyle style;
    } cases[] = {
        {false, false, kGlowNone},
        {false, true, kGlowNone},
        {true, false, kGlowSingle},
        {true, true, kGlowDouble},
    };
    for (const Case &c : cases)
        EXPECT_EQ(GlowStyleOf(c.glow, c.doubled), c.style) << c.glow << c.doubled;
    for (TGlowStyle style : {kGlowNone, kGlowSingle, kGlowDouble}) {
        TGlowFlags flags = GlowFlagsOf(style);
        EXPECT_EQ(GlowStyleOf(flags.glow, flags.doubled), style);
        EXPECT_TRUE(flags.glow || !flags.doubled) << "no doubling stored without the glow";
    }
    EXPECT_FALSE(GlowFlagsOf(7).glow) << "an unknown choice is no glow";
}
