// Where the icon and caption of a menu item sit in its rectangle.  The layout sizes every
// item with the same numbers that the painters place its parts with.
#pragma once

// The icon's distance from the item's left and top edges, and the room kept below it.
inline constexpr int kItemIconMargin = 4;
// The caption ends this far left of the item's right edge.
inline constexpr int kItemTextRightMargin = 12;
// An item with a sub-level is wider by this many arrow widths.
inline constexpr int kItemArrowWidths = 2;

// The caption's left edge, from the item's: the icon with its margin on both sides.
constexpr int ItemTextLeft(int iconSize) { return iconSize + 2 * kItemIconMargin; }

// The least item height that holds the icon with its margins.
constexpr int ItemIconHeight(int iconSize) { return iconSize + 2 * kItemIconMargin; }

// The width that holds a caption of `textWidth` beside the icon, without the arrow.
constexpr int ItemContentWidth(int textWidth, int iconSize)
{
    return ItemTextLeft(iconSize) + textWidth + kItemTextRightMargin;
}
