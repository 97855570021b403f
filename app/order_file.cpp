#include "app/order_file.h"

#include <string>
#include <vector>

#include "app/portable/order_file.h"
#include "common/win_text.h"
#include "menu/menu_item.h"
#include "menu/tmenu.h"
#include "settings/settings.h"

namespace {

void ApplyToLevel(TMenu *level, std::u16string_view text)
{
    std::u16string_view parentPath = level->ParentItem ? U16View(level->ParentItem->Path) : u"";
    std::vector<std::u16string_view> lines = FindOrderRecord(text, parentPath);
    if (!lines.empty()) {
        std::vector<std::u16string_view> paths;
        for (TMenuItem *item = level->Items; item; item = item->Next)
            paths.push_back(U16View(item->Path));
        // The level is laid out once below, not after every exchange.
        for (auto [from, to] : ApplyOrderRecord(lines, paths))
            level->ExchangeItems(int(from), int(to));
    }
    level->Layout();
    for (TMenuItem *item = level->Items; item; item = item->Next)
        if (item->Submenu)
            ApplyToLevel(item->Submenu, text);
}

void AppendLevelRecords(std::u16string &text, const TMenu *level)
{
    AppendOrderHeader(text, level->ParentItem ? U16View(level->ParentItem->Path) : u"");
    for (const TMenuItem *item = level->Items; item; item = item->Next)
        if (IsOrderedItem(U16View(item->Path), item->IsEmptyMarker))
            AppendOrderLine(text, U16View(item->Path));
    for (const TMenuItem *item = level->Items; item; item = item->Next)
        if (item->Submenu && item->Path[0] != L'*')
            AppendLevelRecords(text, item->Submenu);
}

} // namespace

void ApplyOrderFile(TMenu *root, const wchar_t *path)
{
    std::u16string text;
    ReadSettingsFile(path, text);
    ApplyToLevel(root, text);
}

void WriteOrderFile(TMenu *root, const wchar_t *path)
{
    std::u16string text;
    AppendLevelRecords(text, root);
    AppendOrderEndMark(text);
    WriteSettingsFile(path, text);
}
