#include "menu/portable/menu_keywords.h"

static const SpecialKeyword kKeywords[] = {
    {kSeparatorKeyword, u'-', kNoLanguageKey, kNoIconSlot, false, false},
    {kSearchBoxKeyword, u'B', kNoLanguageKey, kNoIconSlot, false, false},
    {kConsoleKeyword, u'C', LocalConsole, IconConsole, false, false},
    {kRecentKeyword, u'D', LocalRecent, IconRecent, true, true},
    {kDefaultMenuKeyword, u'E', LocalDefaultMenu, IconDefaultMenu, false, true},
    {kWindowSwitcherKeyword, u'F', LocalD3, IconD3, false, true},
    {kHelpKeyword, u'H', LocalHelp, IconHelp, false, true},
    {kLogOffKeyword, u'L', LocalLogout, IconLogout, false, true},
    {kManageKeyword, u'M', LocalManage, IconManage, false, false},
    {kControlPanelKeyword, u'O', LocalControl, IconControl, true, true},
    {kRunKeyword, u'R', LocalRun, IconRun, false, true},
    {kFindKeyword, u'S', LocalFind, IconFind, true, true},
    {kFindFilesKeyword, 0, LocalFindFiles, IconFindFiles, false, true},
    {kFindInternetKeyword, 0, LocalFindInternet, IconFindInternet, false, false},
    {kFindPersonsKeyword, 0, LocalFindPersons, IconFindPersons, false, true},
    {kFindComputersKeyword, 0, LocalFindComputers, IconFindComputers, false, true},
    {kFindPrintersKeyword, 0, LocalFindPrinters, IconFindPrinters, false, true},
    {kTaskManagerKeyword, u'T', LocalTaskman, IconTaskman, false, false},
    {kShutDownKeyword, u'U', LocalShutdown, IconShutdown, false, true},
    // Entries of the recent items level.
    {kMyDocumentsKeyword, 0, LocalRecentDocs, IconRecentDocs, false, true},
    {kMyMusicKeyword, 0, LocalRecentMusic, IconRecentMusic, false, true},
    {kMyPicturesKeyword, 0, LocalRecentImages, IconRecentImages, false, true},
    {kMyVideosKeyword, 0, LocalRecentVideos, IconRecentVideos, false, true},
    {kClearRecentKeyword, 0, LocalRecentDelete, IconRecentDelete, false, true},
    {kClearJumpListsKeyword, 0, LocalRecentDeleteJumpList, IconRecentDeleteJumpList, false, false},
    {kRecentFilesKeyword, 0, LocalRecentDocuments, kNoIconSlot, true, false},
    {kRecentFoldersKeyword, 0, LocalRecentLocations, kNoIconSlot, true, false},
};

const SpecialKeyword *FindSpecialKeyword(std::u16string_view keyword)
{
    for (const SpecialKeyword &row : kKeywords)
        if (row.Keyword == keyword)
            return &row;
    return nullptr;
}

const SpecialKeyword *FindKeywordOfLetter(char16_t letter)
{
    if (letter == 0)
        return nullptr;
    for (const SpecialKeyword &row : kKeywords)
        if (row.Letter == letter)
            return &row;
    return nullptr;
}

static char16_t UpperAscii(char16_t c)
{
    return c >= u'a' && c <= u'z' ? char16_t(c - u'a' + u'A') : c;
}

bool CaptionsEqual(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (UpperAscii(a[i]) != UpperAscii(b[i]))
            return false;
    return true;
}
