#include "app/menu_tree.h"

#include "app/order_file.h"
#include "menu/menu_build.h"
#include "menu/rebuild_cache.h"
#include "menu/tmenu.h"

namespace {

// Fills the empty root once its build has begun.
void FillTree(TMenu *root)
{
    TEntryCache &answers = EntryCacheOf(root);
    // The user's folder first: its entries win the merge by display name.
    ScanFolder(root, MenuFolders.UserStartMenu, &answers);
    ScanFolder(root, MenuFolders.CommonStartMenu, &answers);
    EndTreeBuild(root);
    ApplyOrderFile(root, MenuFolders.OrderFile);
    AddSpecialItems(root, false);
    // The next open only shows the window and copies the picture.
    PrepareLevelPaint(root);
}

} // namespace

void BuildAll(TMenu *root)
{
    BeginTreeBuild(root, false);
    FillTree(root);
}

void Rebuild(TMenu *root)
{
    CloseAll(root);
    BeginTreeBuild(root, true);
    ParkTreeIcons(root);
    TLevelWindowPark park;
    StartParkingLevelWindows(park);
    root->Clear();
    FillTree(root);
    StopParkingLevelWindows(park);
    WriteOrderFile(root, MenuFolders.OrderFile);
}
