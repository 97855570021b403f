// What the search box finds and shows: the two passes over the index, the case folding, the
// list caption, the hidden codes' digests, the caret nearest to a point and typed command
// lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "menu/portable/search_filter.h"

namespace {

TSearchIndex Index(const std::vector<std::u16string> &captions)
{
    TSearchIndex index;
    for (const std::u16string &caption : captions)
        AppendSearchEntry(index, u"C:\\" + caption + u".lnk", caption, nullptr);
    return index;
}

std::vector<std::string> Found(const TSearchIndex &index, std::u16string_view typed)
{
    std::vector<int> results;
    FilterSearchIndex(index, SearchFolded(typed), results);
    std::vector<std::string> captions;
    for (int i : results) {
        std::u16string_view c = index.Entries[size_t(i)].Caption;
        captions.emplace_back(c.begin(), c.end());
    }
    return captions;
}

std::string Narrow(std::u16string_view s) { return std::string(s.begin(), s.end()); }

} // namespace

TEST(SearchFilterTest, CaptionStartsComeFirstThenLaterWordStartsNeverInsideAWord)
{
    const TSearchIndex index = Index({u"Windows Media Player", u"Media Center", u"Notepad",
                                      u"Multimedia Tool", u"Social media", u"MEDIATOR",
                                      u"Paint", u"media  media"});
    struct Case {
        std::u16string typed;
        std::vector<std::string> found;
    } const cases[] = {
        // Prefixes in index order, then word starts in index order; "Multimedia" only has
        // it inside a word.
        {u"media", {"Media Center", "MEDIATOR", "media  media", "Windows Media Player",
                    "Social media"}},
        {u"MeD", {"Media Center", "MEDIATOR", "media  media", "Windows Media Player",
                  "Social media"}},
        {u"p", {"Paint", "Windows Media Player"}},
        {u"otepad", {}},
        {u"media p", {"Windows Media Player"}},
        {u" ", {"media  media"}},  // only there does a space start after a space
        {u"", {}},
        {u"zzz", {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Found(index, c.typed), c.found) << Narrow(c.typed);
}

TEST(SearchFilterTest, AWordStartAfterAnInsideMatchStillCounts)
{
    // The first occurrence lies inside "Rebar"; the later one starts a word.
    const TSearchIndex index = Index({u"Rebar bar tools"});
    EXPECT_EQ(Found(index, u"bar"), std::vector<std::string>{"Rebar bar tools"});
}

TEST(SearchFilterTest, KeysFoldLatinGreekAndCyrillicCapitals)
{
    const std::u16string folded = SearchFolded(u"ÀÉÎÕÜ×ßŸĀāĹĽŁŹİΣΆЁЖ1A");
    EXPECT_EQ(folded, u"àéîõü×ßÿāāĺľłźİσΆёж1a");
    const TSearchIndex index = Index({u"Éditeur", u"Ärger Ölkarte", u"Журнал"});
    EXPECT_EQ(Found(index, u"éDI"), std::vector<std::string>{Narrow(index.Entries[0].Caption)});
    EXPECT_EQ(Found(index, u"ölk").size(), 1u);
    EXPECT_EQ(Found(index, u"ЖУР").size(), 1u);
}

TEST(SearchFilterTest, EntriesAreCutToTheirBuffersAndCountedInBytes)
{
    TSearchIndex index;
    const std::u16string longText(600, u'Q');
    AppendSearchEntry(index, longText, longText, &index);
    AppendSearchEntry(index, u"p", u"c", nullptr);
    const TSearchEntry &e = index.Entries[0];
    EXPECT_EQ(std::u16string_view(e.Path).size(), kSearchEntryUnits - 1);
    EXPECT_EQ(std::u16string_view(e.Caption).size(), kSearchEntryUnits - 1);
    EXPECT_EQ(std::u16string_view(e.Key), std::u16string(kSearchEntryUnits - 1, u'q'));
    EXPECT_EQ(e.Icon, &index);
    EXPECT_EQ(index.Bytes, 2 * sizeof(TSearchEntry));
    ClearSearchIndex(index);
    EXPECT_TRUE(index.Entries.empty());
    EXPECT_EQ(index.Bytes, 0u);
}

TEST(SearchFilterTest, CountCaptionFillsOnlyItsOneNumber)
{
    struct Case {
        std::u16string format;
        int count;
        std::string caption;
    } const cases[] = {
        {u"%i items found", 0, "0 items found"},
        {u"%i items found", 12, "12 items found"},
        {u"Found: %d", 3, "Found: 3"},
        {u"%s %i %i 100%% %n %", 7, "%s 7 %i 100% %n %"},
        {u"no number", 4, "no number"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Narrow(CountCaption(c.format, c.count)), c.caption) << Narrow(c.format);
}

TEST(SearchFilterTest, DigestsAreLowerCaseHexAndNameTheirCode)
{
    const uint8_t digest[16] = {0x90, 0x01, 0x50, 0x98, 0x3c, 0xd2, 0x4f, 0xb0,
                                0xd6, 0x96, 0x3f, 0x7d, 0x28, 0xe1, 0x7f, 0x72};
    EXPECT_EQ(DigestHex(digest), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(Utf16LeBytes(u"a\u20AC"), (std::vector<uint8_t>{0x61, 0x00, 0xAC, 0x20}));
    struct Case {
        std::string hex;
        THiddenCode code;
    } const cases[] = {
        {"19616a26833ab95bab8218b18203336e", THiddenCode::DecorationOn},
        {"046687dbd6ae1b1fcaec2304f662b80c", THiddenCode::DecorationOff},
        {"95d399d8c50f765cb42273f0be30bb98", THiddenCode::EffectDialog2},
        {"e5dc18c518f4aa76ba298f3a4b13bfcf", THiddenCode::EffectDialog1},
        {"E5DC18C518F4AA76BA298F3A4B13BFCF", THiddenCode::None},  // the form is lower case
        {"ce1473cf80c6b3fda8e3dfc006adc315", THiddenCode::None},  // "abc"
        {"", THiddenCode::None},
    };
    for (const Case &c : cases)
        EXPECT_EQ(HiddenCodeOfDigest(c.hex), c.code) << c.hex;
}

TEST(SearchFilterTest, NearestBoundaryToAPoint)
{
    const std::vector<int> x = {4, 10, 16, 30};
    struct Case {
        int x, boundary;
    } const cases[] = {{-5, 0}, {4, 0}, {7, 0}, {8, 1}, {16, 2}, {22, 2}, {24, 3}, {500, 3}};
    for (const Case &c : cases)
        EXPECT_EQ(NearestBoundary(x, c.x), c.boundary) << c.x;
    EXPECT_EQ(NearestBoundary({}, 10), 0);
}

TEST(SearchFilterTest, TypedCommandLinesSplitIntoProgramAndParameters)
{
    struct Case {
        std::u16string text;
        std::string program, parameters;
    } const cases[] = {
        {u"notepad", "notepad", ""},
        {u"  notepad  C:\\a b.txt ", "notepad", "C:\\a b.txt"},
        {u"\"C:\\Program Files\\x.exe\" -v", "C:\\Program Files\\x.exe", "-v"},
        {u"\"C:\\open quote", "C:\\open quote", ""},
        {u"", "", ""},
    };
    for (const Case &c : cases) {
        const TCommandLine line = SplitCommandLine(c.text);
        EXPECT_EQ(Narrow(line.Program), c.program) << Narrow(c.text);
        EXPECT_EQ(Narrow(line.Parameters), c.parameters) << Narrow(c.text);
    }
}
