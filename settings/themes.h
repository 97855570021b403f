// Named snapshots of the configuration, kept as "<name>.TVRAtheme" in the data folder.
#pragma once
#include <windows.h>

#include <string>

// The options dialog's operations on its theme list (a drop-down list).
// The theme chosen in the list, empty when none is.
std::wstring SelectedTheme(HWND themeList);
// Saves the configuration as the named theme and lists the themes again.
void SaveTheme(HWND themeList, const wchar_t *name);
bool LoadTheme(HWND themeList);
void DeleteTheme(HWND themeList);
void ListThemes(HWND themeList);

// The file operations under them, by theme name.
void FormThemeFileName(const wchar_t *name, wchar_t *path);
bool WriteTheme(const wchar_t *name);
bool ReadTheme(const wchar_t *name);
void DeleteThemeFile(const wchar_t *name);
