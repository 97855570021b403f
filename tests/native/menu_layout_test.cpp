#include <gtest/gtest.h>

#include <vector>

#include "menu/portable/menu_layout.h"

namespace {

std::vector<TLayoutItem> ItemsOfHeights(std::vector<int32_t> heights, int32_t width = 100)
{
    std::vector<TLayoutItem> items;
    for (int32_t h : heights)
        items.push_back({width, h, {}});
    return items;
}

constexpr TColumnFrame kPlain{0, 0, 0, 1000, true};

} // namespace

TEST(MenuItemMeasure, SizesFollowIconTextAndArrow)
{
    struct Case {
        const char *what;
        TItemMeasure in;
        int32_t width, height;
    } cases[] = {
        {"separator ignores text", {true, 500, 50, 32, true, 9}, 1, 3},
        {"icon taller than text", {false, 60, 14, 32, false, 9}, 60 + 32 + 20, 40},
        {"text taller than icon", {false, 60, 50, 16, false, 9}, 60 + 16 + 20, 50},
        {"sub-level adds two arrows", {false, 60, 14, 16, true, 9}, 60 + 16 + 20 + 18, 24},
    };
    for (const Case &c : cases) {
        TLayoutItem item = MeasureMenuItem(c.in);
        EXPECT_EQ(item.width, c.width) << c.what;
        EXPECT_EQ(item.height, c.height) << c.what;
    }
}

TEST(MenuColumns, ShortLevelIsOneColumnOfTheWidestItem)
{
    std::vector<TLayoutItem> items = ItemsOfHeights({20, 3, 20});
    items[1].width = 1;
    items[2].width = 140;
    TLevelSize size = PlaceMenuColumns(items.data(), items.size(), kPlain);
    EXPECT_EQ(size.width, 140);
    EXPECT_EQ(size.height, 43);
    int32_t y = 0;
    for (const TLayoutItem &item : items) {
        EXPECT_EQ(item.rect.left, 0);
        EXPECT_EQ(item.rect.right, 140);
        EXPECT_EQ(item.width, 140);
        EXPECT_EQ(item.rect.top, y);
        y = item.rect.bottom;
    }
}

TEST(MenuColumns, TallLevelSplitsIntoColumnsAndPlacesEveryItem)
{
    // 50 items of 30 pixels on a 400 pixel monitor: 13 per column, 4 columns.
    std::vector<TLayoutItem> items = ItemsOfHeights(std::vector<int32_t>(50, 30));
    items[20].width = 180;  // widens the second column only
    TColumnFrame frame{0, 0, 0, 400, true};
    TLevelSize size = PlaceMenuColumns(items.data(), items.size(), frame);
    for (size_t i = 0; i < items.size(); ++i) {
        const TLayoutItem &item = items[i];
        size_t column = i / 13;
        int32_t expectedLeft = column == 0 ? 0 : column == 1 ? 100 : 280 + 100 * int32_t(column - 2);
        EXPECT_EQ(item.rect.left, expectedLeft) << i;
        EXPECT_EQ(item.rect.top, int32_t(i % 13) * 30) << i;
        EXPECT_LE(item.rect.bottom, 400) << i;
        EXPECT_EQ(item.rect.right - item.rect.left, item.width) << i;
    }
    EXPECT_EQ(items[14].width, 180);
    EXPECT_EQ(size.width, 480);
    EXPECT_EQ(size.height, 390);
}

TEST(MenuColumns, ItemTallerThanTheMonitorStillGetsAPlace)
{
    std::vector<TLayoutItem> items = ItemsOfHeights({500, 500, 20});
    TColumnFrame frame{0, 0, 0, 400, true};
    TLevelSize size = PlaceMenuColumns(items.data(), items.size(), frame);
    EXPECT_EQ(items[0].rect.left, 0);
    EXPECT_EQ(items[0].rect.top, 0);
    EXPECT_EQ(items[1].rect.left, 100);
    EXPECT_EQ(items[1].rect.top, 0);
    EXPECT_EQ(items[2].rect.left, 200);
    EXPECT_EQ(size.width, 300);
    EXPECT_EQ(size.height, 500);
}

TEST(MenuColumns, EmptyLevelHasNoItemArea)
{
    TLevelSize size = PlaceMenuColumns(nullptr, 0, kPlain);
    EXPECT_EQ(size.width, 0);
    EXPECT_EQ(size.height, 0);
}

TEST(MenuColumns, FrameAndBandShiftItemsAndGrowTheWindow)
{
    struct Case {
        const char *what;
        TColumnFrame frame;
        int32_t firstLeft, firstTop, width, height;
    } cases[] = {
        // frame 4 and vertical frame 3: items start at (4, 4); window adds the frames
        {"framed window", {4, 3, 0, 1000, false}, 4, 4, 4 + 100 + 4, 60 + 2 * 3},
        {"band shifts items right", {0, 0, 25, 1000, true}, 25, 0, 125, 60},
        {"band and frame", {4, 3, 25, 1000, false}, 29, 4, 25 + 104 + 4, 66},
    };
    for (const Case &c : cases) {
        std::vector<TLayoutItem> items = ItemsOfHeights({30, 30});
        TLevelSize size = PlaceMenuColumns(items.data(), items.size(), c.frame);
        EXPECT_EQ(items[0].rect.left, c.firstLeft) << c.what;
        EXPECT_EQ(items[0].rect.top, c.firstTop) << c.what;
        EXPECT_EQ(items[0].rect.right - items[0].rect.left, 100) << c.what;
        EXPECT_EQ(size.width, c.width) << c.what;
        EXPECT_EQ(size.height, c.height) << c.what;
    }
}

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

TEST(ArrowWidth, ThemedSizeOnlyWithinZeroTo32)
{
    struct Case {
        bool themed;
        int themedWidth, expected;
    } cases[] = {
        {true, 9, 9}, {true, 0, 0}, {true, 32, 32}, {true, 40, 15}, {true, -1, 15}, {false, 9, 15},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ChooseArrowWidth(c.themed, c.themedWidth, 15), c.expected);
}
