// The one process-wide settings record, its files and the paths every other part uses.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include "settings/portable/language_keys.h"
#include "settings/portable/settings_text.h"
#include "settings/portable/setting_values.h"

inline constexpr int kLanguageSlotSize = 80;      // 79 characters and the terminator
inline constexpr int kShowStringSize = 20;
inline constexpr int kFontFaceSize = 32;
inline constexpr int kRibbonTextSize = 80;
inline constexpr int kSystemDescriptionSize = 80;

// Members are in the order the stored record has always had; the options dialog copies the
// whole record to undo a cancelled edit, so it stays plain data.
struct TSettings {
    int IconSize1;
    int IconSize2;

    wchar_t Local[kLanguageCount][kLanguageSlotSize];

    bool ShadowInsteadOfGlow;
    wchar_t ShowString[kShowStringSize];
    bool ShowControlEx;

    wchar_t SpecialIconFile[kSpecialIconCount][MAX_PATH];
    int SpecialIconIndex[kSpecialIconCount];

    int RibbonStyle;
    int RibbonWidth;
    wchar_t RibbonFontFace[kFontFaceSize];
    int RibbonFontSize;
    bool RibbonFontBold;
    bool RibbonFontItalic;
    COLORREF RibbonFontColor;
    int RibbonColorAlpha;
    bool RibbonGlow;
    int RibbonGlowSize;
    bool RibbonGlowDouble;
    bool RibbonGlowBlack;
    COLORREF RibbonColorPlain;
    COLORREF RibbonColorGradient1;
    COLORREF RibbonColorGradient2;
    wchar_t RibbonText[kRibbonTextSize];
    int RibbonColorMode;
    wchar_t RibbonBitmapFile[MAX_PATH];
    bool RibbonBitmapExpand;
    COLORREF RibbonBitmapBackground;

    int MenuStyle;
    int MenuDelay;
    int DelayFull;       // MenuDelay, MenuDelay / 2 and MenuDelay / 4, set at every read
    int DelayHalf;
    int DelayQuarter;

    bool ClassicExit;
    bool ClassicAppearance;
    bool ProgramsOnTop;
    bool Hilight;
    int Days;
    wchar_t HilightStyleBitmapFile[MAX_PATH];
    HBITMAP HilightBitmap;

    int RecentSort;
    int RecentCount;
    wchar_t ConsoleAlternative[MAX_PATH];
    wchar_t InternetSearchAlternative[MAX_PATH];

    wchar_t SystemDescription[kSystemDescriptionSize];

    bool DrawBlur;
    int DrawColorAlpha;
    bool DrawGlow;
    COLORREF DrawFontColor;
    wchar_t DrawSelectionBitmapFile[MAX_PATH];
    HBITMAP SelectionBitmap;
    int DrawGlowSize;
    bool DrawGlowDouble;
    COLORREF DrawColorPlain;
    COLORREF DrawColorGradient1;
    COLORREF DrawColorGradient2;
    int DrawColorMode;
    bool DrawFontDefault;
    wchar_t DrawFontFace[kFontFaceSize];
    int DrawFontSize;
    bool DrawFontBold;
    bool DrawFontItalic;
    int DrawCursorStyle;

    HFONT MenuFont;
    HFONT SystemMenuFont;
    HFONT RibbonFont;
    HBITMAP RibbonBitmap;
    bool SearchBoxInFirstLevel;  // cleared at every read, set by menu building

    COLORREF GlowColor;
    wchar_t BackMenuBitmapFile[MAX_PATH];
    bool BackMenuImageMode;
    HBITMAP BackMenuBitmap;
    int Flags;

    // The file text of the load, save or theme read in progress; empty between them.
    HGLOBAL FileTextMemory;
    wchar_t *FileText;
};

extern TSettings Settings;

inline constexpr int kSettingsFlagNoDecoration = 1;  // bit of Flags

// ---- Paths (every folder path ends with a backslash) ----
void ResolveFolder(const KNOWNFOLDERID &folder, wchar_t *path);
// The per-user data folder, created when missing.
void FormDataFolder(wchar_t *path);
// The folder of the running program, without a trailing backslash.
void GetProgramFolder(wchar_t *path);
void FillSystemDescription(wchar_t *text);
// LocalLogout with the current user's name for its "%s", cut to `capacity` - 1 units.
void FillLogoutCaption(wchar_t *caption, size_t capacity);

// ---- The store ----
void LoadSettings();
void SaveSettings();
void ReadConfiguration(std::u16string_view text);
void ReadLanguageStrings(std::u16string_view text);
void BuildSettingsFonts();
HBITMAP LoadPicture(const wchar_t *path, bool premultiplied);
// A picture of the images folder beside the program, by file name; null for an empty name.
HBITMAP LoadStockPicture(const wchar_t *name, bool premultiplied);
// Replaces the four derived pictures (highlight, band, selection, menu background) by fresh
// loads of the files the record names, deleting the ones it holds.
void ReloadSettingsPictures();

// Rows binding every key to its member, in the order the files hold them.
std::vector<SettingRow> ConfigurationRows(TSettings &settings);
std::vector<SettingRow> LanguageRows(TSettings &settings);

// Reads a whole settings or theme file; false when it cannot be opened.
bool ReadSettingsFile(const wchar_t *path, std::u16string &text);
// Replaces `path` in one step by a file holding `text` (units before the first zero).
bool WriteSettingsFile(const wchar_t *path, std::u16string_view text);
void FormSettingsFileName(wchar_t *path);
