#include <gtest/gtest.h>

#include <cstring>

#include "settings/portable/settings_text.h"
#include "settings/portable/system_text.h"

TEST(SettingsReaders, FlagIsTrueOnlyForYesSiOrOne)
{
    struct Case {
        std::u16string_view value;
        bool expected;
    } cases[] = {
        {u"yes", true}, {u"Y", true}, {u"si", true}, {u"Si", true}, {u"1", true},
        {u"no", false}, {u"0", false}, {u"", false}, {u" yes", false}, {u"true", false},
        {u"\u00FDes", false},  // only a to z are folded
    };
    for (const Case &c : cases)
        EXPECT_EQ(ReadFlagValue(c.value), c.expected) << std::string(c.value.begin(), c.value.end());
}

TEST(SettingsReaders, IntAcceptsBlanksAndOneSignAndStopsAtTheFirstNonDigit)
{
    struct Case {
        std::u16string_view value;
        int32_t expected;
    } cases[] = {
        {u"250", 250},        {u"  -12", -12},   {u"+7", 7},        {u"12px", 12},
        {u"", 0},             {u"abc", 0},       {u"--5", 0},       {u"- 5", 0},
        {u"2147483647", 2147483647},             {u"-2147483648", INT32_MIN},
        {u"99999999999999999999", INT32_MAX},    {u"-99999999999999999999", INT32_MIN},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ReadIntValue(c.value), c.expected) << std::string(c.value.begin(), c.value.end());
}

TEST(SettingsReaders, ColourReadsRedGreenBlueAfterTwoUncheckedUnits)
{
    struct Case {
        std::u16string_view value;
        uint32_t expected;
    } cases[] = {
        {u"0x000000", 0},
        {u"0x1020AB", 0xAB2010},
        {u"0xff8000", 0x0080FF},     // lower case is read as upper case
        {u"##102030", 0x302010},     // the first two units are not checked
        {u"0x10G030", 0},            // a G among the digits gives black
        {u"0x102030FF", 0x302010},   // units after the eighth are checked, then ignored
        {u"0x102030FZ", 0},
        {u"0xFF", 0x0000FF},         // missing digits count as zero
        {u"0xF", 0x0000F0},
        {u"", 0},
        {u"0x", 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ReadColourValue(c.value), c.expected) << std::string(c.value.begin(), c.value.end());
}

TEST(SettingsWriters, FormatsEachTypeAsTheFileHoldsIt)
{
    EXPECT_EQ(FormatIntValue(-42), u"-42");
    EXPECT_EQ(FormatIntValue(INT32_MIN), u"-2147483648");
    EXPECT_EQ(FormatFlagValue(true), u"yes");
    EXPECT_EQ(FormatFlagValue(false), u"no");
    EXPECT_EQ(FormatColourValue(0xAB2010), u"0x1020AB");
    // A colour read and written again is unchanged.
    EXPECT_EQ(FormatColourValue(ReadColourValue(u"0xC0FFEE")), u"0xC0FFEE");
}

TEST(ReadSettingValue, FindsTheFirstExactKeyThatStartsALine)
{
    std::u16string_view text = u"\uFEFF; comment\r\nA=1\r\nMenuDelay=300\r\nMenuDelay=900\r\n"
                               u"Blank =x\r\nLast= tail  ";
    EXPECT_EQ(ReadSettingValue(text, u"MenuDelay"), u"300");
    EXPECT_EQ(ReadSettingValue(text, u"menudelay"), u"");
    EXPECT_EQ(ReadSettingValue(text, u"Blank"), u"");
    EXPECT_EQ(ReadSettingValue(text, u"Last"), u" tail  ");
    EXPECT_EQ(ReadSettingValue(text, u"Missing"), u"");
    EXPECT_EQ(ReadSettingValue(u"K=a\nb", u"K"), u"a");
    // Inside a line, in a comment, a longer key or another value, a key names nothing.
    EXPECT_EQ(ReadSettingValue(u"; MenuDelay=1\r\nXMenuDelay=2\r\nA=MenuDelay=3\r\n"
                               u"MenuDelay=4", u"MenuDelay"), u"4");
    EXPECT_EQ(ReadSettingValue(u"\uFEFFMenuDelay=5\r\n", u"MenuDelay"), u"5");
    EXPECT_EQ(ReadSettingValue(u"A=1\rB=2\nC=3", u"B"), u"2");
    EXPECT_EQ(ReadSettingValue(u"A=1\rB=2\nC=3", u"C"), u"3");
}

TEST(ReadSettingValue, CutsALongValueTo259Units)
{
    std::u16string text = u"K=" + std::u16string(400, u'x') + u"\r\n";
    EXPECT_EQ(ReadSettingValue(text, u"K"), std::u16string(259, u'x'));
}

TEST(ReplaceSettingInText, ChangesOnlyTheFirstOccurrenceInPlace)
{
    std::u16string text = u"\uFEFF; keep me\r\n[Section]\r\nUnknown=1\r\nMenuDelay=300\r\n"
                          u"DrawGlow=no\r\nMenuDelay=900\r\n";
    ReplaceSettingInText(text, u"MenuDelay", u"12345");
    ReplaceSettingInText(text, u"DrawGlow", u"yes");
    EXPECT_EQ(text, u"\uFEFF; keep me\r\n[Section]\r\nUnknown=1\r\nMenuDelay=12345\r\n"
                    u"DrawGlow=yes\r\nMenuDelay=900\r\n");
    ReplaceSettingInText(text, u"MenuDelay", u"");
    EXPECT_EQ(text, u"\uFEFF; keep me\r\n[Section]\r\nUnknown=1\r\nMenuDelay=\r\n"
                    u"DrawGlow=yes\r\nMenuDelay=900\r\n");
}

TEST(ReplaceSettingInText, AppendsAMissingKeyAfterACrLf)
{
    struct Case {
        std::u16string before;
        std::u16string after;
    } cases[] = {
        {u"A=1\r\n", u"A=1\r\nK=v"},
        {u"A=1", u"A=1\r\nK=v"},
        {u"A=1\n", u"A=1\n\r\nK=v"},
        {u"", u"\r\nK=v"},
    };
    for (Case &c : cases) {
        ReplaceSettingInText(c.before, u"K", u"v");
        EXPECT_EQ(c.before, c.after);
    }
    // The next append adds the line end the previous one left out.
    std::u16string text = u"A=1\r\n";
    ReplaceSettingInText(text, u"K", u"v");
    ReplaceSettingInText(text, u"L", u"w");
    EXPECT_EQ(text, u"A=1\r\nK=v\r\nL=w");
}

namespace {
struct Fixture {
    int32_t Number = 0;
    bool Flag = false;
    uint32_t Colour = 0;
    char16_t Short[4] = {};
    char16_t Guard[4] = {u'#', u'#', u'#', 0};
};

std::vector<SettingRow> RowsOf(Fixture &f)
{
    return {
        {u"Number", SettingType::Int, &f.Number, 0},
        {u"Flag", SettingType::Flag, &f.Flag, 0},
        {u"Colour", SettingType::Colour, &f.Colour, 0},
        {u"Short", SettingType::Text, f.Short, 4},
    };
}
}  // namespace

TEST(SettingRows, ReadCutsTextsToTheirMemberAndEmptiesMissingKeys)
{
    Fixture f;
    f.Number = 5;
    f.Flag = true;
    f.Colour = 0x123456;
    ReadRows(u"Short=abcdefgh\r\nUnrelated=1\r\n", RowsOf(f));
    EXPECT_EQ(std::u16string_view(f.Short), u"abc");
    EXPECT_EQ(std::u16string_view(f.Guard), u"###") << "wrote past the member";
    EXPECT_EQ(f.Number, 0);
    EXPECT_FALSE(f.Flag);
    EXPECT_EQ(f.Colour, 0u);
}

TEST(SettingRows, AUtf8FileYieldsOnlyEmptyValues)
{
    const char utf8[] = "Number=7\r\nFlag=yes\r\nColour=0xFFFFFF\r\nShort=ab\r\n";
    Fixture f;
    ReadRows(TextFromFileBytes(reinterpret_cast<const uint8_t *>(utf8), std::strlen(utf8)),
             RowsOf(f));
    EXPECT_EQ(f.Number, 0);
    EXPECT_FALSE(f.Flag);
    EXPECT_EQ(f.Colour, 0u);
    EXPECT_EQ(std::u16string_view(f.Short), u"");
}

TEST(SettingRows, WriteAndReplaceUseTheSameValueTexts)
{
    Fixture f;
    f.Number = -3;
    f.Flag = true;
    f.Colour = 0xAB0000;
    std::u16string_view(u"a\rb").copy(f.Short, 3);
    EXPECT_EQ(FormatRowLines(RowsOf(f)),
              u"Number=-3\r\nFlag=yes\r\nColour=0x0000AB\r\nShort=a\r\n");

    std::u16string text = u"; c\r\nFlag=no\r\nShort=zz\r\n";
    ReplaceRowsInText(text, RowsOf(f));
    EXPECT_EQ(text, u"; c\r\nFlag=yes\r\nShort=a\r\nNumber=-3\r\nColour=0x0000AB");
}

// Found by fuzzing: a text value holding "Number=" made the save write the number into the
// text's line, and the text's own replace then wiped it.
TEST(SettingRows, ATextValueHoldingAnotherKeyReadsBackAfterASave)
{
    Fixture saved;
    saved.Number = 42;
    std::u16string_view(u"N=").copy(saved.Short, 2);
    std::vector<SettingRow> rows = {
        {u"Short", SettingType::Text, saved.Short, 4},
        {u"N", SettingType::Int, &saved.Number, 0},
    };
    std::u16string text = u"Short=\r\n";
    ReplaceRowsInText(text, rows);
    EXPECT_EQ(text, u"Short=N=\r\nN=42");

    Fixture read;
    ReadRows(text, {{u"Short", SettingType::Text, read.Short, 4},
                    {u"N", SettingType::Int, &read.Number, 0}});
    EXPECT_EQ(std::u16string_view(read.Short), u"N=");
    EXPECT_EQ(read.Number, 42);
}

TEST(SettingsFileBytes, AreLittleEndianUnitsUpToTheFirstZero)
{
    const uint8_t bytes[] = {0xFF, 0xFE, 'A', 0, '=', 0, 0x41, 0x26, 0, 0, 'B', 0, 'x'};
    std::u16string text = TextFromFileBytes(bytes, sizeof(bytes));
    EXPECT_EQ(text, u"\uFEFFA=\u2641");
    std::vector<uint8_t> back = FileBytesFromText(text + u'\0' + u"tail");
    EXPECT_EQ(back, std::vector<uint8_t>(bytes, bytes + 8));
    const uint8_t odd[] = {'A', 0, 'B'};
    EXPECT_EQ(TextFromFileBytes(odd, sizeof(odd)), u"A");
}

TEST(SystemDescription, AppendsServicePackAndBitness)
{
    struct Case {
        unsigned spMajor, spMinor, major;
        uint16_t architecture;
        std::u16string_view expected;
    } cases[] = {
        {0, 0, 6, kArchitectureAmd64, u"Windows 8 Pro 64bits"},
        {1, 0, 6, kArchitectureAmd64, u"Windows 8 Pro SP1 64bits"},
        {2, 5, 6, kArchitectureIntel, u"Windows 8 Pro SP2.5 32bits"},
        {0, 0, 6, 12, u"Windows 8 Pro"},               // ARM64: no suffix
        {3, 0, 5, kArchitectureAmd64, u"Windows 8 Pro SP3"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FormatSystemDescription(u"Windows 8 Pro", c.spMajor, c.spMinor, c.major,
                                          c.architecture, 80),
                  c.expected);
    EXPECT_EQ(FormatSystemDescription(std::u16string(100, u'W'), 0, 0, 6, 9, 80).size(), 79u);
}

TEST(ComposePath, CutsAnOverlongFolderInsteadOfWritingPastTheBuffer)
{
    char16_t path[12];
    char16_t *guard = path + 10;
    *guard = u'#';
    ComposePath(path, 10, u"C:\\users\\x", u"\\Music\\");
    EXPECT_EQ(std::u16string_view(path), u"C:\\users\\");
    EXPECT_EQ(*guard, u'#');
    ComposePath(path, 10, u"C:\\u", u"\\M\\");
    EXPECT_EQ(std::u16string_view(path), u"C:\\u\\M\\");
}
