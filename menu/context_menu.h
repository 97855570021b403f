// The context menu of a menu item: the shell's own commands for its file, the program's
// commands (new folder, new shortcut, sorting, open, run as, properties) and their handling.
#pragma once
#include <windows.h>
#include <shobjidl.h>

#include "render/options/item_dialogs.h"

class TMenu;

// On a level's context-menu message: from the right button (the pointer's position decides
// where the pop-up opens), from the keyboard (lParam -1: the hot item) or from the search
// results (both parameters kSearchResultContextMarker: the menu-wide current item).
void ShowItemContextMenu(TMenu *level, WPARAM wParam, LPARAM lParam);
// On a level's command message; ids other than the program's own are ignored.
void OnItemCommand(TMenu *level, WPARAM wParam, LPARAM lParam);

// Sorts the level's movable items (folders first, then by caption), each run between
// unmovable items on its own, and lays it out.
void SortLevel(TMenu *level);
// SortLevel of the level and, depth first, of every level below it.
void SortTree(TMenu *level);
// Sorts every item of a level that a program part fills (recent items, control panel
// entries): by name as SortLevel, or newest first by creation time.
void SortByNameOrDate(TMenu *level, bool byDate);

// Everything the context menu hands to the system or the user, so that tests can see the
// pop-up, answer it and the dialogs, and see what the shell is asked to do.
struct TContextMenuSeam {
    // Shows the pop-up and returns the chosen id, 0 for none.
    UINT (*TrackPopup)(HMENU menu, POINT at, HWND owner);
    void (*InvokeShellCommand)(IContextMenu *menu, const CMINVOKECOMMANDINFO &info);
    INT_PTR (*CreateFolderDialog)(HWND owner, wchar_t (&name)[MAX_PATH]);
    INT_PTR (*IconDialog)(HWND owner, TItemProperties &values);
    INT_PTR (*IconCommandDialog)(HWND owner, TItemProperties &values);
    void (*ErrorBox)(HWND owner, const wchar_t *text);
    int (*Random)();  // 0 to 32767
};

extern TContextMenuSeam ContextMenuSeam;

// The real entries, for tests that put them back.
UINT TrackItemPopup(HMENU menu, POINT at, HWND owner);
void InvokeShellContextCommand(IContextMenu *menu, const CMINVOKECOMMANDINFO &info);
