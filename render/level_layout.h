// The layout of one level's items: captions measured in the item font on the screen, items
// placed in columns.  Menu levels and the options preview's sample levels both use it.
#pragma once
#include <windows.h>

#include <span>

#include "render/paint.h"
#include "render/portable/level_layout.h"

struct TLevelLayoutInput {
    bool topLevel;      // the side band and the first icon size belong to the top level
    int monitorHeight;  // a column ends before an item would pass it
    int arrowWidth;     // of one sub-level arrow (MeasureArrowWidth)
};

// Gives every item its rectangle in the level's client area (by the current MenuStyle,
// band and fonts of the settings) and returns the level's window size.
TLevelSize LayoutLevel(std::span<TItemView> items, const TLevelLayoutInput &input);

// Width of a sub-level arrow: the themed menu's sub-menu part, or the check-mark size.
int MeasureArrowWidth();

// Height of the monitor nearest to the window (the primary one for a null window).
int MonitorHeightOf(HWND window);
