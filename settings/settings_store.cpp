#include <windows.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <string>

#include "common/portable/text.h"
#include "common/win_guards.h"
#include "common/win_text.h"
#include "settings/portable/builtin_defaults.h"
#include "settings/portable/system_text.h"
#include "settings/settings.h"

TSettings Settings;

// A settings file bigger than this is not a settings file; it is treated as unreadable.
static constexpr LONGLONG kLargestSettingsFile = 16 * 1024 * 1024;

static SettingRow IntRow(const char16_t *key, int &member)
{
    return {key, SettingType::Int, &member, 0};
}

static SettingRow FlagRow(const char16_t *key, bool &member)
{
    return {key, SettingType::Flag, &member, 0};
}

static SettingRow ColourRow(const char16_t *key, COLORREF &member)
{
    static_assert(sizeof(COLORREF) == sizeof(uint32_t));
    return {key, SettingType::Colour, &member, 0};
}

template <size_t N>
static SettingRow TextRow(std::u16string key, wchar_t (&member)[N])
{
    return {std::move(key), SettingType::Text, member, N};
}

std::vector<SettingRow> ConfigurationRows(TSettings &s)
{
    std::vector<SettingRow> rows = {
        IntRow(u"IconSize1", s.IconSize1),
        IntRow(u"IconSize2", s.IconSize2),
        TextRow(u"ShowString", s.ShowString),
        FlagRow(u"ShowControlEx", s.ShowControlEx),
    };
    for (int slot = 0; slot < kSpecialIconCount; ++slot)
        rows.push_back(TextRow(std::u16string(kSpecialIconNames[slot]) + u"Icon",
                               s.SpecialIconFile[slot]));
    for (int slot = 0; slot < kSpecialIconCount; ++slot)
        rows.push_back({std::u16string(kSpecialIconNames[slot]) + u"IconIndex", SettingType::Int,
                        &s.SpecialIconIndex[slot], 0});
    rows.insert(rows.end(), {
        TextRow(u"ConsoleAlternative", s.ConsoleAlternative),
        TextRow(u"InternetSearchAlternative", s.InternetSearchAlternative),
        IntRow(u"RibbonStyle", s.RibbonStyle),
        IntRow(u"RibbonWidth", s.RibbonWidth),
        TextRow(u"RibbonFontFace", s.RibbonFontFace),
        IntRow(u"RibbonFontSize", s.RibbonFontSize),
        FlagRow(u"RibbonFontBold", s.RibbonFontBold),
        FlagRow(u"RibbonFontItalic", s.RibbonFontItalic),
        ColourRow(u"RibbonFontColor", s.RibbonFontColor),
        IntRow(u"RibbonColorAlpha", s.RibbonColorAlpha),
        FlagRow(u"RibbonGlow", s.RibbonGlow),
        IntRow(u"RibbonGlowSize", s.RibbonGlowSize),
        FlagRow(u"RibbonGlowDouble", s.RibbonGlowDouble),
        FlagRow(u"RibbonGlowBlack", s.RibbonGlowBlack),
        ColourRow(u"RibbonColorPlain", s.RibbonColorPlain),
        ColourRow(u"RibbonColorGradient1", s.RibbonColorGradient1),
        ColourRow(u"RibbonColorGradient2", s.RibbonColorGradient2),
        TextRow(u"RibbonText", s.RibbonText),
        IntRow(u"RibbonColorMode", s.RibbonColorMode),
        TextRow(u"RibbonBitmapFile", s.RibbonBitmapFile),
        FlagRow(u"RibbonBitmapExpand", s.RibbonBitmapExpand),
        ColourRow(u"RibbonBitmapBackground", s.RibbonBitmapBackground),
        IntRow(u"MenuStyle", s.MenuStyle),
        FlagRow(u"DrawBlur", s.DrawBlur),
        IntRow(u"DrawColorAlpha", s.DrawColorAlpha),
        FlagRow(u"DrawGlow", s.DrawGlow),
        ColourRow(u"DrawFontColor", s.DrawFontColor),
        IntRow(u"DrawGlowSize", s.DrawGlowSize),
        TextRow(u"DrawSelectionBitmapFile", s.DrawSelectionBitmapFile),
        FlagRow(u"DrawGlowDouble", s.DrawGlowDouble),
        ColourRow(u"DrawColorPlain", s.DrawColorPlain),
        ColourRow(u"DrawColorGradient1", s.DrawColorGradient1),
        ColourRow(u"DrawColorGradient2", s.DrawColorGradient2),
        IntRow(u"DrawColorMode", s.DrawColorMode),
        FlagRow(u"DrawFontDefault", s.DrawFontDefault),
        TextRow(u"DrawFontFace", s.DrawFontFace),
        IntRow(u"DrawFontSize", s.DrawFontSize),
        FlagRow(u"DrawFontBold", s.DrawFontBold),
        FlagRow(u"DrawFontItalic", s.DrawFontItalic),
        FlagRow(u"ShadowInsteadOfGlow", s.ShadowInsteadOfGlow),
        IntRow(u"DrawCursorStyle", s.DrawCursorStyle),
        IntRow(u"MenuDelay", s.MenuDelay),
        FlagRow(u"ClassicExit", s.ClassicExit),
        FlagRow(u"ClassicAppearance", s.ClassicAppearance),
        FlagRow(u"ProgramsOnTop", s.ProgramsOnTop),
        FlagRow(u"Hilight", s.Hilight),
        IntRow(u"Days", s.Days),
        TextRow(u"HilightStyleBitmapFile", s.HilightStyleBitmapFile),
        IntRow(u"RecentSort", s.RecentSort),
        IntRow(u"RecentCount", s.RecentCount),
        ColourRow(u"GlowColor", s.GlowColor),
        TextRow(u"BackMenuBitmapFile", s.BackMenuBitmapFile),
        FlagRow(u"BackMenuImageMode", s.BackMenuImageMode),
        IntRow(u"Flags", s.Flags),
    });
    return rows;
}

std::vector<SettingRow> LanguageRows(TSettings &s)
{
    std::vector<SettingRow> rows;
    rows.reserve(kLanguageCount);
    for (int slot = 0; slot < kLanguageCount; ++slot)
        rows.push_back(TextRow(std::u16string(kLanguageKeyNames[slot]), s.Local[slot]));
    return rows;
}

void FormSettingsFileName(wchar_t *path)
{
    wchar_t folder[MAX_PATH];
    FormDataFolder(folder);
    ComposePath(U16(path), MAX_PATH, U16View(folder), u"settings.ini");
}

bool ReadSettingsFile(const wchar_t *path, std::u16string &text)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size = {};
    bool read = GetFileSizeEx(file, &size) && size.QuadPart <= kLargestSettingsFile;
    if (read) {
        // The file text is held in the record's buffer for the length of the read.
        const DWORD bytes = DWORD(size.QuadPart);
        Settings.FileTextMemory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes + 2);
        Settings.FileText = Settings.FileTextMemory
                                ? static_cast<wchar_t *>(GlobalLock(Settings.FileTextMemory))
                                : nullptr;
        DWORD done = 0;
        read = Settings.FileText && ReadFile(file, Settings.FileText, bytes, &done, nullptr);
        if (read)
            text = TextFromFileBytes(reinterpret_cast<const uint8_t *>(Settings.FileText), done);
        if (Settings.FileText)
            GlobalUnlock(Settings.FileTextMemory);
        if (Settings.FileTextMemory)
            GlobalFree(Settings.FileTextMemory);
        Settings.FileText = nullptr;
        Settings.FileTextMemory = nullptr;
    }
    CloseHandle(file);
    return read;
}

bool WriteSettingsFile(const wchar_t *path, std::u16string_view text)
{
    // The old file stays whole until the new one is complete, so a crash or a full disk
    // in the middle of a save cannot leave the user without settings.
    const std::wstring sibling = std::wstring(path) + L".new";
    HANDLE file = CreateFileW(sibling.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const std::vector<uint8_t> bytes = FileBytesFromText(text);
    DWORD written = 0;
    bool complete = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
                    written == bytes.size() && FlushFileBuffers(file);
    CloseHandle(file);
    if (complete)
        complete = MoveFileExW(sibling.c_str(), path,
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!complete)
        DeleteFileW(sibling.c_str());
    return complete;
}

static void ReplaceBitmap(HBITMAP &member, HBITMAP picture)
{
    if (member)
        DeleteObject(member);
    member = picture;
}

HBITMAP LoadStockPicture(const wchar_t *name, bool premultiplied)
{
    if (name[0] == 0)
        return nullptr;
    wchar_t folder[MAX_PATH];
    GetProgramFolder(folder);
    wchar_t path[MAX_PATH];
    ComposePath(U16(path), MAX_PATH, U16View(folder), u"\\images\\");
    const size_t length = TextLength(U16(path), MAX_PATH);
    CopyText(U16(path) + length, MAX_PATH - length, U16View(name));
    return LoadPicture(path, premultiplied);
}

static HBITMAP LoadFullPathPicture(const wchar_t *path, bool premultiplied)
{
    return path[0] ? LoadPicture(path, premultiplied) : nullptr;
}

void ReadConfiguration(std::u16string_view text)
{
    ReadRows(text, ConfigurationRows(Settings));
    FillSystemDescription(Settings.SystemDescription);
    ReloadSettingsPictures();
    Settings.SearchBoxInFirstLevel = false;
    Settings.DelayFull = Settings.MenuDelay;
    Settings.DelayHalf = Settings.MenuDelay / 2;
    Settings.DelayQuarter = Settings.MenuDelay / 4;
}

void ReloadSettingsPictures()
{
    ReplaceBitmap(Settings.HilightBitmap, LoadStockPicture(Settings.HilightStyleBitmapFile, true));
    ReplaceBitmap(Settings.RibbonBitmap, LoadFullPathPicture(Settings.RibbonBitmapFile, false));
    ReplaceBitmap(Settings.SelectionBitmap,
                  LoadStockPicture(Settings.DrawSelectionBitmapFile, true));
    ReplaceBitmap(Settings.BackMenuBitmap, LoadFullPathPicture(Settings.BackMenuBitmapFile, false));
}

void ReadLanguageStrings(std::u16string_view text)
{
    ReadRows(text, LanguageRows(Settings));
    ReadConfiguration(text);
}

static bool FileExists(const wchar_t *path)
{
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

void LoadSettings()
{
    wchar_t path[MAX_PATH];
    FormSettingsFileName(path);
    std::u16string text;
    if (ReadSettingsFile(path, text)) {
        ReadLanguageStrings(text);
        return;
    }
    wchar_t defaults[MAX_PATH];
    GetProgramFolder(defaults);
    const size_t length = TextLength(U16(defaults), MAX_PATH);
    CopyText(U16(defaults) + length, MAX_PATH - length, u"\\settings_default.ini");
    // Without a readable defaults file the program starts with the same texts built in.
    if (!ReadSettingsFile(defaults, text))
        text = std::u16string(kBuiltInDefaults);
    ReadLanguageStrings(text);
    // A settings file that exists but cannot be read now (locked, say) is the user's and
    // is never replaced by the defaults.
    if (!FileExists(path))
        WriteSettingsFile(path, text);
}

void SaveSettings()
{
    wchar_t path[MAX_PATH];
    FormSettingsFileName(path);
    std::u16string text;
    if (!ReadSettingsFile(path, text))
        return;
    ReplaceRowsInText(text, LanguageRows(Settings));
    ReplaceRowsInText(text, ConfigurationRows(Settings));
    WriteSettingsFile(path, text);
}

static HFONT CreateSettingsFont(const wchar_t *face, int points, bool bold, bool italic,
                                int escapement, int pixelsPerInch)
{
    return CreateFontW(-MulDiv(points, pixelsPerInch, 72), 0, escapement, escapement,
                       bold ? FW_BOLD : FW_NORMAL, italic, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH, face);
}

static HFONT CreateSystemMenuFont()
{
    LOGFONTW font = {};
    HRESULT found = GetThemeSysFont(TThemeData(OpenThemeData(nullptr, L"MENU")).Get(), TMT_MENUFONT,
                                    &font);
    if (FAILED(found)) {
        NONCLIENTMETRICSW metrics = {};
        metrics.cbSize = sizeof(metrics);
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        font = metrics.lfMenuFont;
    }
    return CreateFontIndirectW(&font);
}

static void ReplaceFont(HFONT &member, HFONT font)
{
    if (member)
        DeleteObject(member);
    member = font;
}

void BuildSettingsFonts()
{
    HDC screen = GetDC(nullptr);
    const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    ReplaceFont(Settings.MenuFont,
                CreateSettingsFont(Settings.DrawFontFace, Settings.DrawFontSize,
                                   Settings.DrawFontBold, Settings.DrawFontItalic, 0,
                                   pixelsPerInch));
    ReplaceFont(Settings.RibbonFont,
                CreateSettingsFont(Settings.RibbonFontFace, Settings.RibbonFontSize,
                                   Settings.RibbonFontBold, Settings.RibbonFontItalic, 900,
                                   pixelsPerInch));
    ReplaceFont(Settings.SystemMenuFont, CreateSystemMenuFont());
}
