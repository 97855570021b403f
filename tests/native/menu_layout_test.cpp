#include <gtest/gtest.h>

#include "menu/portable/menu_layout.h"

namespace {

// A 1024 x 768 screen; parent item 200 wide, rows of 30, icon size 16 (overlap 8).
TSubLevelInput SubLevelAt(int32_t windowLeft, bool opensRight, int32_t width = 200,
                          int32_t height = 90)
{
    return {{windowLeft, 100, windowLeft + 200, 400}, {0, 60, 200, 90}, opensRight,
            width, height, 1024, 768, 16};
}

} // namespace

TEST(SubLevelPlacement, OpensRightWhenItFitsAndLeftWhenNot)
{
    struct Case {
        const char *what;
        TSubLevelInput in;
        int32_t x, y;
        bool opensRight;
    } cases[] = {
        {"fits on the right", SubLevelAt(0, true), 200 - 8, 160, true},
        {"exactly fits on the right", SubLevelAt(624, true), 824 - 8, 160, true},
        {"one pixel too wide turns left", SubLevelAt(625, true), 425 + 8, 160, false},
        {"keeps opening left", SubLevelAt(400, false), 200 + 8, 160, false},
        {"left would leave the screen: back to the right", SubLevelAt(100, false), 300 - 8,
         160, true},
        {"turned left but no room either: clamped to 0", SubLevelAt(100, true, 950), 0 + 8,
         160, false},
        {"too low moves up", SubLevelAt(0, true, 200, 700), 192, 68, true},
        {"taller than the monitor starts at its top", SubLevelAt(0, true, 200, 900), 192, 0,
         true},
    };
    for (const Case &c : cases) {
        TSubLevelPlacement p = PlaceSubLevel(c.in);
        EXPECT_EQ(p.x, c.x) << c.what;
        EXPECT_EQ(p.y, c.y) << c.what;
        EXPECT_EQ(p.opensRight, c.opensRight) << c.what;
    }
}

TEST(SubLevelPlacement, ChainKeepsOpeningLeftUntilItNoLongerFits)
{
    // Levels 300 wide, the top level near the right edge: the first sub-level turns left,
    // the following ones keep going left until the screen's left edge sends one right.
    TLayoutRect window{800, 0, 1000, 300};
    bool opensRight = true;
    std::vector<bool> directions;
    for (int depth = 0; depth < 5; ++depth) {
        TSubLevelInput in{window, {0, 0, 200, 30}, opensRight, 300, 90, 1024, 768, 0};
        TSubLevelPlacement p = PlaceSubLevel(in);
        directions.push_back(p.opensRight);
        opensRight = p.opensRight;
        window = {p.x, p.y, p.x + 300, p.y + 90};
        EXPECT_GE(p.x, 0);
        EXPECT_LE(p.x + 300, 1024);
    }
    EXPECT_EQ(directions, (std::vector<bool>{false, false, true, true, false}));
}

TEST(TopLevelPlacement, SitsBesideTheTaskbarOnEveryEdge)
{
    struct Case {
        const char *what;
        uint32_t edge;
        TLayoutRect taskbar;
        TPoint32 expected;
    } cases[] = {
        {"bottom", kTaskbarBottom, {0, 728, 1024, 768}, {0, 728 - 500}},
        {"top", kTaskbarTop, {0, 0, 1024, 40}, {0, 40}},
        {"left", kTaskbarLeft, {0, 0, 60, 768}, {60, 0}},
        {"right", kTaskbarRight, {964, 0, 1024, 768}, {964 - 300, 0}},
    };
    for (const Case &c : cases) {
        TPoint32 p = PlaceTopLevel(c.edge, c.taskbar, 300, 500);
        EXPECT_EQ(p.x, c.expected.x) << c.what;
        EXPECT_EQ(p.y, c.expected.y) << c.what;
    }
}

TEST(TopLevelPlacement, LevelTallerThanTheRoomBesideTheTaskbarStaysOnScreen)
{
    // A level as tall as the monitor over a bottom taskbar, and as wide as the room left of
    // a right taskbar plus some: clamped to the screen's top and left edges.
    struct Case {
        const char *what;
        uint32_t edge;
        TLayoutRect taskbar;
        TPoint32 expected;
    } cases[] = {
        {"bottom", kTaskbarBottom, {0, 728, 1024, 768}, {0, 0}},
        {"right", kTaskbarRight, {964, 0, 1024, 768}, {0, 0}},
    };
    for (const Case &c : cases) {
        TPoint32 p = PlaceTopLevel(c.edge, c.taskbar, 1000, 768);
        EXPECT_EQ(p.x, c.expected.x) << c.what;
        EXPECT_EQ(p.y, c.expected.y) << c.what;
    }
}
