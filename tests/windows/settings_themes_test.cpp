#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "common/win_text.h"
#include "settings/dialog_text.h"
#include "settings/portable/builtin_defaults.h"
#include "settings/settings.h"
#include "settings/themes.h"

#include "tests/windows/test_files.h"

namespace {

std::wstring ThemeFile(const wchar_t *name)
{
    wchar_t path[MAX_PATH];
    FormThemeFileName(name, path);
    return path;
}

std::vector<std::wstring> Listed(HWND list)
{
    std::vector<std::wstring> names;
    const int count = int(SendMessageW(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t name[MAX_PATH] = {};
        SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(name));
        names.push_back(name);
    }
    return names;
}

class Themes : public testing::Test {
protected:
    void SetUp() override
    {
        wchar_t folder[MAX_PATH];
        FormDataFolder(folder);
        WIN32_FIND_DATAW found = {};
        HANDLE search = FindFirstFileW((std::wstring(folder) + L"*.TVRAtheme").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do
                DeleteFileW((std::wstring(folder) + found.cFileName).c_str());
            while (FindNextFileW(search, &found));
            FindClose(search);
        }
        ReadLanguageStrings(kBuiltInDefaults);
        List = CreateWindowW(L"COMBOBOX", L"", CBS_DROPDOWNLIST, 0, 0, 100, 100, nullptr, nullptr,
                             nullptr, nullptr);
    }
    void TearDown() override { DestroyWindow(List); }
    HWND List = nullptr;
};

}  // namespace

TEST_F(Themes, AThemeFileHoldsEveryConfigurationLineOfTheDefaultsInOrder)
{
    ASSERT_TRUE(WriteTheme(L"Blue"));
    std::u16string expected;
    for (const SettingRow &row : ConfigurationRows(Settings)) {
        const std::u16string_view text = kBuiltInDefaults;
        const size_t at = text.find(u"\n" + row.Key + u"=");
        ASSERT_NE(at, std::u16string_view::npos);
        expected += text.substr(at + 1, text.find(u'\n', at + 1) - at);
    }
    EXPECT_EQ(FileBytes(ThemeFile(L"Blue")),
              std::string(reinterpret_cast<const char *>(expected.data()), expected.size() * 2));
    EXPECT_EQ(FileBytes(ThemeFile(L"Blue")).find(std::string("L\0o\0c\0a\0l\0", 10)),
              std::string::npos) << "language strings in a theme";
}

TEST_F(Themes, LoadingReplacesTheConfigurationButNotTheTexts)
{
    Settings.MenuDelay = 500;
    Settings.GlowColor = RGB(1, 2, 3);
    ASSERT_TRUE(WriteTheme(L"Slow"));
    Settings.MenuDelay = 10;
    Settings.GlowColor = 0;
    wcscpy(Settings.Local[LocalRun], L"Ejecutar");
    ASSERT_TRUE(ReadTheme(L"Slow"));
    EXPECT_EQ(Settings.MenuDelay, 500);
    EXPECT_EQ(Settings.DelayQuarter, 125);
    EXPECT_EQ(Settings.GlowColor, RGB(1, 2, 3));
    EXPECT_STREQ(Settings.Local[LocalRun], L"Ejecutar");
    EXPECT_FALSE(ReadTheme(L"Missing"));
    EXPECT_EQ(Settings.MenuDelay, 500) << "a missing theme changed the record";
}

TEST_F(Themes, AHandEditedThemeLeavesMissingKeysEmpty)
{
    const std::u16string text = u"MenuDelay=123\r\n";
    ASSERT_TRUE(WriteSettingsFile(ThemeFile(L"Partial").c_str(), text));
    Settings.DrawGlow = true;
    Settings.DrawFontColor = RGB(255, 255, 255);
    ASSERT_TRUE(ReadTheme(L"Partial"));
    EXPECT_EQ(Settings.MenuDelay, 123);
    EXPECT_FALSE(Settings.DrawGlow);
    EXPECT_EQ(Settings.DrawFontColor, 0u);
    EXPECT_STREQ(Settings.DrawFontFace, L"");
}

TEST_F(Themes, ListCutsNamesAtTheFirstDot)
{
    ASSERT_TRUE(WriteTheme(L"Blue.Dark"));
    ASSERT_TRUE(WriteTheme(L"Green"));
    ListThemes(List);
    const std::vector<std::wstring> names = Listed(List);
    EXPECT_EQ(names.size(), 2u);
    EXPECT_NE(std::find(names.begin(), names.end(), L"Blue"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), L"Green"), names.end());
    // "Blue" names no file, so choosing it loads nothing.
    SendMessageW(List, CB_SELECTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(L"Blue"));
    EXPECT_FALSE(LoadTheme(List));
    SendMessageW(List, CB_SELECTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(L"Green"));
    EXPECT_TRUE(LoadTheme(List));
}

TEST_F(Themes, DeleteRemovesTheSelectedFileAndRefreshesTheList)
{
    ASSERT_TRUE(WriteTheme(L"Old"));
    ASSERT_TRUE(WriteTheme(L"Keep"));
    ListThemes(List);
    SendMessageW(List, CB_SELECTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(L"Old"));
    DeleteTheme(List);
    EXPECT_EQ(FileBytes(ThemeFile(L"Old")), "<missing>");
    EXPECT_EQ(Listed(List), std::vector<std::wstring>{L"Keep"});
    DeleteTheme(List);  // nothing selected
    EXPECT_NE(FileBytes(ThemeFile(L"Keep")), "<missing>");
}

TEST_F(Themes, SavingUnderAnExistingNameReplacesItAndNamesStayInTheFolder)
{
    Settings.MenuDelay = 1;
    ASSERT_TRUE(WriteTheme(L"Same"));
    Settings.MenuDelay = 2;
    ASSERT_TRUE(WriteTheme(L"Same"));
    Settings.MenuDelay = 0;
    ASSERT_TRUE(ReadTheme(L"Same"));
    EXPECT_EQ(Settings.MenuDelay, 2);
    EXPECT_NE(ThemeFile(L"..\\..\\escape").find(L"\\TVRA\\.._.._escape.TVRAtheme"),
              std::wstring::npos);
}

TEST(DialogTexts, SetTheCaptionAndTheNumberedControls)
{
    wcscpy(Settings.Local[LocalDlg_108], L"Guardar tema");
    wcscpy(Settings.Local[LocalDlg_108_100], L"Nombre:");
    wcscpy(Settings.Local[LocalDlg_Cancel], L"");
    HWND dialog = CreateWindowW(L"STATIC", L"before", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
    HWND label = CreateWindowW(L"STATIC", L"label", WS_CHILD, 0, 0, 5, 5, dialog,
                               HMENU(INT_PTR(100)), nullptr, nullptr);
    HWND cancel = CreateWindowW(L"BUTTON", L"Cancel", WS_CHILD, 0, 0, 5, 5, dialog,
                                HMENU(INT_PTR(IDCANCEL)), nullptr, nullptr);
    ApplyDialogTexts(dialog, 108);
    wchar_t text[64];
    GetWindowTextW(dialog, text, 64);
    EXPECT_STREQ(text, L"Guardar tema");
    GetWindowTextW(label, text, 64);
    EXPECT_STREQ(text, L"Nombre:");
    GetWindowTextW(cancel, text, 64);
    EXPECT_STREQ(text, L"Cancel") << "an empty text replaced the template's";
    DestroyWindow(dialog);
}

int wmain(int argc, wchar_t **argv)
{
    CoInitialize(nullptr);
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
