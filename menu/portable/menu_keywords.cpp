#include "menu/portable/menu_keywords.h"

static const SpecialKeyword kKeywords[] = {
    {kSeparatorKeyword, u'-', kNoLanguageKey, kNoIconSlot, false, false},
    {kSearchBoxKeyword, u'B', kNoLanguageKey, kNoIconSlot, false, false},
    {u"*consola", u'C', LocalConsole, IconConsole, false, false},
    {u"*recientes", u'D', LocalRecent, IconRecent, true, true},
    {u"*menupordefecto", u'E', LocalDefaultMenu, IconDefaultMenu, false, true},
    {u"*3d", u'F', LocalD3, IconD3, false, true},
    {u"*ayuda", u'H', LocalHelp, IconHelp, false, true},
    {u"*sesion", u'L', LocalLogout, IconLogout, false, true},
    {u"*administrar", u'M', LocalManage, IconManage, false, false},
    {u"*paneldecontrol", u'O', LocalControl, IconControl, true, true},
    {u"*ejecutar", u'R', LocalRun, IconRun, false, true},
    {u"*buscar", u'S', LocalFind, IconFind, true, true},
    {u"*buscarficheros", 0, LocalFindFiles, IconFindFiles, false, true},
    {u"*buscarinternet", 0, LocalFindInternet, IconFindInternet, false, false},
    {u"*buscarpersonas", 0, LocalFindPersons, IconFindPersons, false, true},
    {u"*buscarequipos", 0, LocalFindComputers, IconFindComputers, false, true},
    {u"*buscarimpresoras", 0, LocalFindPrinters, IconFindPrinters, false, true},
    {u"*administradordetareas", u'T', LocalTaskman, IconTaskman, false, false},
    {u"*apagar", u'U', LocalShutdown, IconShutdown, false, true},
    // Entries of the recent items level.
    {u"*misdocumentos", 0, LocalRecentDocs, IconRecentDocs, false, true},
    {u"*mimusica", 0, LocalRecentMusic, IconRecentMusic, false, true},
    {u"*misimagenes", 0, LocalRecentImages, IconRecentImages, false, true},
    {u"*misvideos", 0, LocalRecentVideos, IconRecentVideos, false, true},
    {u"*borrarrecientes", 0, LocalRecentDelete, IconRecentDelete, false, true},
    {u"*borrarjumplist", 0, LocalRecentDeleteJumpList, IconRecentDeleteJumpList, false, false},
    {u"*recientes-archivos", 0, LocalRecentDocuments, kNoIconSlot, true, false},
    {u"*recientes-carpetas", 0, LocalRecentLocations, kNoIconSlot, true, false},
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

bool IsCreatedRecently(bool hilight, uint32_t nowHigh, uint32_t createdHigh, int days)
{
    if (!hilight)
        return false;
    uint32_t age = nowHigh - createdHigh;
    return double(age) < double(days) * kFileTimeHighUnitsPerDay;
}
