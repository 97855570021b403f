#include <gtest/gtest.h>

#include <string>

#include "menu/portable/folder_names.h"

namespace {

std::string Narrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }

constexpr std::u16string_view kUser = u"C:\\users\\root\\Start Menu\\";
constexpr std::u16string_view kCommon = u"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\";

} // namespace

TEST(NewFolderName, AcceptsOneFolderNameAndRefusesEverythingElse)
{
    using V = TFolderNameVerdict;
    const std::u16string_view target = u"C:\\users\\root\\Start Menu\\Programs\\";
    struct Case {
        std::u16string_view name;
        V verdict;
    } cases[] = {
        {u"New Folder", V::Fine},
        {u"Games (old)", V::Fine},
        {u" leading space", V::Fine},
        {u"version 1.2", V::Fine},
        {u".hidden", V::Fine},
        {u"\u00c9l\u00e8ves", V::Fine},
        {u"CONSOLE", V::Fine},
        {u"COM0", V::Fine},
        {u"", V::Empty},
        {u"..\\x", V::BadCharacter},
        {u"a\\b", V::BadCharacter},
        {u"a/b", V::BadCharacter},
        {u"C:\\Windows\\x", V::BadCharacter},
        {u"\\\\server\\share", V::BadCharacter},
        {u"C:x", V::BadCharacter},
        {u"what?", V::BadCharacter},
        {u"a*", V::BadCharacter},
        {u"say \"hi\"", V::BadCharacter},
        {u"<tag>", V::BadCharacter},
        {u"a|b", V::BadCharacter},
        {u"tab\there", V::BadCharacter},
        {u".", V::DotName},
        {u"..", V::DotName},
        {u"name.", V::TrailingDotOrSpace},
        {u"name ", V::TrailingDotOrSpace},
        {u"...", V::TrailingDotOrSpace},
        {u"con", V::DeviceName},
        {u"NUL.txt", V::DeviceName},
        {u"Aux", V::DeviceName},
        {u"com1", V::DeviceName},
        {u"LPT9.folder", V::DeviceName},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CheckNewFolderName(target, c.name), c.verdict) << Narrow(c.name);
}

TEST(NewFolderName, TheFullPathMustFitTheMenusBuffers)
{
    const std::u16string target = u"C:\\" + std::u16string(100, u'f') + u"\\";
    const size_t room = kMaxNewFolderPath - target.size();
    EXPECT_EQ(CheckNewFolderName(target, std::u16string(room, u'n')), TFolderNameVerdict::Fine);
    EXPECT_EQ(CheckNewFolderName(target, std::u16string(room + 1, u'n')),
              TFolderNameVerdict::TooLong);
}

TEST(TargetFolder, NewEntriesGoIntoTheUsersOwnTree)
{
    struct Case {
        const char *what;
        std::u16string_view parent;
        std::u16string_view folder;
        std::vector<std::u16string> chain;
    } cases[] = {
        {"top level", u"", kUser, {}},
        {"a folder of the user's tree gains its backslash",
         u"C:\\users\\root\\Start Menu\\Programs\\Games", u"C:\\users\\root\\Start Menu\\Programs\\Games\\", {}},
        {"a path that already ends with a backslash",
         u"C:\\users\\root\\Start Menu\\Programs\\", u"C:\\users\\root\\Start Menu\\Programs\\", {}},
        {"an all-users folder maps to the same place in the user's tree",
         u"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Tools\\Admin",
         u"C:\\users\\root\\Start Menu\\Programs\\Tools\\Admin\\",
         {u"C:\\users\\root\\Start Menu\\Programs", u"C:\\users\\root\\Start Menu\\Programs\\Tools",
          u"C:\\users\\root\\Start Menu\\Programs\\Tools\\Admin"}},
        {"the all-users path is matched without case",
         u"c:\\programdata\\microsoft\\windows\\start menu\\Programs",
         u"C:\\users\\root\\Start Menu\\Programs\\", {u"C:\\users\\root\\Start Menu\\Programs"}},
        {"a doubled backslash adds no folder to create",
         u"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\\\Tools",
         u"C:\\users\\root\\Start Menu\\\\Tools\\", {u"C:\\users\\root\\Start Menu\\\\Tools"}},
        {"a folder elsewhere stays where it is", u"D:\\Apps", u"D:\\Apps\\", {}},
        {"a folder whose name only begins like the all-users tree",
         u"C:\\ProgramData\\Microsoft\\Windows\\Start Menu Extra",
         u"C:\\ProgramData\\Microsoft\\Windows\\Start Menu Extra\\", {}},
    };
    for (const Case &c : cases) {
        TTargetFolder target = TargetFolderOf(c.parent, kUser, kCommon);
        EXPECT_EQ(Narrow(target.Folder), Narrow(c.folder)) << c.what;
        EXPECT_EQ(target.Chain, c.chain) << c.what;
    }
}

TEST(ShortcutName, FourScaledNumbersWithFourDigitsEach)
{
    struct Case {
        int random[4];
        std::u16string_view name;
    } cases[] = {
        {{0, 0, 0, 0}, u"0000000000000000.lnk"},
        {{1, 3, 4, 16383}, u"0000000000014999.lnk"},
        {{32767, 32766, 12345, 7}, u"10000999937670002.lnk"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Narrow(ShortcutFileName(c.random)), Narrow(c.name));
}
