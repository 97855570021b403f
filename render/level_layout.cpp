#include "render/level_layout.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <vector>

#include "common/win_guards.h"
#include "settings/settings.h"

TLevelSize LayoutLevel(std::span<TItemView> items, const TLevelLayoutInput &input)
{
    const bool plainStyle = Settings.MenuStyle != kMenuStyleFramed;
    const TColumnFrame frame{plainStyle ? 0 : GetSystemMetrics(SM_CXFRAME),
                             GetSystemMetrics(SM_CYFRAME),
                             input.topLevel && Settings.RibbonStyle != kRibbonNone
                                 ? Settings.RibbonWidth
                                 : 0,
                             input.monitorHeight, plainStyle};
    const int iconSize = input.topLevel ? Settings.IconSize1 : Settings.IconSize2;

    std::vector<TLayoutItem> placed;
    placed.reserve(items.size());
    {
        TScreenDC dc;
        TSelection font(dc.Get(), Settings.DrawFontDefault ? Settings.SystemMenuFont
                                                           : Settings.MenuFont);
        for (const TItemView &item : items) {
            SIZE text{};
            if (!item.isSeparator)
                GetTextExtentPoint32W(dc.Get(), item.caption, item.captionLength, &text);
            placed.push_back(MeasureMenuItem({item.isSeparator, text.cx, text.cy, iconSize,
                                              item.hasSubLevel, input.arrowWidth}));
        }
    }
    const TLevelSize size = PlaceMenuColumns(placed.data(), placed.size(), frame);
    for (size_t i = 0; i < items.size(); ++i)
        items[i].rect = {placed[i].rect.left, placed[i].rect.top, placed[i].rect.right,
                         placed[i].rect.bottom};
    return size;
}

int MeasureArrowWidth()
{
    const int systemWidth = GetSystemMetrics(SM_CYMENUCHECK);
    TThemeData theme(OpenThemeData(nullptr, L"MENU"));
    SIZE size{};
    const bool measured = theme.Get() &&
                          SUCCEEDED(GetThemePartSize(theme.Get(), nullptr, MENU_POPUPSUBMENU,
                                                     MSM_NORMAL, nullptr, TS_DRAW, &size));
    return ChooseArrowWidth(measured, size.cx, systemWidth);
}

int MonitorHeightOf(HWND window)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info))
        return GetSystemMetrics(SM_CYSCREEN);
    return info.rcMonitor.bottom - info.rcMonitor.top;
}
