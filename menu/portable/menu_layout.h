// Where a sub-level opens beside its parent item and where the top level sits beside the
// taskbar; the columns of one level are placed by render/portable/level_layout.h.
#pragma once
#include <cstdint>

#include "render/portable/level_layout.h"

struct TSubLevelPlacement {
    int32_t x;
    int32_t y;
    bool opensRight;
};

struct TSubLevelInput {
    TLayoutRect parentWindow;   // the parent level's window on screen
    TLayoutRect parentItem;     // the parent item in the parent level's client area
    bool parentOpensRight;
    int32_t width;
    int32_t height;
    int32_t monitorRight;
    int32_t monitorHeight;
    int32_t iconSize;           // IconSize2: half of it overlaps the parent item
};

TSubLevelPlacement PlaceSubLevel(const TSubLevelInput &input);

// Taskbar edges with the values of the shell's ABE_ constants.
enum TTaskbarEdge : uint32_t {
    kTaskbarLeft = 0,
    kTaskbarTop = 1,
    kTaskbarRight = 2,
    kTaskbarBottom = 3,
};

struct TPoint32 {
    int32_t x, y;
};

// Top-left corner of the top level beside the taskbar rectangle.
TPoint32 PlaceTopLevel(uint32_t edge, const TLayoutRect &taskbar, int32_t width, int32_t height);
