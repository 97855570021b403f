// A rebuild that costs what changed: the shell's answers for unchanged Start Menu entries are
// kept from the build before (menu/portable/entry_cache.h) together with the old tree's
// icons, and the windows of the levels a rebuild destroys, with their tooltips and drop
// targets, are handed to the levels it makes instead of being destroyed and created again.
#pragma once
#include <windows.h>

#include <utility>
#include <vector>

#include "menu/portable/entry_cache.h"

class TMenu;

// The facts of a listed file as the cache compares them.
TFileStamp StampOf(const WIN32_FIND_DATAW &entry);
// The stamp of `path` asked of the file system; the zero stamp when it does not exist.
TFileStamp StampOfPath(const wchar_t *path);

// The cache of a root level, made on first use; it goes with the root.
TEntryCache &EntryCacheOf(TMenu *root);
// Starts a build of `root` into its cache: a full build forgets every kept answer, a rebuild
// keeps them unless the shell's naming settings (hidden extensions) changed since.
void BeginTreeBuild(TMenu *root, bool reuse);
// Forgets what the build did not list and destroys the icons no new item took.
void EndTreeBuild(TMenu *root);
// The icons of the tree go back to the answers that gave them, before the tree is cleared.
void ParkTreeIcons(TMenu *root);

// The windows of destroyed levels while a rebuild runs (MenuState.LevelWindowPark).
struct TLevelWindowPark {
    std::vector<std::pair<HWND, HWND>> Windows;  // level window, tooltip
};
// From now on, destroyed sub-levels leave their windows in `park` and new ones take them.
void StartParkingLevelWindows(TLevelWindowPark &park);
// Destroys the windows no new level took and stops parking.
void StopParkingLevelWindows(TLevelWindowPark &park);
// A level going away while windows are parked leaves its window there; false otherwise (the
// caller destroys it).
bool ParkLevelWindow(TMenu *level);
// A new level takes a parked window; false when there is none.
bool TakeParkedLevelWindow(TMenu *level);
