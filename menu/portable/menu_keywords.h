// The special menu items named by keyword ("*ayuda"), what places them in the first level,
// their captions and icon settings; and the rules that compare captions and mark new items.
#pragma once
#include <cstdint>
#include <string_view>

#include "settings/portable/language_keys.h"

inline constexpr int kNoLanguageKey = -1;
inline constexpr int kNoIconSlot = -1;

struct SpecialKeyword {
    std::u16string_view Keyword;
    char16_t Letter;            // letter of ShowString that places it in the first level, or 0
    int Caption;                // LanguageKey, or kNoLanguageKey
    int IconSlot;               // SpecialIconSlot, or kNoIconSlot
    bool HasSubLevel;           // "*paneldecontrol" only when ShowControlEx is set
    bool IconEditable;          // its icon is edited through the generic properties dialog
};

// Every keyword of the program, spelt once.  Each view ends at a terminating zero of its
// literal, so `.data()` can be handed to the Windows calls as a string.
inline constexpr std::u16string_view kSeparatorKeyword = u"*separator";
inline constexpr std::u16string_view kSearchBoxKeyword = u"*busquedarapida";
inline constexpr std::u16string_view kConsoleKeyword = u"*consola";
inline constexpr std::u16string_view kRecentKeyword = u"*recientes";
inline constexpr std::u16string_view kDefaultMenuKeyword = u"*menupordefecto";
inline constexpr std::u16string_view kWindowSwitcherKeyword = u"*3d";
inline constexpr std::u16string_view kHelpKeyword = u"*ayuda";
inline constexpr std::u16string_view kLogOffKeyword = u"*sesion";
inline constexpr std::u16string_view kManageKeyword = u"*administrar";
inline constexpr std::u16string_view kControlPanelKeyword = u"*paneldecontrol";
inline constexpr std::u16string_view kRunKeyword = u"*ejecutar";
inline constexpr std::u16string_view kFindKeyword = u"*buscar";
inline constexpr std::u16string_view kFindFilesKeyword = u"*buscarficheros";
inline constexpr std::u16string_view kFindInternetKeyword = u"*buscarinternet";
inline constexpr std::u16string_view kFindPersonsKeyword = u"*buscarpersonas";
inline constexpr std::u16string_view kFindComputersKeyword = u"*buscarequipos";
inline constexpr std::u16string_view kFindPrintersKeyword = u"*buscarimpresoras";
inline constexpr std::u16string_view kTaskManagerKeyword = u"*administradordetareas";
inline constexpr std::u16string_view kShutDownKeyword = u"*apagar";
inline constexpr std::u16string_view kMyDocumentsKeyword = u"*misdocumentos";
inline constexpr std::u16string_view kMyMusicKeyword = u"*mimusica";
inline constexpr std::u16string_view kMyPicturesKeyword = u"*misimagenes";
inline constexpr std::u16string_view kMyVideosKeyword = u"*misvideos";
inline constexpr std::u16string_view kClearRecentKeyword = u"*borrarrecientes";
inline constexpr std::u16string_view kClearJumpListsKeyword = u"*borrarjumplist";
inline constexpr std::u16string_view kRecentFilesKeyword = u"*recientes-archivos";
inline constexpr std::u16string_view kRecentFoldersKeyword = u"*recientes-carpetas";

// The row of a keyword, compared exactly; null for any other text.
const SpecialKeyword *FindSpecialKeyword(std::u16string_view keyword);
// The row placed by a ShowString letter; null for letters outside the table.
const SpecialKeyword *FindKeywordOfLetter(char16_t letter);

// Captions compared with only a to z folded to upper case (accented letters stay distinct).
bool CaptionsEqual(std::u16string_view a, std::u16string_view b);
