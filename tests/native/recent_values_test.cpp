#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/portable/recent_values.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::string Narrow(std::u16string_view text)
{
    std::string out;
    for (char16_t c : text)
        out += c < 128 ? char(c) : '?';
    return out;
}

void AppendLittleEndian(Bytes &bytes, std::u16string_view text)
{
    for (char16_t c : text) {
        bytes.push_back(uint8_t(c & 0xFF));
        bytes.push_back(uint8_t(c >> 8));
    }
}

// A numbered value as the shell writes it: the document's name, the shortcut's item data
// (here a few bytes with no zero pair), then the shortcut's long name with its zero unit,
// a two-byte offset and the zero unit that ends the item list.
Bytes ShellValue(std::u16string_view document, std::u16string_view shortcut)
{
    Bytes bytes;
    AppendLittleEndian(bytes, document);
    bytes.insert(bytes.end(), {0, 0, 0x32, 0x11, 0x04, 0xEF, 0xBE, 0x2A, 0x00, 0x00, 0x00});
    AppendLittleEndian(bytes, shortcut);
    bytes.insert(bytes.end(), {0, 0, 0x14, 0x00, 0, 0});
    return bytes;
}

Bytes Numbers(std::initializer_list<uint32_t> numbers)
{
    Bytes bytes;
    for (uint32_t n : numbers)
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(uint8_t(n >> shift));
    return bytes;
}

} // namespace

TEST(MruOrder, ReadsWholeNumbersUpToTheEndMark)
{
    struct Case {
        const char *what;
        Bytes value;
        std::vector<uint32_t> order;
    } cases[] = {
        {"ended by the mark", Numbers({3, 0, 7, 0xFFFFFFFF}), {3, 0, 7}},
        {"numbers after the mark are ignored", Numbers({2, 0xFFFFFFFF, 5}), {2}},
        {"only the mark", Numbers({0xFFFFFFFF}), {}},
        {"empty", {}, {}},
        {"no end mark", Numbers({1, 2}), {1, 2}},
        {"a cut number at the end", [] { Bytes b = Numbers({4, 9}); b.push_back(1); b.push_back(0); return b; }(), {4, 9}},
        {"shorter than one number", {1, 0, 0}, {}},
        {"large numbers stay unsigned", Numbers({0x80000000, 0xFFFFFFFE, 0xFFFFFFFF}), {0x80000000, 0xFFFFFFFE}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(MruOrder(c.value.data(), c.value.size()), c.order) << c.what;
}

TEST(MruShortcutName, TakesTheNameFromTheEndOfTheValue)
{
    // A 7-byte value whose search would start before the buffer; a value whose zero unit
    // stands at its very first byte; names of one character and of the longest plain kind.
    Bytes edge = {0, 0, 0};
    AppendLittleEndian(edge, u"ab.lnk");
    edge.insert(edge.end(), {0, 0, 1, 2, 0, 0});
    Bytes noZero(40, 0x41);
    Bytes noEnd = {0, 0, 0, 0x41, 0, 0x42, 0, 0x43, 0, 0x44, 0x45};
    Bytes sixBytes = {0, 0, 0, 0x41, 0, 0};
    Bytes sevenBytes = {0, 0, 0, 0x41, 0, 0, 0};
    const std::u16string longName(300, u'n');

    struct Case {
        const char *what;
        Bytes value;
        std::u16string name;
    } cases[] = {
        {"a normal value", ShellValue(u"report.txt", u"report.lnk"), u"report.lnk"},
        {"a folder's shortcut", ShellValue(u"Projects", u"Projects.lnk"), u"Projects.lnk"},
        {"one character", ShellValue(u"x", u"x"), u"x"},
        {"accents below U+0100", ShellValue(u"caf\u00e9", u"caf\u00e9.lnk"), u"caf\u00e9.lnk"},
        {"a long name", ShellValue(u"d", longName), longName},
        {"the zero unit at the buffer's first byte", edge, u"ab.lnk"},
        {"6 bytes long", sixBytes, u""},
        {"7 bytes long", sevenBytes, u""},
        {"empty", {}, u""},
        {"no zero unit before the start", noZero, u""},
        {"no zero unit after the name", noEnd, u""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(MruShortcutName(c.value.data(), c.value.size()), c.name) << c.what;
}

TEST(MruShortcutName, MisreadsCharactersAboveU00FF)
{
    // The reading is one byte off the stored text, so a character with a high byte lends it
    // to the next one: the name comes out different and its path names no file.
    const Bytes greek = ShellValue(u"doc", u"\u03a9mega.lnk");
    const std::u16string name = MruShortcutName(greek.data(), greek.size());
    EXPECT_NE(name, u"\u03a9mega.lnk") << Narrow(name);
    // U+0100 has a zero low byte, which reads as the zero unit in the middle of the name.
    const Bytes zeroLow = ShellValue(u"doc", u"a\u0100b.lnk");
    EXPECT_NE(MruShortcutName(zeroLow.data(), zeroLow.size()), u"a\u0100b.lnk");
}

TEST(SplitResourceLocation, SplitsModuleAndIdentifier)
{
    struct Case {
        std::u16string_view text;
        std::u16string_view module;
        bool indirect;
        bool hasId;
        uint32_t id;
    } cases[] = {
        {u"@%SystemRoot%\\system32\\shell32.dll,-22", u"%SystemRoot%\\system32\\shell32.dll", true, true, 22},
        {u"@C:\\windows\\system32\\main.cpl,-101", u"C:\\windows\\system32\\main.cpl", true, true, 101},
        {u"C:\\windows\\system32\\shell32.dll,5", u"C:\\windows\\system32\\shell32.dll", false, true, 5},
        {u"shell32.dll,-5", u"shell32.dll", false, true, 5},
        {u"@shell32.dll,+7", u"shell32.dll", true, true, 7},
        {u"C:\\icons\\app.ico", u"C:\\icons\\app.ico", false, false, 0},
        {u"@C:\\x.dll", u"C:\\x.dll", true, false, 0},
        {u"\"C:\\Program Files\\a.dll\",3", u"C:\\Program Files\\a.dll", false, true, 3},
        {u"  C:\\a.dll , 4 ", u"C:\\a.dll", false, true, 4},
        {u"C:\\a,b\\c.dll,-9", u"C:\\a,b\\c.dll", false, true, 9},
        {u",5", u"", false, true, 5},
        {u"x.dll,", u"x.dll", false, true, 0},
        {u"x.dll,abc", u"x.dll", false, true, 0},
        {u"x.dll,12abc", u"x.dll", false, true, 12},
        {u"x.dll,-2147483648", u"x.dll", false, true, 2147483648u},
        {u"x.dll,99999999999999", u"x.dll", false, true, 0xFFFFFFFFu},
        {u"", u"", false, false, 0},
        {u"@", u"", true, false, 0},
    };
    for (const Case &c : cases) {
        const TResourceLocation location = SplitResourceLocation(c.text);
        EXPECT_EQ(location.Module, c.module) << Narrow(c.text);
        EXPECT_EQ(location.Indirect, c.indirect) << Narrow(c.text);
        EXPECT_EQ(location.HasId, c.hasId) << Narrow(c.text);
        EXPECT_EQ(location.Id, c.id) << Narrow(c.text);
    }
}
