#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "common/win_text.h"
#include "settings/portable/builtin_defaults.h"
#include "settings/settings.h"

#include "tests/windows/test_files.h"

namespace {

void WriteBytes(const std::wstring &path, const std::string &bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// UTF-16LE bytes of an ASCII text.
std::string Utf16(const std::string &ascii)
{
    std::string bytes;
    for (char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

std::string Replaced(std::string bytes, const std::string &from, const std::string &to)
{
    size_t at = bytes.find(Utf16(from));
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        bytes.replace(at, Utf16(from).size(), Utf16(to));
    return bytes;
}

class SettingsStore : public testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        wchar_t path[MAX_PATH];
        FormSettingsFileName(path);
        SettingsFile = path;
        wchar_t folder[MAX_PATH];
        GetProgramFolder(folder);
        DefaultsBeside = std::wstring(folder) + L"\\settings_default.ini";
        ShippedDefaults = FileBytes(WindowsPath(ORVELLA_IMAGE_DIR "/settings_default.ini"));
        ASSERT_NE(ShippedDefaults, "<missing>");
        DeleteFileW(SettingsFile.c_str());
        WriteBytes(DefaultsBeside, ShippedDefaults);
    }
    void TearDown() override
    {
        DeleteFileW(DefaultsBeside.c_str());
        CoUninitialize();
    }

    std::wstring SettingsFile;
    std::wstring DefaultsBeside;
    std::string ShippedDefaults;
};

}  // namespace

TEST_F(SettingsStore, FirstStartCopiesTheDefaultsAndReadsThem)
{
    LoadSettings();
    EXPECT_EQ(FileBytes(SettingsFile), ShippedDefaults);
    EXPECT_EQ(Settings.MenuDelay, 300);
    EXPECT_EQ(Settings.DelayFull, 300);
    EXPECT_EQ(Settings.DelayHalf, 150);
    EXPECT_EQ(Settings.DelayQuarter, 75);
    EXPECT_STREQ(Settings.Local[LocalEmpty], L"(Empty)");
    EXPECT_STREQ(Settings.Local[LocalDlg_105_3001], L"Shadow instead of glow");
    EXPECT_NE(Settings.SystemDescription[0], 0);
}

TEST_F(SettingsStore, TheShippedFileHoldsEveryKeyOnce)
{
    std::u16string text(kBuiltInDefaults);
    std::vector<SettingRow> rows = LanguageRows(Settings);
    std::vector<SettingRow> configuration = ConfigurationRows(Settings);
    rows.insert(rows.end(), configuration.begin(), configuration.end());
    for (const SettingRow &row : rows) {
        const std::u16string pattern = u"\n" + row.Key + u"=";
        const size_t first = text.find(pattern);
        EXPECT_NE(first, std::u16string::npos) << std::string(row.Key.begin(), row.Key.end());
        EXPECT_EQ(text.find(pattern, first + 1), std::u16string::npos);
    }
    // The built-in copy is the shipped file, unit for unit.
    EXPECT_EQ(ShippedDefaults.size(), text.size() * 2);
    EXPECT_EQ(ShippedDefaults, std::string(reinterpret_cast<const char *>(text.data()),
                                           text.size() * 2));
}

TEST_F(SettingsStore, WithoutAnyReadableFileTheBuiltInDefaultsApply)
{
    DeleteFileW(DefaultsBeside.c_str());
    ZeroMemory(&Settings.MenuDelay, sizeof(Settings.MenuDelay));
    LoadSettings();
    EXPECT_EQ(Settings.MenuDelay, 300);
    EXPECT_STREQ(Settings.Local[LocalEmpty], L"(Empty)");
    EXPECT_EQ(FileBytes(SettingsFile), ShippedDefaults);
}

TEST_F(SettingsStore, ALockedSettingsFileIsNeverReplaced)
{
    const std::string mine = Utf16("MenuDelay=42\r\n");
    WriteBytes(SettingsFile, mine);
    HANDLE lock = CreateFileW(SettingsFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    LoadSettings();
    EXPECT_EQ(Settings.MenuDelay, 300) << "the defaults apply for this run";
    CloseHandle(lock);
    EXPECT_EQ(FileBytes(SettingsFile), mine);
}

TEST_F(SettingsStore, SaveRewritesOnlyTheChangedValues)
{
    LoadSettings();
    Settings.MenuDelay = 250;
    Settings.DrawFontColor = RGB(0x10, 0x20, 0xAB);
    Settings.Hilight = false;
    wcscpy(Settings.Local[LocalRun], L"Ejecutar...");
    SaveSettings();
    std::string expected = Replaced(ShippedDefaults, "MenuDelay=300", "MenuDelay=250");
    expected = Replaced(expected, "DrawFontColor=0xFFFFFF", "DrawFontColor=0x1020AB");
    expected = Replaced(expected, "Hilight=yes", "Hilight=no");
    expected = Replaced(expected, "LocalRun=Run...", "LocalRun=Ejecutar...");
    EXPECT_EQ(FileBytes(SettingsFile), expected);
    EXPECT_EQ(FileBytes(SettingsFile + L".new"), "<missing>");
    // Saving what was read changes nothing.
    LoadSettings();
    SaveSettings();
    EXPECT_EQ(FileBytes(SettingsFile), expected);
}

TEST_F(SettingsStore, SaveKeepsUnknownTextAndTheFirstOfTwinKeys)
{
    const std::string original =
        "\xFF\xFE" + Utf16("; mine\r\n[Look]\r\nOther=1\r\nMenuDelay=100\r\nMenuDelay=200\r\n");
    WriteBytes(SettingsFile, original);
    LoadSettings();
    EXPECT_EQ(Settings.MenuDelay, 100);
    Settings.MenuDelay = 150;
    SaveSettings();
    const std::string saved = FileBytes(SettingsFile);
    const std::string head =
        "\xFF\xFE" + Utf16("; mine\r\n[Look]\r\nOther=1\r\nMenuDelay=150\r\nMenuDelay=200\r\n");
    ASSERT_GT(saved.size(), head.size());
    EXPECT_EQ(saved.substr(0, head.size()), head);
    // The missing keys follow, language keys first; the file ends without CR LF or zero.
    EXPECT_EQ(saved.substr(head.size(), Utf16("LocalSeparator=").size()), Utf16("LocalSeparator="));
    EXPECT_EQ(saved.substr(saved.size() - Utf16("Flags=0").size()), Utf16("Flags=0"));
    EXPECT_EQ(saved.size() % 2, 0u);
}

TEST_F(SettingsStore, AUtf8FileGivesEmptyValues)
{
    WriteBytes(SettingsFile, "MenuDelay=300\r\nDrawGlow=yes\r\nLocalEmpty=(Empty)\r\n");
    LoadSettings();
    EXPECT_EQ(Settings.MenuDelay, 0);
    EXPECT_FALSE(Settings.DrawGlow);
    EXPECT_STREQ(Settings.Local[LocalEmpty], L"");
}

TEST_F(SettingsStore, LongValuesAreCutToTheirMembers)
{
    const std::string longText(120, 'x');
    WriteBytes(SettingsFile, Utf16("LocalEmpty=" + longText + "\r\nShowString=" + longText +
                                   "\r\nDrawFontFace=" + longText + "\r\nLocalNewFolder=ok\r\n"));
    LoadSettings();
    EXPECT_EQ(std::wstring(Settings.Local[LocalEmpty]), std::wstring(79, L'x'));
    EXPECT_STREQ(Settings.Local[LocalNewFolder], L"ok");
    EXPECT_EQ(std::wstring(Settings.ShowString), std::wstring(19, L'x'));
    EXPECT_EQ(std::wstring(Settings.DrawFontFace), std::wstring(31, L'x'));
}

TEST_F(SettingsStore, SaveDoesNothingWithoutASettingsFile)
{
    LoadSettings();
    DeleteFileW(SettingsFile.c_str());
    SaveSettings();
    EXPECT_EQ(FileBytes(SettingsFile), "<missing>");
}

TEST(SettingsPictures, LoadTopDownDibsStraightOrPremultiplied)
{
    CoInitialize(nullptr);
    const std::wstring path = WindowsPath(ORVELLA_IMAGE_DIR "/images/start-normal.png");
    HBITMAP straight = LoadPicture(path.c_str(), false);
    HBITMAP premultiplied = LoadPicture(path.c_str(), true);
    ASSERT_NE(straight, nullptr);
    ASSERT_NE(premultiplied, nullptr);
    DIBSECTION a = {}, b = {};
    GetObjectW(straight, sizeof(a), &a);
    GetObjectW(premultiplied, sizeof(b), &b);
    EXPECT_EQ(a.dsBm.bmBitsPixel, 32);
    const uint32_t *s = static_cast<const uint32_t *>(a.dsBm.bmBits);
    const uint32_t *p = static_cast<const uint32_t *>(b.dsBm.bmBits);
    int partial = 0;
    for (long i = 0; i < long(a.dsBm.bmWidth) * a.dsBm.bmHeight; ++i) {
        const uint32_t alpha = s[i] >> 24;
        if (alpha == 0 || alpha == 255)
            continue;
        ++partial;
        const uint32_t blue = s[i] & 0xFF;
        EXPECT_NEAR(double(p[i] & 0xFF), blue * alpha / 255.0, 1.0);
        EXPECT_EQ(p[i] >> 24, alpha);
    }
    EXPECT_GT(partial, 0) << "the picture has no partly transparent pixel to compare";
    DeleteObject(premultiplied);
    DeleteObject(straight);
    EXPECT_EQ(LoadPicture(L"C:\\no\\such.png", false), nullptr);
    CoUninitialize();
}

TEST(SettingsFonts, FollowSizeWeightAndDirection)
{
    Settings.DrawFontSize = 12;
    Settings.DrawFontBold = true;
    Settings.DrawFontItalic = false;
    wcscpy(Settings.DrawFontFace, L"Tahoma");
    Settings.RibbonFontSize = 20;
    Settings.RibbonFontBold = false;
    Settings.RibbonFontItalic = true;
    BuildSettingsFonts();
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    LOGFONTW menu = {}, band = {};
    GetObjectW(Settings.MenuFont, sizeof(menu), &menu);
    GetObjectW(Settings.RibbonFont, sizeof(band), &band);
    EXPECT_EQ(menu.lfHeight, -MulDiv(12, dpi, 72));
    EXPECT_EQ(menu.lfWeight, 700);
    EXPECT_STREQ(menu.lfFaceName, L"Tahoma");
    EXPECT_EQ(menu.lfEscapement, 0);
    EXPECT_EQ(band.lfHeight, -MulDiv(20, dpi, 72));
    EXPECT_EQ(band.lfWeight, 400);
    EXPECT_TRUE(band.lfItalic);
    EXPECT_EQ(band.lfEscapement, 900);
    EXPECT_NE(Settings.SystemMenuFont, nullptr);
}

int wmain(int argc, wchar_t **argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
