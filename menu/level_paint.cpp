// A level's paint: the painter is shown the level and its items as views, read from the item
// list at the moment of the paint, and the level's kept picture.
#include <windows.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "menu/menu_item.h"
#include "menu/tmenu.h"
#include "render/paint.h"

namespace {

std::vector<TItemView> ItemViews(const TMenu *level)
{
    std::vector<TItemView> items;
    for (const TMenuItem *item = level->Items; item; item = item->Next)
        items.push_back({item->Rect, item->Icon, item->Caption, lstrlenW(item->Caption), item->Hot,
                         item->IsSeparator, item->Submenu != nullptr, item->DropBefore,
                         item->DropAfter, IsItemNew(item)});
    return items;
}

TLevelView ViewOf(TMenu *level, const std::vector<TItemView> &items)
{
    return {level->Window, level->Width,     level->Height,        level->ParentItem == nullptr,
            MenuState.DragOver, MenuState.SearchEdit, items, level->Picture};
}

// Moves the level to the front of the kept pictures, giving it one if it has none; the
// picture of the level painted longest ago goes when there are too many.
void KeepPicture(TMenu *level)
{
    TMenu **kept = MenuState.PicturedLevels;
    TMenu **end = kept + kKeptLevelPictures;
    TMenu **at = std::find(kept, end, level);
    if (at == end) {
        at = end - 1;
        if (*at)
            ReleaseLevelPicture(*at);
        level->Picture = NewLevelPicture();
    }
    std::rotate(kept, at, at + 1);
    kept[0] = level;
}

} // namespace

void TMenu::Paint(HDC dc, const RECT &updateRect)
{
    KeepPicture(this);
    const std::vector<TItemView> items = ItemViews(this);
    PaintLevel(ViewOf(this, items), dc, updateRect);
}

void PrepareLevelPaint(TMenu *level)
{
    KeepPicture(level);
    const std::vector<TItemView> items = ItemViews(level);
    PrepareLevelPicture(ViewOf(level, items));
}

void ReleaseLevelPicture(TMenu *level)
{
    TMenu **kept = MenuState.PicturedLevels;
    TMenu **end = kept + kKeptLevelPictures;
    TMenu **at = std::find(kept, end, level);
    if (at != end) {
        std::move(at + 1, end, at);
        end[-1] = nullptr;
    }
    DeleteLevelPicture(level->Picture);
    level->Picture = nullptr;
}
