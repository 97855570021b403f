#include "app/menu_tree.h"

#include "app/order_file.h"
#include "menu/menu_build.h"
#include "menu/tmenu.h"

void BuildAll(TMenu *root)
{
    // The user's folder first: its entries win the merge by display name.
    ScanFolder(root, MenuFolders.UserStartMenu);
    ScanFolder(root, MenuFolders.CommonStartMenu);
    ApplyOrderFile(root, MenuFolders.OrderFile);
    AddSpecialItems(root, false);
    // The first open only shows the window and copies the picture.
    PrepareLevelPaint(root);
}

void Rebuild(TMenu *root)
{
    CloseAll(root);
    root->Clear();
    BuildAll(root);
    WriteOrderFile(root, MenuFolders.OrderFile);
}
