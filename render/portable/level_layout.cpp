#include "render/portable/level_layout.h"

#include <algorithm>

#include "render/portable/item_geometry.h"

namespace {

constexpr int32_t kSeparatorWidth = 1;
constexpr int32_t kSeparatorHeight = 3;

// A themed arrow wider than this is taken for a broken theme.
constexpr int kLargestArrowWidth = 32;

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

int ChooseArrowWidth(bool themed, int themedWidth, int systemWidth)
{
    if (!themed || themedWidth < 0 || themedWidth > kLargestArrowWidth)
        return systemWidth;
    return themedWidth;
}
