#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "menu/portable/menu_build.h"
#include "settings/portable/system_text.h"

namespace {

using Paths = std::vector<std::u16string_view>;

Paths Replay(Paths paths, const TSwapList &swaps)
{
    for (auto [a, b] : swaps)
        std::swap(paths.at(a), paths.at(b));
    return paths;
}

constexpr std::u16string_view P = u"C:\\Start Menu\\Programs";

} // namespace

TEST(FolderEntries, DotNamesAndHiddenEntriesAreSkipped)
{
    struct Case {
        std::u16string_view name;
        bool hidden;
        bool shown;
    } cases[] = {
        {u"Games", false, true},    {u"Word.lnk", false, true}, {u".", false, false},
        {u"..", false, false},      {u".hidden", false, false}, {u"desktop.ini", true, false},
        {u"a.b.lnk", false, true},  {u"", false, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(IsShownFolderEntry(c.name, c.hidden), c.shown)
            << std::string(c.name.begin(), c.name.end());
}

TEST(ProgramsItem, PlacedBelowTheSeparatorWhenNotOnTop)
{
    struct Case {
        const char *what;
        Paths paths;
        bool onTop;
        Paths expected;
    } cases[] = {
        {"moves past the folder items and the separator",
         {u"A", P, u"B", u"C", u"*separator"}, false, {u"A", u"B", u"C", u"*separator", P}},
        {"already last folder item", {u"A", P, u"*separator", u"*ayuda"}, false,
         {u"A", u"*separator", P, u"*ayuda"}},
        {"on top: stays among the folder items", {u"A", P, u"B", u"*separator"}, true,
         {u"A", P, u"B", u"*separator"}},
        {"no Programs item", {u"A", u"B", u"*separator"}, false, {u"A", u"B", u"*separator"}},
        {"a path that differs in case is another item", {u"A", u"c:\\start menu\\programs",
         u"*separator"}, false, {u"A", u"c:\\start menu\\programs", u"*separator"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Replay(c.paths, PlaceProgramsSwaps(c.paths, P, c.onTop)), c.expected)
            << c.what;
}

TEST(ProgramsItem, MovesAcrossTheSeparatorWhenTheSettingChanged)
{
    struct Case {
        const char *what;
        Paths paths;
        bool onTop;
        Paths expected;
    } cases[] = {
        {"cleared: from above to right below", {P, u"A", u"B", u"*separator", u"*ayuda"},
         false, {u"A", u"B", u"*separator", P, u"*ayuda"}},
        {"cleared: already below", {u"A", u"*separator", P, u"*ayuda"}, false,
         {u"A", u"*separator", P, u"*ayuda"}},
        {"set: from below to right above", {u"A", u"B", u"*separator", P, u"*ayuda"}, true,
         {u"A", u"B", P, u"*separator", u"*ayuda"}},
        {"set: already above", {u"A", P, u"*separator", u"*ayuda"}, true,
         {u"A", P, u"*separator", u"*ayuda"}},
        {"no separator", {P, u"A"}, false, {P, u"A"}},
        {"no Programs item", {u"A", u"*separator"}, true, {u"A", u"*separator"}},
        {"only the first separator counts",
         {u"A", u"*separator", u"*ayuda", u"*separator", P}, true,
         {u"A", P, u"*separator", u"*ayuda", u"*separator"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Replay(c.paths, MoveProgramsSwaps(c.paths, P, c.onTop)), c.expected)
            << c.what;
}

TEST(LogoutCaption, OnlyTheFirstNamePlaceholderIsFilled)
{
    struct Case {
        std::u16string_view format;
        std::u16string_view expected;
    } cases[] = {
        {u"Log Off %s...", u"Log Off Ana..."},
        {u"Log Off", u"Log Off"},
        {u"%s %s", u"Ana %s"},
        // A stray conversion in a translated text must not read arguments that are not there.
        {u"%d%n %s", u"%d%n Ana"},
        {u"100%", u"100%"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FormatLogoutCaption(c.format, u"Ana"), c.expected);
}
