#include <windows.h>

#include <string>

#include "common/portable/text.h"
#include "common/win_text.h"
#include "resources/tvra_resources.h"
#include "settings/dialog_text.h"
#include "settings/portable/system_text.h"
#include "settings/portable/theme_names.h"
#include "settings/settings.h"
#include "settings/themes.h"

void FormThemeFileName(const wchar_t *name, wchar_t *path)
{
    wchar_t folder[MAX_PATH];
    FormDataFolder(folder);
    const std::u16string file = ThemeFileNamePart(U16View(name)) + std::u16string(kThemeExtension);
    ComposePath(U16(path), MAX_PATH, U16View(folder), file);
}

bool WriteTheme(const wchar_t *name)
{
    wchar_t path[MAX_PATH];
    FormThemeFileName(name, path);
    return WriteSettingsFile(path, FormatRowLines(ConfigurationRows(Settings)));
}

bool ReadTheme(const wchar_t *name)
{
    if (name[0] == 0)
        return false;
    wchar_t path[MAX_PATH];
    FormThemeFileName(name, path);
    std::u16string text;
    if (!ReadSettingsFile(path, text))
        return false;
    ReadConfiguration(text);
    return true;
}

void DeleteThemeFile(const wchar_t *name)
{
    wchar_t path[MAX_PATH];
    FormThemeFileName(name, path);
    DeleteFileW(path);
}

std::wstring SelectedTheme(HWND themeList)
{
    const LRESULT index = SendMessageW(themeList, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        return {};
    const LRESULT length = SendMessageW(themeList, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR)
        return {};
    std::wstring name(size_t(length) + 1, L'\0');
    SendMessageW(themeList, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(name.data()));
    name.resize(wcslen(name.c_str()));
    return name;
}

void ListThemes(HWND themeList)
{
    wchar_t folder[MAX_PATH];
    FormDataFolder(folder);
    SendMessageW(themeList, CB_RESETCONTENT, 0, 0);
    const std::wstring pattern = std::wstring(folder) + L"*" + W(kThemeExtension.data());
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        std::u16string name;
        if (ThemeNameOfFile(U16View(found.cFileName), name))
            SendMessageW(themeList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(name.c_str())));
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

void SaveTheme(HWND themeList, const wchar_t *name)
{
    WriteTheme(name);
    ListThemes(themeList);
}

bool LoadTheme(HWND themeList)
{
    return ReadTheme(SelectedTheme(themeList).c_str());
}

void DeleteTheme(HWND themeList)
{
    const std::wstring name = SelectedTheme(themeList);
    if (name.empty())
        return;
    DeleteThemeFile(name.c_str());
    ListThemes(themeList);
}
