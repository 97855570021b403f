// Placement arithmetic of one menu level: the size of every item and its place in columns
// no taller than the monitor, and the level's size from them.
#pragma once
#include <cstddef>
#include <cstdint>

struct TLayoutRect {
    int32_t left, top, right, bottom;
};

// One item as the column placement sees it: its measured size in, its rectangle out.
struct TLayoutItem {
    int32_t width;
    int32_t height;
    TLayoutRect rect;
};

struct TItemMeasure {
    bool isSeparator;
    int32_t textWidth;
    int32_t textHeight;
    int32_t iconSize;
    bool hasSubLevel;
    int32_t arrowWidth;
};

struct TColumnFrame {
    int32_t frame;            // 0 for the plain pop-up style, else the horizontal frame metric
    int32_t verticalFrame;    // the vertical frame metric
    int32_t band;             // width of the side band, 0 when the level has none
    int32_t monitorHeight;
    bool plainStyle;          // MenuStyle non-zero: no window frame
};

struct TLevelSize {
    int32_t width;
    int32_t height;
};

// Measured width and height of one item.
TLayoutItem MeasureMenuItem(const TItemMeasure &measure);

// Places the items top to bottom in columns no taller than the monitor and returns the
// window size.  Every item gets a rectangle, also one taller than the monitor by itself.
TLevelSize PlaceMenuColumns(TLayoutItem *items, size_t count, const TColumnFrame &frame);

// Width of a sub-level arrow: the themed size when a theme answered and it lies within
// 0..32, the system check-mark size otherwise.
int ChooseArrowWidth(bool themed, int themedWidth, int systemWidth);
