// The item list of a level.
#include "menu/tmenu.h"

#include <shellapi.h>

#include "common/win_text.h"
#include "menu/menu_item.h"
#include "menu/portable/menu_keywords.h"
#include "menu/rebuild_cache.h"

TMenuState MenuState;

TMenu::TMenu(TMenuItem *parentItem, bool isSample) : ParentItem(parentItem), IsSample(isSample)
{
    CreateLevelWindow(this);
}

TMenu::~TMenu()
{
    ReleaseLevelPicture(this);
    // During a rebuild the window waits for one of the new levels.
    if (!ParkLevelWindow(this)) {
        if (Tooltip)
            DestroyWindow(Tooltip);
        if (Window)
            DestroyWindow(Window);
    }
    Clear();
    delete EntryCache;
}

TMenuItem *TMenu::Last() const
{
    TMenuItem *item = Items;
    while (item && item->Next)
        item = item->Next;
    return item;
}

int TMenu::Count() const
{
    int count = 0;
    for (TMenuItem *item = Items; item; item = item->Next)
        ++count;
    return count;
}

TMenuItem *TMenu::ItemAt(int index) const
{
    if (index < 0)
        return nullptr;
    TMenuItem *item = Items;
    for (; item && index > 0; --index)
        item = item->Next;
    return item;
}

int TMenu::HotIndex() const
{
    int index = 0;
    for (TMenuItem *item = Items; item; item = item->Next, ++index)
        if (item->Hot)
            return index;
    return -1;
}

TMenuItem *TMenu::HotItem() const { return ItemAt(HotIndex()); }

// Links `item` before `before`, or at the end when `before` is null.
void TMenu::Link(TMenuItem *item, TMenuItem *before)
{
    item->Owner = this;
    item->Next = before;
    item->Prev = before ? before->Prev : Last();
    if (item->Prev)
        item->Prev->Next = item;
    else
        Items = item;
    if (before)
        before->Prev = item;
}

void TMenu::Unlink(TMenuItem *item)
{
    if (item->Prev)
        item->Prev->Next = item->Next;
    else
        Items = item->Next;
    if (item->Next)
        item->Next->Prev = item->Prev;
    item->Prev = item->Next = nullptr;
}

TMenuItem *TMenu::Append(const wchar_t *path, bool hasSubmenu, bool isEmptyMarker, bool skipLookup)
{
    if (isEmptyMarker && Items)
        return Items;
    if (!isEmptyMarker && Items && Items->IsEmptyMarker) {
        TMenuItem *placeholder = Items;
        Unlink(placeholder);
        DestroyItem(placeholder);
    }
    TMenuItem *item = MakeItem(path, hasSubmenu, isEmptyMarker, skipLookup);
    Link(item, nullptr);
    return item;
}

void TMenu::InsertAt(int index, TMenuItem *item)
{
    if (Items && Items->IsEmptyMarker)
        Clear();
    TMenuItem *before = nullptr;
    if (Items)
        before = index < 1 ? Items : ItemAt(index);
    Link(item, before);
}

void TMenu::RemoveAt(int index)
{
    TMenuItem *item = ItemAt(index);
    if (!item)
        return;
    Unlink(item);
    if (MenuState.CurrentItem == item)
        MenuState.CurrentItem = nullptr;
    DestroyItem(item);
    if (!Items)
        Append(L"", false, true, false);
}

void TMenu::Detach(TMenuItem *item)
{
    if (!item || item->Owner != this)
        return;
    Unlink(item);
    item->Owner = nullptr;
    if (!Items)
        Append(L"", false, true, false);
}

void TMenu::Swap(int a, int b)
{
    TMenuItem *first = ItemAt(a);
    TMenuItem *second = ItemAt(b);
    if (!ExchangeItems(a, b))
        return;
    Layout();
    if (Window) {
        InvalidateRect(Window, &first->Rect, FALSE);
        InvalidateRect(Window, &second->Rect, FALSE);
    }
}

bool TMenu::ExchangeItems(int a, int b)
{
    TMenuItem *first = ItemAt(a < b ? a : b);
    TMenuItem *second = ItemAt(a < b ? b : a);
    if (a == b || !first || !second)
        return false;
    // Take the later item out and put it before the earlier one, then move the earlier one
    // to where the later one was; this covers neighbours and distant items alike.
    TMenuItem *afterSecond = second->Next;
    Unlink(second);
    Link(second, first);
    if (first->Next != afterSecond) {
        Unlink(first);
        Link(first, afterSecond);
    }
    return true;
}

TMenuItem *TMenu::FindByCaption(const wchar_t *path) const
{
    SHFILEINFOW info = {};
    if (!SHGetFileInfoW(path, 0, &info, sizeof(info), SHGFI_DISPLAYNAME))
        return nullptr;
    return FindByDisplayName(info.szDisplayName);
}

TMenuItem *TMenu::FindByDisplayName(const wchar_t *displayName) const
{
    // A path the shell cannot name must not match the caption-less search box line.
    if (displayName[0] == 0)
        return nullptr;
    for (TMenuItem *item = Items; item; item = item->Next)
        if (CaptionsEqual(U16View(item->Caption), U16View(displayName)))
            return item;
    return nullptr;
}

TMenuItem *TMenu::ItemWithPath(const wchar_t *path) const
{
    for (TMenuItem *item = Items; item; item = item->Next)
        if (wcscmp(item->Path, path) == 0)
            return item;
    return nullptr;
}

TMenu *TMenu::FindByPath(const wchar_t *path)
{
    for (TMenuItem *item = Items; item; item = item->Next) {
        if (wcscmp(item->Path, path) == 0) {
            MenuState.CurrentItem = item;
            return this;
        }
        if (item->Submenu)
            if (TMenu *found = item->Submenu->FindByPath(path))
                return found;
    }
    return nullptr;
}

void TMenu::Clear()
{
    while (Items) {
        TMenuItem *item = Items;
        Unlink(item);
        if (MenuState.CurrentItem == item)
            MenuState.CurrentItem = nullptr;
        DestroyItem(item);
    }
}
