// One line of a menu level, how it is made from a path and filled from the file system.
#pragma once
#include <windows.h>

class TMenu;

struct TMenuItem {
    wchar_t Path[MAX_PATH];
    wchar_t Caption[MAX_PATH];
    wchar_t Tip[MAX_PATH];
    HICON Icon;
    DWORD CreatedHigh;
    UINT Width;
    UINT Height;
    RECT Rect;
    bool Hot;
    bool IsEmptyMarker;
    bool IsSeparator;
    bool IsMovable;
    bool IsProgramsFolder;
    TMenu *Owner;
    TMenu *Submenu;
    TMenuItem *Prev;
    TMenuItem *Next;
    bool DropBefore;
    bool DropAfter;
};

// A new, unlinked item.  Files, folders and the placeholder are movable; keywords and
// control panel entries are not, and "*separator" is a separator.  The Programs folder and
// recent documents get their own flags from the code that builds them.
TMenuItem *MakeItem(const wchar_t *path, bool hasSubmenu, bool isEmptyMarker, bool skipLookup);
// Fills Caption, Icon, CreatedHigh and Tip from the file system (or the placeholder text).
void LookUp(TMenuItem *item);
// Destroys the icon, then the sub-level, then the record.
void DestroyItem(TMenuItem *item);

// Whether the item counts as recently installed now.
bool IsItemNew(const TMenuItem *item);

// The icon the settings give a special item ("*ayuda"); null for keywords without one.
HICON LoadSpecialItemIcon(const wchar_t *keyword);
