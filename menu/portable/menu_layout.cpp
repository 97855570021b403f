#include "menu/portable/menu_layout.h"

#include <algorithm>

TSubLevelPlacement PlaceSubLevel(const TSubLevelInput &in)
{
    TSubLevelPlacement out{};
    out.opensRight = in.parentOpensRight;
    const int32_t rightX = in.parentWindow.left + in.parentItem.right;
    const int32_t leftX = in.parentWindow.left + in.parentItem.left - in.width;
    if (out.opensRight) {
        out.x = rightX;
        if (out.x + in.width > in.monitorRight) {
            out.opensRight = false;
            out.x = std::max(leftX, 0);
        }
    } else {
        out.x = leftX;
        if (out.x < 0) {
            out.opensRight = true;
            out.x = rightX;
        }
    }
    out.y = in.parentWindow.top + in.parentItem.top;
    if (out.y + in.height > in.monitorHeight)
        out.y = in.monitorHeight - in.height;
    // A level taller than the monitor starts at its top rather than above the screen.
    out.y = std::max(out.y, 0);
    const int32_t overlap = in.iconSize / 2;
    out.x += out.opensRight ? -overlap : overlap;
    return out;
}

TPoint32 PlaceTopLevel(uint32_t edge, const TLayoutRect &taskbar, int32_t width, int32_t height)
{
    TPoint32 corner;
    switch (edge) {
    case kTaskbarLeft:
        corner = {taskbar.right, taskbar.top};
        break;
    case kTaskbarTop:
        corner = {taskbar.left, taskbar.bottom};
        break;
    case kTaskbarRight:
        corner = {taskbar.left - width, taskbar.top};
        break;
    default:
        corner = {taskbar.left, taskbar.top - height};
        break;
    }
    // Columns may be as tall as the whole monitor, taller than the room beside the taskbar:
    // the level then covers part of the taskbar instead of losing its first items above
    // the screen.
    corner.x = std::max(corner.x, 0);
    corner.y = std::max(corner.y, 0);
    return corner;
}
