// A level's paint: the painter is shown the level and its items as views, read from the item
// list at the moment of the paint.
#include <windows.h>

#include <vector>

#include "menu/menu_item.h"
#include "menu/tmenu.h"
#include "render/paint.h"

void TMenu::Paint(HDC dc, const RECT &updateRect)
{
    std::vector<TItemView> items;
    for (const TMenuItem *item = Items; item; item = item->Next)
        items.push_back({item->Rect, item->Icon, item->Caption, lstrlenW(item->Caption), item->Hot,
                         item->IsSeparator, item->Submenu != nullptr, item->DropBefore,
                         item->DropAfter, IsItemNew(item)});
    TLevelView level = {Window, Width, Height, ParentItem == nullptr, MenuState.DragOver,
                        MenuState.SearchEdit, items};
    PaintLevel(level, dc, updateRect);
}
