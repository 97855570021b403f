#include <gtest/gtest.h>

#include "menu/portable/menu_keywords.h"
#include "render/portable/paint_rules.h"

TEST(NewItemRule, NewWhileYoungerThanTheConfiguredDays)
{
    // One upper FILETIME unit is 429.5 s; a day is 201.1656761 units.
    struct Case {
        bool hilight;
        uint32_t now, created;
        int days;
        bool expected;
    } cases[] = {
        {true, 1000, 1000, 1, true},            // just created
        {true, 1201, 1000, 1, true},            // 201 units: still within the day
        {true, 1202, 1000, 1, false},           // 202 units: the day is over
        {true, 1000 + 1408, 1000, 7, true},     // 7 days = 1408.16 units
        {true, 1000 + 1409, 1000, 7, false},
        {false, 1000, 1000, 7, false},          // highlighting off
        {true, 5, 0xFFFFFFF0u, 1, true},        // the difference wraps as unsigned
        {true, 1000, 1001, 1, false},           // created "in the future" wraps to huge
        {true, 1000, 1000, 0, false},
        {true, 1000, 1000, -3, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(IsCreatedRecently(c.hilight, c.now, c.created, c.days), c.expected)
            << c.now << " " << c.created << " " << c.days;
}

TEST(CaptionsEqual, FoldsOnlyAsciiLetters)
{
    EXPECT_TRUE(CaptionsEqual(u"Accessories", u"ACCESSORIES"));
    EXPECT_TRUE(CaptionsEqual(u"mIxEd 1-2", u"MiXeD 1-2"));
    EXPECT_FALSE(CaptionsEqual(u"\u00E9t\u00E9", u"\u00C9T\u00C9"));  // été vs ÉTÉ
    EXPECT_FALSE(CaptionsEqual(u"Game", u"Games"));
    EXPECT_TRUE(CaptionsEqual(u"", u""));
}

TEST(SpecialKeywords, AreComparedExactly)
{
    const SpecialKeyword *help = FindSpecialKeyword(u"*ayuda");
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->Caption, LocalHelp);
    EXPECT_EQ(help->IconSlot, IconHelp);
    EXPECT_EQ(FindSpecialKeyword(u"*AYUDA"), nullptr);
    EXPECT_EQ(FindSpecialKeyword(u"*ayuda "), nullptr);
    EXPECT_EQ(FindSpecialKeyword(u"ayuda"), nullptr);
}

TEST(SpecialKeywords, LettersPlaceTheirItems)
{
    struct Case {
        char16_t letter;
        std::u16string_view keyword;
    } cases[] = {
        {u'-', u"*separator"}, {u'B', u"*busquedarapida"}, {u'C', u"*consola"},
        {u'D', u"*recientes"}, {u'E', u"*menupordefecto"}, {u'F', u"*3d"},
        {u'H', u"*ayuda"},     {u'L', u"*sesion"},         {u'M', u"*administrar"},
        {u'O', u"*paneldecontrol"}, {u'R', u"*ejecutar"},  {u'S', u"*buscar"},
        {u'T', u"*administradordetareas"}, {u'U', u"*apagar"},
    };
    for (const Case &c : cases) {
        const SpecialKeyword *row = FindKeywordOfLetter(c.letter);
        ASSERT_NE(row, nullptr) << char(c.letter);
        EXPECT_EQ(row->Keyword, c.keyword);
    }
    for (char16_t letter : {u'A', u'G', u'Z', u'h', u'\0'})
        EXPECT_EQ(FindKeywordOfLetter(letter), nullptr) << char(letter);
}

TEST(SpecialKeywords, OnlyTheGenericDialogEditsIconsOfItsKeywords)
{
    // Console, internet search and management have dialogs of their own.
    for (std::u16string_view own : {u"*consola", u"*buscarinternet", u"*administrar"})
        EXPECT_FALSE(FindSpecialKeyword(own)->IconEditable);
    for (std::u16string_view generic : {u"*ayuda", u"*misdocumentos", u"*apagar", u"*sesion"})
        EXPECT_TRUE(FindSpecialKeyword(generic)->IconEditable);
    EXPECT_EQ(FindSpecialKeyword(u"*misimagenes")->IconSlot, IconRecentImages);
}
