#include "menu/portable/menu_layout.h"

#include <algorithm>

#include "render/portable/item_geometry.h"

namespace {

constexpr int32_t kSeparatorWidth = 1;
constexpr int32_t kSeparatorHeight = 3;

} // namespace

TLayoutItem MeasureMenuItem(const TItemMeasure &measure)
{
    TLayoutItem item{};
    if (measure.isSeparator) {
        item.width = kSeparatorWidth;
        item.height = kSeparatorHeight;
        return item;
    }
    item.height = std::max(measure.textHeight, ItemIconHeight(measure.iconSize));
    item.width = ItemContentWidth(measure.textWidth, measure.iconSize);
    if (measure.hasSubLevel)
        item.width += kItemArrowWidths * measure.arrowWidth;
    return item;
}

namespace {

// Gives every item of the column [first, end) the column's width and its rectangle.
void FinishColumn(TLayoutItem *items, size_t first, size_t end, int32_t columnX,
                  int32_t columnWidth)
{
    for (size_t i = first; i < end; ++i) {
        items[i].rect.left = columnX;
        items[i].rect.right = columnX + columnWidth;
        items[i].width = columnWidth;
    }
}

} // namespace

TLevelSize PlaceMenuColumns(TLayoutItem *items, size_t count, const TColumnFrame &frame)
{
    int32_t columnX = frame.frame;
    int32_t columnWidth = 0;
    int32_t y = frame.frame;
    int32_t greatestBottom = frame.frame;
    size_t columnStart = 0;
    for (size_t i = 0; i < count; ++i) {
        // A new column only after at least one item: an item taller than the monitor
        // would otherwise open empty columns without end and never be placed.
        if (i > columnStart && y + items[i].height > frame.monitorHeight) {
            FinishColumn(items, columnStart, i, columnX, columnWidth);
            columnX += columnWidth;
            columnWidth = 0;
            y = frame.frame;
            columnStart = i;
        }
        items[i].rect.top = y;
        items[i].rect.bottom = y + items[i].height;
        y = items[i].rect.bottom;
        columnWidth = std::max(columnWidth, items[i].width);
        greatestBottom = std::max(greatestBottom, items[i].rect.bottom);
    }
    FinishColumn(items, columnStart, count, columnX, columnWidth);
    const int32_t right = columnX + columnWidth;

    for (size_t i = 0; i < count; ++i) {
        items[i].rect.left += frame.band;
        items[i].rect.right += frame.band;
    }

    if (frame.plainStyle)
        return {frame.band + right, greatestBottom};
    return {frame.band + right + frame.frame,
            greatestBottom - frame.frame + 2 * frame.verticalFrame};
}

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

// A themed arrow wider than this is taken for a broken theme.
static constexpr int kLargestArrowWidth = 32;

int ChooseArrowWidth(bool themed, int themedWidth, int systemWidth)
{
    if (!themed || themedWidth < 0 || themedWidth > kLargestArrowWidth)
        return systemWidth;
    return themedWidth;
}
