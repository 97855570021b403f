#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/portable/order_file.h"
#include "settings/portable/settings_text.h"

namespace {

using Lines = std::vector<std::u16string_view>;

std::string Bytes(std::u16string_view text)
{
    std::vector<uint8_t> bytes = FileBytesFromText(text);
    return std::string(bytes.begin(), bytes.end());
}

std::u16string FromBytes(const std::string &bytes)
{
    return TextFromFileBytes(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
}

// A root level holding folder F and shortcut N, F's level holding P and C.
constexpr std::u16string_view kTwoLevels =
    u"*NULL\r\nC:\\F\r\nC:\\N.lnk\r\n*C:\\F\r\nC:\\F\\P.lnk\r\nC:\\F\\C.lnk\r\n|";

} // namespace

TEST(OrderRecord, SwapRulePutsNamedItemsFirstInFileOrder)
{
    struct Case {
        const char *what;
        Lines items;
        Lines record;
        Lines expected;
    } cases[] = {
        {"one named item swaps with the first", {u"A", u"B", u"C", u"D"}, {u"C"},
         {u"C", u"B", u"A", u"D"}},
        {"empty record keeps the order", {u"A", u"B", u"C"}, {}, {u"A", u"B", u"C"}},
        {"record in the present order", {u"A", u"B", u"C"}, {u"A", u"B", u"C"},
         {u"A", u"B", u"C"}},
        {"full reversal", {u"A", u"B", u"C"}, {u"C", u"B", u"A"}, {u"C", u"B", u"A"}},
        {"unknown lines are skipped", {u"A", u"B", u"C", u"D"}, {u"X", u"D", u"Y", u"A"},
         {u"D", u"A", u"C", u"B"}},
        {"a new item follows the named ones", {u"A", u"B", u"New"}, {u"B", u"A"},
         {u"B", u"A", u"New"}},
        {"a repeated line does not undo its first placing", {u"A", u"B", u"C", u"D"},
         {u"C", u"C"}, {u"C", u"B", u"A", u"D"}},
        {"matching is case-sensitive", {u"A", u"B"}, {u"b"}, {u"A", u"B"}},
    };
    for (const Case &c : cases) {
        Lines paths = c.items;
        auto swaps = ApplyOrderRecord(c.record, paths);
        EXPECT_EQ(paths, c.expected) << c.what;

        // The exchanges, repeated on the original list, must give the same order.
        Lines replay = c.items;
        for (auto [a, b] : swaps) {
            ASSERT_NE(a, b) << c.what;
            std::swap(replay.at(a), replay.at(b));
        }
        EXPECT_EQ(replay, c.expected) << c.what;
    }
}

TEST(OrderRecord, FindsTheRecordOfEachLevel)
{
    struct Case {
        std::u16string_view text;
        std::u16string_view parent;
        Lines expected;
    } cases[] = {
        {kTwoLevels, u"", {u"C:\\F", u"C:\\N.lnk"}},
        {kTwoLevels, u"C:\\F", {u"C:\\F\\P.lnk", u"C:\\F\\C.lnk"}},
        {kTwoLevels, u"C:\\G", {}},
        {kTwoLevels, u"c:\\f", {}},
        // An item line is no header, and a header is only found at the start of a line.
        {kTwoLevels, u"C:\\N.lnk", {}},
        {u"*NULL\r\nX*C:\\F\r\nA\r\n|", u"C:\\F", {}},
        // A record ends at the next header, even when that header is its own.
        {u"*NULL\r\nA\r\n*NULL\r\nB\r\n|", u"", {u"A"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FindOrderRecord(c.text, c.parent), c.expected)
            << std::string(c.parent.begin(), c.parent.end());
}

TEST(OrderRecord, DamagedFilesAreReadSafely)
{
    const std::u16string longLine(kOrderMaxPathLength + 41, u'x');
    const std::u16string fullLine(kOrderMaxPathLength, u'y');
    struct Case {
        const char *what;
        std::string bytes;
        Lines expected;
    } cases[] = {
        {"empty file", "", {}},
        {"cut inside the header", Bytes(u"*NU"), {}},
        {"cut inside a line: the partial path names nothing", Bytes(u"*NULL\r\nA\r\nB"),
         {u"A"}},
        {"cut between CR and LF", Bytes(u"*NULL\r\nA\r\nB\r"), {u"A"}},
        {"no end mark", Bytes(u"*NULL\r\nA\r\nB\r\n"), {u"A", u"B"}},
        {"odd length", Bytes(u"*NULL\r\nA\r\n|") + "Z", {u"A"}},
        {"odd length inside a line", Bytes(u"*NULL\r\nA\r\nB\r\n").substr(0, 21), {u"A"}},
        {"a zero unit ends the text", Bytes(u"*NULL\r\nA\r\n") + std::string(2, '\0') +
                                            Bytes(u"B\r\n|"),
         {u"A"}},
        {"over-long line skipped, the rest applied",
         Bytes(u"*NULL\r\n" + longLine + u"\r\nA\r\n" + fullLine + u"\r\n|"),
         {u"A", fullLine}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FindOrderRecord(FromBytes(c.bytes), u""), c.expected) << c.what;
}

TEST(OrderWriting, BuildsTheExactBytes)
{
    std::u16string text;
    AppendOrderHeader(text, u"");
    AppendOrderLine(text, u"C:\\F");
    AppendOrderLine(text, u"C:\\N.lnk");
    AppendOrderHeader(text, u"C:\\F");
    AppendOrderLine(text, u"C:\\F\\P.lnk");
    AppendOrderLine(text, u"C:\\F\\C.lnk");
    AppendOrderEndMark(text);
    EXPECT_EQ(text, kTwoLevels);

    // Little-endian units, no byte-order mark, nothing after the end mark.
    std::string bytes = Bytes(text);
    ASSERT_EQ(bytes.size(), text.size() * 2);
    EXPECT_EQ(bytes.substr(0, 4), std::string("*\0N\0", 4));
    EXPECT_EQ(bytes.substr(bytes.size() - 6), std::string("\r\0\n\0|\0", 6));
}

TEST(OrderWriting, RoundTripsEveryUnit)
{
    const std::u16string text =
        u"*NULL\r\nC:\\Men\u00fa\\\u4e2d\u6587.lnk\r\nC:\\\u0100\u00ff\r\n|";
    EXPECT_EQ(FromBytes(Bytes(text)), text);
    EXPECT_EQ(FindOrderRecord(FromBytes(Bytes(text)), u""),
              (Lines{u"C:\\Men\u00fa\\\u4e2d\u6587.lnk", u"C:\\\u0100\u00ff"}));
}

TEST(OrderWriting, SkipsSpecialItemsAndThePlaceholder)
{
    struct Case {
        std::u16string_view path;
        bool isEmptyMarker;
        bool written;
    } cases[] = {
        {u"C:\\x.lnk", false, true},
        {u"{21EC2020-3AEA-1069-A2DD-08002B30309D}", false, true},
        {u"*separator", false, false},
        {u"*busquedarapida", false, false},
        {u"*recientes", false, false},
        {u"", true, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(IsOrderedItem(c.path, c.isEmptyMarker), c.written)
            << std::string(c.path.begin(), c.path.end());
}
