// Named snapshots of the configuration, kept as "<name>.TVRAtheme" in the data folder.
#pragma once
#include <windows.h>

// The name the save-theme dialog edits (shared with the create-folder dialog).
extern wchar_t CurrentThemeName[MAX_PATH];

// The options dialog's operations on its theme list (a drop-down list).
void SaveTheme(HWND owner, HWND themeList);
bool LoadTheme(HWND themeList);
void DeleteTheme(HWND themeList);
void ListThemes(HWND themeList);

// The file operations under them, by theme name.
void FormThemeFileName(const wchar_t *name, wchar_t *path);
bool WriteTheme(const wchar_t *name);
bool ReadTheme(const wchar_t *name);
void DeleteThemeFile(const wchar_t *name);

// Dialog 108: edits CurrentThemeName; IDOK when confirmed.
INT_PTR ShowSaveThemeDialog(HWND owner);
