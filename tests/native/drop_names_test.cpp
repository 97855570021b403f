#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "render/options/portable/drop_names.h"

namespace {

// Readable in a failed comparison: ASCII as it is, everything else as \uXXXX.
std::string Show(std::u16string_view text)
{
    std::string out;
    for (char16_t c : text) {
        if (c >= 32 && c < 127) {
            out += char(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", unsigned(c));
            out += escaped;
        }
    }
    return out;
}

std::vector<uint8_t> Utf16Block(std::u16string_view text)
{
    std::vector<uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(uint8_t(c & 0xFF));
        bytes.push_back(uint8_t(c >> 8));
    }
    return bytes;
}

} // namespace

TEST(DropNames, ForbiddenCharacters)
{
    for (char16_t c : std::u16string_view(u":/\\<>*?\"|\t\r\n\x01\x1F"))
        EXPECT_TRUE(IsForbiddenInName(c)) << unsigned(c);
    EXPECT_TRUE(IsForbiddenInName(0));
    for (char16_t c : std::u16string_view(u" a.;-'()&%\u00BF\u00E9\u20AC"))
        EXPECT_FALSE(IsForbiddenInName(c)) << unsigned(c);
}

TEST(DroppedBlock, TextIsReadWithinTheBlockWhetherOrNotItEndsWithAZero)
{
    struct Case {
        const char *what;
        std::vector<uint8_t> block;
        std::u16string_view text;
    } cases[] = {
        {"ends with a zero", Utf16Block(std::u16string(u"http://a/b\0", 11)), u"http://a/b"},
        {"zero in the middle", Utf16Block(std::u16string(u"ab\0cd", 5)), u"ab"},
        {"no zero at all", Utf16Block(u"C:\\Temp\\x.txt"), u"C:\\Temp\\x.txt"},
        {"odd last byte", {'a', 0, 'b', 0, 'c'}, u"ab"},
        {"one byte", {'a'}, u""},
        {"empty", {}, u""},
        {"units above 0xFF", {0xE9, 0x00, 0xAC, 0x20}, u"\u00E9\u20AC"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DroppedText(c.block.data(), c.block.size()), c.text) << c.what;
}

TEST(DroppedBlock, BytesAreReadWithinTheBlockWhetherOrNotItEndsWithAZero)
{
    const uint8_t unterminated[] = {'<', 'a', '>', 0xE9};
    EXPECT_EQ(DroppedBytes(unterminated, sizeof unterminated), std::string_view("<a>\xE9"));
    const uint8_t terminated[] = {'x', 'y', 0, 'z'};
    EXPECT_EQ(DroppedBytes(terminated, sizeof terminated), std::string_view("xy"));
    EXPECT_EQ(DroppedBytes(terminated, 0), std::string_view());
}

TEST(DropNames, AFileIsNamedByItsDisplayNameUpToItsFirstDot)
{
    struct Case {
        std::u16string_view displayName, path, name;
    } cases[] = {
        {u"report.final", u"C:\\Temp\\report.final.doc", u"report"},
        {u"notes.txt", u"C:\\Temp\\notes.txt", u"notes"},
        {u"Editor", u"C:\\Programs\\Editor.lnk", u"Editor"},
        {u".profile", u"C:\\users\\root\\.profile", u""},
        // A drive's display name holds a colon, which no file name may.
        {u"Local Disk (C:)", u"C:\\", u"Local Disk (C)"},
        // Without a display name: the path's last component, not what follows its first
        // backslash.
        {u"", u"C:\\Temp\\report.final.doc", u"report"},
        {u"", u"C:\\Temp\\Sub\\readme", u"readme"},
        {u"", u"C:\\Temp\\Folder\\", u"Folder"},
        {u"", u"C:/Temp/other.txt", u"other"},
        {u"", u"\\\\server\\share\\plan.v2.doc", u"plan"},
        {u"", u"C:\\", u"C"},
        {u"", u"plain", u"plain"},
        {u"", u"", u""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FileShortcutName(c.displayName, c.path), c.name)
            << Show(c.displayName) << " / " << Show(c.path);
}

TEST(DropNames, AnAddressIsNamedByItsLastPartMadeSafe)
{
    struct Case {
        std::u16string_view address, name;
    } cases[] = {
        {u"http://example.com/search?q=orvella", u"search\u00BFq=orvella"},
        {u"http://example.com/say\"hi\"", u"say'hi'"},
        {u"http://example.com/a<b>c*d|e", u"abcde"},
        {u"http://example.com/first\tsecond", u"first"},
        {u"http://example.com/line\r\nnext", u"line"},
        {u"mailto:someone@example.com", u"someone@example.com"},
        {u"C:\\Temp\\file name.txt", u"file name.txt"},
        {u"a few plain words", u"a few plain words"},
        {u"http://example.com/", u""},
        {u"", u""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(AddressShortcutName(c.address), c.name) << Show(c.address);

    const std::u16string longAddress = u"http://example.com/" + std::u16string(400, u'x');
    EXPECT_EQ(AddressShortcutName(longAddress), std::u16string(kMaxAddressName, u'x'));
}

TEST(Latin1Text, SpanishUtf8LettersBecomeLatin1Bytes)
{
    struct Case {
        const char *what;
        std::string text, result;
    } cases[] = {
        {"every letter and mark",
         "\xC3\x81\xC3\x89\xC3\x8D\xC3\x93\xC3\x9A\xC3\x91\xC3\x9C\xC2\xA1"
         "\xC3\xA1\xC3\xA9\xC3\xAD\xC3\xB3\xC3\xBA\xC3\xB1\xC3\xBC\xC2\xBF",
         "\xC1\xC9\xCD\xD3\xDA\xD1\xDC\xA1\xE1\xE9\xED\xF3\xFA\xF1\xFC\xBF"},
        {"within a word", "Espa\xC3\xB1" "a y Per\xC3\xBA", "Espa\xF1" "a y Per\xFA"},
        {"a Greek letter stays two bytes", "\xCE\xB1\xCE\xB2", "\xCE\xB1\xCE\xB2"},
        {"other Latin letters stay", "\xC3\xA7\xC3\xB8", "\xC3\xA7\xC3\xB8"},
        {"a sequence cut at the end stays", "abc\xC3", "abc\xC3"},
        {"plain text", "plain text", "plain text"},
        // Each sequence is replaced all through the text before the next: the inverted
        // exclamation mark made from C2 A1 then completes an a with acute.
        {"the order of the sequences", "\xC3\xC2\xA1", "\xE1"},
    };
    for (const Case &c : cases) {
        std::string text = c.text;
        Utf8SpanishToLatin1(text);
        EXPECT_EQ(text, c.result) << c.what;
    }
}

TEST(Latin1Text, EntityReferencesInThreePasses)
{
    struct Case {
        const char *text, *result;
    } cases[] = {
        {"&amp;#163;", "\xA3"},
        {"&amp;pound;", "\xA3"},
        {"&pound;", "\xA3"},
        {"&#163;", "&#163;"},
        {"a&nbsp;b &amp;nbsp; &amp;#160;", "a-b - -"},
        {"&quot;&apos;&amp;&lt;&gt;", "\"'&<>"},
        {"&amp;#34;&amp;#39;&amp;#38;&amp;#60;&amp;#62;", "\"'&<>"},
        {"&Eacute;t&eacute;", "\xC9t\xE9"},
        {"3&times;4&divide;2", "3\xD7" "4\xF7" "2"},
        {"&iquest;Qu&eacute;?", "\xBFQu\xE9?"},
        {"&Agrave;&yuml;&szlig;&THORN;&thorn;", "\xC0\xFF\xDF\xDE\xFE"},
        {"&amp;amp;", "&"},
        {"&euro; &hellip; &unknown;", "&euro; &hellip; &unknown;"},
        {"&amp &pound", "&amp &pound"},
        {"&EACUTE;", "&EACUTE;"},
        {"", ""},
    };
    for (const Case &c : cases) {
        std::string text = c.text;
        DecodeHtmlEntities(text);
        EXPECT_EQ(text, c.result) << c.text;
    }
}

TEST(Latin1Text, EveryLatin1CodeHasItsEscapedDecimalReference)
{
    for (int code = 161; code <= 255; ++code) {
        std::string text = "&amp;#" + std::to_string(code) + ";";
        DecodeHtmlEntities(text);
        EXPECT_EQ(text, std::string(1, char(code))) << code;
    }
    std::string nbsp = "&amp;#160;";
    DecodeHtmlEntities(nbsp);
    EXPECT_EQ(nbsp, "-");
    // A code outside the table is no character of its own: only its "&amp;" is decoded.
    std::string notInTable = "&amp;#159;&amp;#64;";
    DecodeHtmlEntities(notInTable);
    EXPECT_EQ(notInTable, "&#159;&#64;");
}

TEST(DroppedAnchor, TargetAndNameOfTheFirstAnchor)
{
    struct Case {
        const char *what;
        std::string_view fragment;
        std::u16string_view target, name;
    } cases[] = {
        {"a browser's fragment",
         "Version:0.9\r\nStartHTML:0000000105\r\nEndHTML:0000000199\r\n<html><body>"
         "<!--StartFragment--><a href=\"http://example.com/cafe\">Caf&eacute; &amp; bar</a>"
         "<!--EndFragment--></body></html>",
         u"http://example.com/cafe", u"Caf\u00E9 & bar"},
        {"UTF-8 n with tilde", "<a href=\"http://e.es/\">Espa\xC3\xB1" "a</a>", u"http://e.es/",
         u"Espa\u00F1a"},
        {"a Greek letter gives two characters", "<a href=\"http://e.gr/\">\xCE\xB1</a>",
         u"http://e.gr/", u"\u00CE\u00B1"},
        {"the upper-case anchor is taken first",
         "<a href=\"http://lower/\">low</a> <A HREF=\"http://upper/\">up</A>", u"http://upper/",
         u"up"},
        {"characters never allowed are left out", "<a href=\"x\">a: b/c? \"d\" e|f*</a>", u"x",
         u"a bc d ef"},
        {"an escaped less-than is part of the text", "<a href=\"x\">1 &lt; 2 &gt; 0</a>", u"x",
         u"1  2  0"},
        {"a control character in the text is left out", "<a href=\"x\">two\r\nlines</a>", u"x",
         u"twolines"},
        {"the target's bytes are widened one by one", "<a href=\"http://e.fr/caf\xE9\">c</a>",
         u"http://e.fr/caf\u00E9", u"c"},
        {"attributes after the target", "<a href=\"http://e.com/\" title=\"t\">text</a>",
         u"http://e.com/", u"text"},
        {"an empty text", "<a href=\"http://e.com/\"></a>", u"http://e.com/", u""},
        {"an empty target", "<a href=\"\">none</a>", u"", u"none"},
    };
    for (const Case &c : cases) {
        TDroppedAnchor anchor;
        ASSERT_TRUE(ParseDroppedAnchor(c.fragment, anchor)) << c.what;
        EXPECT_EQ(anchor.Target, c.target) << c.what << ": " << Show(anchor.Target);
        EXPECT_EQ(anchor.Name, c.name) << c.what << ": " << Show(anchor.Name);
    }
}

TEST(DroppedAnchor, FragmentsThatGiveNoShortcut)
{
    struct Case {
        const char *what;
        std::string_view fragment;
    } cases[] = {
        {"no anchor", "<html><body><p>just text</p></body></html>"},
        {"an anchor in mixed case", "<A href=\"http://e.com/\">x</A>"},
        {"no quotation mark after href", "<a href=http://e.com/>x</a>"},
        {"an unterminated quotation mark", "<a href=\"http://e.com/ and on"},
        {"no greater-than after the target", "<a href=\"http://e.com/\""},
        {"no closing less-than", "<a href=\"http://e.com/\">text and no end"},
        {"cut right after the opening", "<a href=\""},
        {"empty", ""},
    };
    for (const Case &c : cases) {
        TDroppedAnchor anchor{u"old", u"old"};
        EXPECT_FALSE(ParseDroppedAnchor(c.fragment, anchor)) << c.what;
        EXPECT_TRUE(anchor.Target.empty() && anchor.Name.empty()) << c.what;
    }
}

TEST(ShortcutPath, FolderNameNumberAndExtension)
{
    const std::u16string_view folder = u"C:\\users\\root\\Start Menu\\";
    struct Case {
        std::u16string_view folder, name;
        int number;
        std::u16string_view path;
    } cases[] = {
        {folder, u"Caf\u00E9 & bar", 1, u"C:\\users\\root\\Start Menu\\Caf\u00E9 & bar.lnk"},
        {folder, u"report", 2, u"C:\\users\\root\\Start Menu\\report (2).lnk"},
        {folder, u"report", 13, u"C:\\users\\root\\Start Menu\\report (13).lnk"},
        {folder, u"", 1, u"C:\\users\\root\\Start Menu\\Shortcut.lnk"},
        {folder, u"", 2, u"C:\\users\\root\\Start Menu\\Shortcut (2).lnk"},
        {u"C:\\Temp", u"x", 1, u"C:\\Temp\\x.lnk"},
        {u"", u"x", 1, u""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ShortcutPathFor(c.folder, c.name, c.number), c.path)
            << Show(c.folder) << " + " << Show(c.name) << " " << c.number;
}

TEST(ShortcutPath, ALongNameIsCutToFitThePathAndTheFileName)
{
    const std::u16string deep = u"C:\\" + std::u16string(200, u'f') + u"\\";
    const std::u16string name(300, u'n');
    struct Case {
        const char *what;
        std::u16string folder;
        int number;
        size_t nameUnits;
    } cases[] = {
        {"the path fills MAX_PATH", deep, 1, kMaxShortcutPath - deep.size() - 4},
        {"room is kept for the number", deep, 12, kMaxShortcutPath - deep.size() - 9},
        {"a short folder: the file name's own limit", u"C:\\", 1, kMaxShortcutFileName - 4},
    };
    for (const Case &c : cases) {
        const std::u16string path = ShortcutPathFor(c.folder, name, c.number);
        EXPECT_LE(path.size(), kMaxShortcutPath) << c.what;
        EXPECT_EQ(path.substr(0, c.folder.size()), c.folder) << c.what;
        const size_t kept = path.find_first_not_of(u'n', c.folder.size()) - c.folder.size();
        EXPECT_EQ(kept, c.nameUnits) << c.what;
        EXPECT_TRUE(path.ends_with(u".lnk")) << c.what;
    }

    // No room for even one unit of the name: no path at all.
    const std::u16string full = u"C:\\" + std::u16string(kMaxShortcutPath - 8, u'f') + u"\\";
    EXPECT_EQ(ShortcutPathFor(full, u"x", 1), u"");
    EXPECT_EQ(ShortcutPathFor(full.substr(0, full.size() - 2) + u"\\", u"xy", 1).size(),
              kMaxShortcutPath);
}

TEST(ShortcutPath, ACutNeverSplitsASurrogatePair)
{
    const std::u16string folder = u"C:\\" + std::u16string(kMaxShortcutPath - 11, u'f') + u"\\";
    // Room for three units of the name: the pair at units 3 and 4 would be halved.
    const std::u16string path = ShortcutPathFor(folder, u"ab\U0001F600cd", 1);
    EXPECT_EQ(path, folder + u"ab.lnk");
}
