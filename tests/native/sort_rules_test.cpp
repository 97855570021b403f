#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/portable/sort_rules.h"

namespace {

// A level written as text: "name" a movable file, "name/" a movable folder, "#name" an
// unmovable line (a special item, a separator, a fixed Programs item).
std::vector<TSortEntry> Level(const std::vector<std::u16string_view> &lines)
{
    std::vector<TSortEntry> entries;
    for (std::u16string_view line : lines) {
        TSortEntry entry{line, false, true, 0, int(entries.size())};
        if (line.starts_with(u"#")) {
            entry.IsMovable = false;
            entry.Caption.remove_prefix(1);
        }
        if (entry.Caption.ends_with(u"/")) {
            entry.IsFolder = true;
            entry.Caption.remove_suffix(1);
        }
        entries.push_back(entry);
    }
    return entries;
}

std::u16string Order(const std::vector<TSortEntry> &entries)
{
    std::u16string text;
    for (const TSortEntry &entry : entries) {
        if (!text.empty())
            text += u' ';
        text += entry.Caption;
    }
    return text;
}

std::string Narrow(const std::u16string &text) { return std::string(text.begin(), text.end()); }

} // namespace

TEST(SortRules, ByNameWithFoldersFirstAndUnmovableLinesInPlace)
{
    struct Case {
        const char *what;
        TSortRule rule;
        std::vector<std::u16string_view> level;
        std::u16string_view sorted;
    } cases[] = {
        {"captions a to z", TSortRule::Level, {u"Paint", u"Calc", u"Notepad"}, u"Calc Notepad Paint"},
        {"folders before files", TSortRule::Level, {u"Alpha", u"Zeta/", u"Beta", u"Gamma/"},
         u"Gamma Zeta Alpha Beta"},
        {"a to z compared without case", TSortRule::Level, {u"banana", u"Apple", u"cherry"},
         u"Apple banana cherry"},
        {"case-only differences keep their order", TSortRule::Level, {u"abc", u"ABC", u"Abc"},
         u"abc ABC Abc"},
        {"accented letters sort by code unit, after z", TSortRule::Level,
         {u"\u00c9cran", u"zoo", u"Ecran"}, u"Ecran zoo \u00c9cran"},
        {"a shorter caption before its longer form", TSortRule::Level, {u"Office Tools", u"Office"},
         u"Office Office Tools"},
        {"digits before letters, '_' after the upper-cased letters", TSortRule::Level,
         {u"b", u"_x", u"7-Zip", u"a"}, u"7-Zip a b _x"},
        {"an unmovable line splits the level into runs", TSortRule::Level,
         {u"d", u"c", u"#Help", u"b", u"a"}, u"c d Help a b"},
        {"unmovable lines at the ends and side by side stay", TSortRule::Level,
         {u"#Search", u"y", u"x/", u"#sep", u"#Run", u"n", u"m", u"#Shut down"},
         u"Search x y sep Run m n Shut down"},
        {"a folder never crosses an unmovable line", TSortRule::Level, {u"a", u"#Programs", u"B/"},
         u"a Programs B"},
        {"one line", TSortRule::Level, {u"only"}, u"only"},
        {"no line", TSortRule::Level, {}, u""},
        {"every line takes part in the name sort", TSortRule::NameAll,
         {u"d", u"#c", u"b/", u"#a/"}, u"a b c d"},
    };
    for (const Case &c : cases) {
        std::vector<TSortEntry> entries = Level(c.level);
        SortEntries(entries, c.rule);
        EXPECT_EQ(Narrow(Order(entries)), Narrow(std::u16string(c.sorted))) << c.what;
    }
}

TEST(SortRules, PositionsFollowTheirLines)
{
    std::vector<TSortEntry> entries = Level({u"c", u"#x", u"b", u"a"});
    SortEntries(entries, TSortRule::Level);
    std::vector<int> positions;
    for (const TSortEntry &entry : entries)
        positions.push_back(entry.Position);
    EXPECT_EQ(positions, (std::vector<int>{0, 1, 3, 2}));
}

TEST(SortRules, ByDateNewestFirstAsUnsignedNumbers)
{
    struct Case {
        const char *what;
        std::vector<uint32_t> created;
        std::vector<int> positions;  // original positions in sorted order
    } cases[] = {
        {"newest first", {10, 30, 20}, {1, 2, 0}},
        {"equal dates keep their order", {5, 7, 5, 7}, {1, 3, 0, 2}},
        {"values above 2^31 are the newest, not negative", {0x7fffffffu, 0x80000000u, 1}, {1, 0, 2}},
        {"items without a file (0) go last", {0, 3, 0}, {1, 0, 2}},
        {"one item", {9}, {0}},
        {"no item", {}, {}},
    };
    for (const Case &c : cases) {
        std::vector<TSortEntry> entries;
        for (uint32_t created : c.created)
            // Folders, names and movability play no part in the date sort.
            entries.push_back({entries.size() % 2 ? u"a" : u"z", entries.size() % 2 == 0, false,
                               created, int(entries.size())});
        SortEntries(entries, TSortRule::DateAll);
        std::vector<int> positions;
        for (const TSortEntry &entry : entries)
            positions.push_back(entry.Position);
        EXPECT_EQ(positions, c.positions) << c.what;
    }
}

TEST(SortRules, CompareCaptionsFoldsOnlyAToZ)
{
    struct Case {
        std::u16string_view a, b;
        int sign;
    } cases[] = {
        {u"abc", u"ABC", 0},
        {u"abc", u"abd", -1},
        {u"ab", u"abc", -1},
        {u"", u"", 0},
        {u"\u00e9", u"\u00c9", 1},  // accented letters keep their case
        {u"[", u"a", 1},            // '[' lies between 'Z' and 'a': after the folded 'A'
    };
    for (const Case &c : cases) {
        const int result = CompareCaptions(c.a, c.b);
        EXPECT_EQ((result > 0) - (result < 0), c.sign)
            << Narrow(std::u16string(c.a)) << " vs " << Narrow(std::u16string(c.b));
    }
}
