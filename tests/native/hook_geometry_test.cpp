#include <gtest/gtest.h>

#include "hook/portable/button_geometry.h"

TEST(ButtonSize, FollowsDpiUpToTheLargestSize)
{
    struct Case {
        long long dpi;
        int size;
    } cases[] = {
        {96, 48}, {120, 60}, {144, 72}, {168, 84}, {176, 88}, {192, 88}, {288, 88},
        {72, 36}, {1, 0},
        // No answer from the main window, or nonsense: unknown, the caller keeps its size.
        {0, 0}, {-96, 0}, {1LL << 40, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ButtonSizeForDpi(c.dpi), c.size) << "dpi " << c.dpi;
}

TEST(ButtonCorner, StartOfTheTaskListCentredOrOverhanging)
{
    struct Case {
        const char *name;
        int edge;
        BoxRect taskList;
        int size;
        BoxPoint corner;
    } cases[] = {
        // 40 high bottom taskbar, S 48: the button reaches 6 pixels below the task list.
        {"bottom 40", kEdgeBottom, {0, 0, 900, 40}, 48, {0, -2}},
        // 60 high: centred, 6 above and 6 below.
        {"bottom 60", kEdgeBottom, {0, 0, 900, 60}, 48, {0, 6}},
        {"bottom offset", kEdgeBottom, {120, 2, 900, 42}, 48, {120, 0}},
        {"bottom equal to size", kEdgeBottom, {0, 0, 900, 48}, 48, {0, 6}},
        {"bottom 88", kEdgeBottom, {0, 0, 900, 40}, 88, {0, -37}},
        {"top 40", kEdgeTop, {0, 0, 900, 40}, 48, {0, -6}},
        {"top 60", kEdgeTop, {0, 0, 900, 60}, 48, {0, 6}},
        {"left 40", kEdgeLeft, {0, 0, 40, 700}, 48, {-2, 0}},
        {"left 62", kEdgeLeft, {0, 10, 62, 700}, 48, {7, 10}},
        {"right 40", kEdgeRight, {0, 0, 40, 700}, 48, {-6, 0}},
        {"right 60", kEdgeRight, {4, 0, 64, 700}, 48, {10, 0}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ButtonCorner(c.edge, c.taskList, c.size), c.corner) << c.name;
}

TEST(TaskListWithRoom, ShrinksAtTheStartAlongTheTaskbar)
{
    EXPECT_EQ(TaskListWithRoom(kEdgeBottom, {10, 2, 900, 42}, 48), (BoxRect{58, 2, 900, 42}));
    EXPECT_EQ(TaskListWithRoom(kEdgeTop, {10, 2, 900, 42}, 72), (BoxRect{82, 2, 900, 42}));
    EXPECT_EQ(TaskListWithRoom(kEdgeLeft, {0, 5, 40, 700}, 48), (BoxRect{0, 53, 40, 700}));
    EXPECT_EQ(TaskListWithRoom(kEdgeRight, {0, 5, 40, 700}, 48), (BoxRect{0, 53, 40, 700}));
}

TEST(TaskListOnScreen, MoreThanFivePixelsIntoTheMonitor)
{
    const BoxRect monitor{0, 0, 1280, 800};
    struct Case {
        int edge;
        BoxRect taskList;
        bool onScreen;
    } cases[] = {
        {kEdgeBottom, {0, 760, 1280, 800}, true},
        {kEdgeBottom, {0, 794, 1280, 834}, true},
        {kEdgeBottom, {0, 795, 1280, 835}, false},  // auto-hidden: 2 px strip left
        {kEdgeTop, {0, -35, 1280, 6}, true},
        {kEdgeTop, {0, -35, 1280, 5}, false},
        {kEdgeLeft, {-34, 0, 6, 800}, true},
        {kEdgeLeft, {-35, 0, 5, 800}, false},
        {kEdgeRight, {1274, 0, 1314, 800}, true},
        {kEdgeRight, {1275, 0, 1315, 800}, false},
        {7, {0, 760, 1280, 800}, false},  // unknown edge
        {-1, {0, 760, 1280, 800}, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TaskListOnScreen(c.edge, c.taskList, monitor), c.onScreen)
            << "edge " << c.edge << " rect " << c.taskList.left << "," << c.taskList.top;

    // A second monitor to the right: the test is against that monitor, not the first.
    const BoxRect second{1280, 0, 2560, 1024};
    EXPECT_TRUE(TaskListOnScreen(kEdgeBottom, {1280, 984, 2560, 1024}, second));
    EXPECT_FALSE(TaskListOnScreen(kEdgeLeft, {1240, 0, 1285, 1024}, second));
}

TEST(MovedOffScreen, AcrossTheTaskbar)
{
    const BoxRect button{0, 758, 48, 806};
    EXPECT_EQ(MovedOffScreen(kEdgeBottom, button), (BoxRect{0, -9242, 48, -9194}));
    EXPECT_EQ(MovedOffScreen(kEdgeTop, button), (BoxRect{0, -9242, 48, -9194}));
    EXPECT_EQ(MovedOffScreen(kEdgeLeft, button), (BoxRect{-10000, 758, -9952, 806}));
    EXPECT_EQ(MovedOffScreen(kEdgeRight, button), (BoxRect{-10000, 758, -9952, 806}));
}

TEST(ButtonFollowingSlide, KeepsItsPlaceAlongAndFollowsAcross)
{
    // A 40 high bottom taskbar sliding down to leave a 2 pixel strip.
    const BoxRect taskList{60, 762, 1100, 802};
    const BoxRect slid = TaskListAtCorner(taskList, {0, 798});
    EXPECT_EQ(slid, (BoxRect{0, 798, 1040, 838}));
    EXPECT_EQ(ButtonFollowingSlide(kEdgeBottom, {12, 760, 60, 808}, slid, 48),
              (BoxRect{12, 796, 60, 844}));

    // A 60 high top taskbar sliding up: centred in the slid task list.
    const BoxRect top = TaskListAtCorner({0, 0, 1000, 60}, {0, -58});
    EXPECT_EQ(ButtonFollowingSlide(kEdgeTop, {3, 6, 51, 54}, top, 48),
              (BoxRect{3, -52, 51, -4}));

    // Vertical taskbars keep the button's top and move it sideways.
    const BoxRect left = TaskListAtCorner({0, 0, 40, 700}, {-38, 0});
    EXPECT_EQ(ButtonFollowingSlide(kEdgeLeft, {-2, 30, 46, 78}, left, 48),
              (BoxRect{-40, 30, 8, 78}));
    const BoxRect right = TaskListAtCorner({1240, 0, 1280, 700}, {1278, 0});
    EXPECT_EQ(ButtonFollowingSlide(kEdgeRight, {1234, 30, 1282, 78}, right, 48),
              (BoxRect{1272, 30, 1320, 78}));
}
