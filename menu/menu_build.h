// The pieces of the menu tree: the user's and all users' Start Menu folders merged into one
// top level with nested folder levels, and the special section that ShowString spells.  The
// main program puts them together with the user's custom order.
#pragma once
#include <windows.h>

class TMenu;
struct TMenuItem;
struct TEntryCache;

// The folders a build reads (each ending with a backslash) and the custom order file.
// Filled from the known folders when the main window is created; tests point them elsewhere.
struct TMenuFolders {
    wchar_t UserStartMenu[MAX_PATH];
    wchar_t CommonStartMenu[MAX_PATH];
    wchar_t Programs[MAX_PATH];
    wchar_t OrderFile[MAX_PATH];
};

extern TMenuFolders MenuFolders;

void ResolveMenuFolders();

// Adds the content of `folderPath` (ending with a backslash) to `level`, with sub-folders.
// With `answers`, the shell is asked only for entries it holds no reusable answer for, and
// every answer is kept there (menu/rebuild_cache.h starts and ends such a build).
void ScanFolder(TMenu *level, const wchar_t *folderPath, TEntryCache *answers = nullptr);
// The special section; `refresh` when only the section is rebuilt after a settings change.
void AddSpecialItems(TMenu *root, bool refresh);
void StripSpecialItems(TMenu *root);
// The Programs item crosses the separator after ProgramsOnTop changed.
void MoveProgramsItem(TMenu *root);
void PlaceProgramsItem(TMenu *root);

// Fill the recent items level ("*recientes") and the expanded control panel level.
void FillRecentLevel(TMenu *level);
void FillControlPanelLevel(TMenu *level);
// Rebuilds the recent items level of the top level, if it has one (the Recent folder changed).
void RefreshRecentMenu(TMenu *root);

// The recent items level of the top level, or null when ShowString has none.
TMenu *FindRecentLevel(TMenu *root);

// Calls `visit` for every item the search box can find, depth first: items without a
// sub-level that are neither special items nor the empty-folder placeholder.
void ForEachSearchableItem(TMenu *level, void (*visit)(const TMenuItem *item, void *context),
                           void *context);
