#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "menu/portable/drop_rules.h"

namespace {

std::string Narrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }

// A level's markers written one character per item: '-' none, 'b' before, 'a' after.
std::vector<TDropMarks> Marks(std::string_view text)
{
    std::vector<TDropMarks> marks;
    for (char c : text)
        marks.push_back({c == 'b' || c == 'B', c == 'a' || c == 'B'});
    return marks;
}

// A DROPFILES block: header, then the names as given (wide or 8-bit), each terminated, and
// the final empty name.
std::vector<uint8_t> DropFiles(const std::vector<std::u16string> &names, bool wide,
                               uint32_t offset = 20)
{
    std::vector<uint8_t> block(offset, 0);
    block[0] = uint8_t(offset);
    block[1] = uint8_t(offset >> 8);
    block[16] = wide ? 1 : 0;
    auto put = [&](char16_t unit) {
        block.push_back(uint8_t(unit));
        if (wide)
            block.push_back(uint8_t(unit >> 8));
    };
    for (const std::u16string &name : names) {
        for (char16_t unit : name)
            put(unit);
        put(0);
    }
    put(0);
    return block;
}

} // namespace

TEST(DropRules, DropIndexFollowsTheMarkers)
{
    struct Case {
        std::string_view marks;
        int index;
    } cases[] = {
        {"", 0},
        {"---", 0},       // no marker: the top
        {"b--", 0},       // upper half of the first line
        {"ab-", 1},       // between the first and the second
        {"-ab", 2},
        {"--a", 3},       // lower half of the last line: past it
        {"a--", 1},       // only the line above the gap marked (its neighbour unmovable)
        {"-b-", 1},
        {"a-b", 2},       // a before-marker wins over an after-marker
    };
    for (const Case &c : cases)
        EXPECT_EQ(DropIndexOf(Marks(c.marks)), c.index) << c.marks;
}

TEST(DropRules, ReorderLandsInTheMarkedGap)
{
    // Four lines ABCD; each case takes one line to a gap and spells the new order.
    struct Case {
        int from;
        int gap;  // 0 above A ... 4 below D
        std::string order;
    } cases[] = {
        {0, 0, "ABCD"}, {0, 1, "ABCD"}, {0, 2, "BACD"}, {0, 3, "BCAD"}, {0, 4, "BCDA"},
        {3, 0, "DABC"}, {3, 1, "ADBC"}, {3, 3, "ABCD"}, {3, 4, "ABCD"}, {1, 3, "ACBD"},
        {2, 1, "ACBD"},
    };
    for (const Case &c : cases) {
        std::string order = "ABCD";
        const char moved = order[c.from];
        order.erase(c.from, 1);
        order.insert(order.begin() + ReorderedIndex(c.from, c.gap), moved);
        EXPECT_EQ(order, c.order) << c.from << " to gap " << c.gap;
    }
}

TEST(DropRules, SameOrInsideComparesWholeComponentsIgnoringCase)
{
    struct Case {
        std::u16string_view path;
        std::u16string_view folder;
        bool inside;
    } cases[] = {
        {u"C:\\M\\Games", u"C:\\M\\Games", true},
        {u"C:\\M\\Games\\", u"C:\\M\\Games", true},
        {u"C:\\M\\Games\\Cards\\", u"C:\\M\\Games\\", true},
        {u"c:\\m\\GAMES\\cards", u"C:\\M\\Games", true},
        {u"C:\\M\\Games2\\", u"C:\\M\\Games", false},
        {u"C:\\M\\Game", u"C:\\M\\Games", false},
        {u"C:\\M\\", u"C:\\M\\Games", false},
        {u"D:\\M\\Games\\", u"C:\\M\\Games", false},
        {u"C:\\M\\Games\\", u"", false},
        {u"C:\\M\\\u00c9t\u00e9\\x", u"C:\\M\\\u00e9t\u00e9", false},  // only a to z fold
    };
    for (const Case &c : cases)
        EXPECT_EQ(IsSameOrInside(c.path, c.folder), c.inside) << Narrow(c.path) << " in " << Narrow(c.folder);
}

TEST(DropRules, FolderAndLastComponent)
{
    EXPECT_EQ(Narrow(FolderWithBackslash(u"C:\\a\\b.lnk")), "C:\\a\\");
    EXPECT_EQ(Narrow(FolderWithBackslash(u"C:\\a\\b\\")), "C:\\a\\b\\");
    EXPECT_EQ(Narrow(FolderWithBackslash(u"b.lnk")), "");
    EXPECT_EQ(Narrow(LastComponent(u"C:\\a\\b.lnk")), "b.lnk");
    EXPECT_EQ(Narrow(LastComponent(u"b.lnk")), "b.lnk");
    EXPECT_EQ(Narrow(LastComponent(u"C:\\a\\")), "");
}

TEST(DropRules, RewriteReplacesTheFirstOccurrenceOnly)
{
    struct Case {
        std::u16string path;
        std::u16string_view from;
        std::u16string_view to;
        size_t capacity;
        bool rewritten;
        std::string result;
    } cases[] = {
        {u"C:\\M\\A\\x.lnk", u"C:\\M\\", u"C:\\M\\B\\", 260, true, "C:\\M\\B\\A\\x.lnk"},
        {u"C:\\M\\A\\M\\y.lnk", u"\\M\\", u"\\N\\", 260, true, "C:\\N\\A\\M\\y.lnk"},
        {u"c:\\m\\A\\x.lnk", u"C:\\M\\", u"D:\\", 260, true, "D:\\A\\x.lnk"},
        {u"C:\\Other\\x.lnk", u"C:\\M\\", u"C:\\N\\", 260, false, "C:\\Other\\x.lnk"},
        {u"C:\\M\\x", u"", u"C:\\N\\", 260, false, "C:\\M\\x"},
        // The result and its terminator must fit; one unit short keeps the path as it was.
        {u"C:\\M\\x", u"C:\\M\\", u"C:\\MM\\", 8, true, "C:\\MM\\x"},
        {u"C:\\M\\x", u"C:\\M\\", u"C:\\MM\\", 7, false, "C:\\M\\x"},
    };
    for (Case &c : cases) {
        EXPECT_EQ(RewriteFolder(c.path, c.from, c.to, c.capacity), c.rewritten) << c.result;
        EXPECT_EQ(Narrow(c.path), c.result);
    }
}

TEST(DropRules, FirstDroppedPathStaysInsideTheBlock)
{
    const std::u16string path = u"C:\\Temp\\report.final.doc";
    EXPECT_EQ(FirstDroppedPath(DropFiles({path, u"C:\\second"}, true).data(),
                               DropFiles({path, u"C:\\second"}, true).size(), 259),
              path);
    const std::vector<uint8_t> narrow = DropFiles({u"C:\\a.txt"}, false);
    EXPECT_EQ(FirstDroppedPath(narrow.data(), narrow.size(), 259), u"C:\\a.txt");
    const std::vector<uint8_t> later = DropFiles({u"C:\\b"}, true, 40);  // names after a gap
    EXPECT_EQ(FirstDroppedPath(later.data(), later.size(), 259), u"C:\\b");

    const std::vector<uint8_t> good = DropFiles({path}, true);
    struct Case {
        const char *what;
        std::vector<uint8_t> block;
        size_t maxUnits;
    } refused[] = {
        {"shorter than the header", std::vector<uint8_t>(good.begin(), good.begin() + 19), 259},
        {"name cut before its terminator",
         std::vector<uint8_t>(good.begin(), good.begin() + 20 + 2 * path.size()), 259},
        {"half a unit at the end", std::vector<uint8_t>(good.begin(), good.begin() + 21), 259},
        {"name longer than allowed", good, path.size() - 1},
        {"empty list", DropFiles({}, true), 259},
    };
    for (const Case &c : refused)
        EXPECT_EQ(FirstDroppedPath(c.block.data(), c.block.size(), c.maxUnits), u"") << c.what;
    std::vector<uint8_t> outside = good;
    outside[0] = 8;
    EXPECT_EQ(FirstDroppedPath(outside.data(), outside.size(), 259), u"") << "offset inside the header";
    outside[0] = uint8_t(good.size());
    EXPECT_EQ(FirstDroppedPath(outside.data(), outside.size(), 259), u"") << "offset past the end";
    outside[0] = 0xFF;
    outside[3] = 0xFF;
    EXPECT_EQ(FirstDroppedPath(outside.data(), outside.size(), 259), u"") << "offset far outside";
    EXPECT_EQ(FirstDroppedPath(nullptr, 100, 259), u"");
    EXPECT_EQ(FirstDroppedPath(good.data(), good.size(), path.size()), path) << "exactly the limit";
}
