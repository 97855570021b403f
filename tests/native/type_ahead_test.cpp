#include <gtest/gtest.h>

#include <vector>

#include "menu/portable/type_ahead.h"

namespace {

TTypeAheadMatch Find(const std::vector<std::u16string_view> &captions, int hot, char16_t typed)
{
    return FindTypeAhead(captions.data(), captions.size(), hot, typed);
}

// Captions of a level; the empty one stands for a separator.
const std::vector<std::u16string_view> kLevel = {
    u"Accessories", u"bash", u"", u"Calculator", u"Browser", u"\u00e9diteur", u"\u00c9cran",
    u"1Password", u"Backup"};

} // namespace

TEST(TypeAhead, FindsTheNextMatchAfterTheHotItemAndCountsAll)
{
    struct Case {
        const char *what;
        int hot;
        char16_t typed;
        int first, count;
    } cases[] = {
        {"single match, nothing hot", -1, u'c', 3, 1},
        {"single match is the hot item itself", 3, u'c', 3, 1},
        {"lower and upper case letters match", -1, u'B', 1, 3},
        {"several: first after the hot item", 1, u'b', 4, 3},
        {"several: wraps to the start", 8, u'b', 1, 3},
        {"several: from the last match onward", 4, u'b', 8, 3},
        {"digit", 0, u'1', 7, 1},
        {"no match", 0, u'z', -1, 0},
        {"accented lower case letter is compared whole", -1, u'\u00e9', 5, 1},
        {"accented letters are not case-folded", -1, u'\u00c9', 6, 1},
        {"space is no type-ahead", -1, u' ', -1, 0},
        {"control character is no type-ahead", -1, u'\r', -1, 0},
        {"hot index out of range acts as none", 42, u'c', 3, 1},
    };
    for (const Case &c : cases) {
        TTypeAheadMatch m = Find(kLevel, c.hot, c.typed);
        EXPECT_EQ(m.first, c.first) << c.what;
        EXPECT_EQ(m.count, c.count) << c.what;
    }
}

TEST(TypeAhead, RepeatedKeyCyclesThroughTheMatches)
{
    int hot = -1;
    std::vector<int> visited;
    for (int i = 0; i < 4; ++i) {
        hot = Find(kLevel, hot, u'b').first;
        visited.push_back(hot);
    }
    EXPECT_EQ(visited, (std::vector<int>{1, 4, 8, 1}));
}

TEST(TypeAhead, EmptyLevelMatchesNothing)
{
    TTypeAheadMatch m = FindTypeAhead(nullptr, 0, -1, u'a');
    EXPECT_EQ(m.first, -1);
    EXPECT_EQ(m.count, 0);
}
