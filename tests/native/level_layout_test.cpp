#include <gtest/gtest.h>

#include <vector>

#include "render/portable/level_layout.h"

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
