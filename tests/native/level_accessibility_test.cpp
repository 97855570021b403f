#include <gtest/gtest.h>

#include <vector>

#include "menu/portable/level_accessibility.h"

TEST(LevelAccessibility, ChildIdsAreItemIndicesPlusOne)
{
    struct Case {
        int32_t childId;
        int count;
        int index;
        bool valid;
    } cases[] = {
        {0, 3, -1, true},    // the level itself
        {1, 3, 0, true},
        {3, 3, 2, true},
        {4, 3, -1, false},   // one past the last item
        {-1, 3, -1, false},  // negative ids name no item
        {1, 0, -1, false},   // an empty level has only itself
        {0, 0, -1, true},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ChildIndex(c.childId, c.count), c.index) << c.childId << " of " << c.count;
        EXPECT_EQ(IsValidChild(c.childId, c.count), c.valid) << c.childId << " of " << c.count;
    }
    EXPECT_EQ(ChildIdOf(ChildIndex(2, 5)), 2);
}

TEST(LevelAccessibility, NavigationStaysInsideTheLevel)
{
    struct Case {
        const char *what;
        int32_t direction, start;
        int count;
        int32_t reached;
    } cases[] = {
        {"first child of the level", kNavFirstChild, kAccSelf, 4, 1},
        {"last child of the level", kNavLastChild, kAccSelf, 4, 4},
        {"an empty level has no first child", kNavFirstChild, kAccSelf, 0, -1},
        {"an empty level has no last child", kNavLastChild, kAccSelf, 0, -1},
        {"an item has no children", kNavFirstChild, 2, 4, -1},
        {"next item", kNavNext, 2, 4, 3},
        {"no next after the last item", kNavNext, 4, 4, -1},
        {"previous item", kNavPrevious, 2, 4, 1},
        {"no previous before the first item", kNavPrevious, 1, 4, -1},
        {"down is next", kNavDown, 1, 4, 2},
        {"up is previous", kNavUp, 3, 4, 2},
        {"a vertical menu has no right neighbour", kNavRight, 1, 4, -1},
        {"the level itself has no siblings here", kNavNext, kAccSelf, 4, -1},
        {"a start out of range reaches nothing", kNavPrevious, 9, 4, -1},
        {"an unknown direction reaches nothing", 42, 1, 4, -1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(NavigateChild(c.direction, c.start, c.count), c.reached) << c.what;
}

TEST(LevelAccessibility, HitTestFindsTheItemUnderThePoint)
{
    // Two items, a separator and one more, in a 100 x 70 client area.
    const std::vector<TLayoutRect> items = {
        {0, 0, 100, 24}, {0, 24, 100, 48}, {0, 48, 100, 51}, {0, 51, 100, 65}};
    struct Case {
        const char *what;
        int32_t x, y, child;
    } cases[] = {
        {"first item", 10, 0, 1},
        {"bottom edge belongs to the next item", 10, 24, 2},
        {"separators are children too", 50, 49, 3},
        {"last item", 99, 64, 4},
        {"below the items but inside the level", 10, 67, kAccSelf},
        {"right of the client area", 100, 10, -1},
        {"above it", 10, -1, -1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(HitChild(items.data(), items.size(), 100, 70, c.x, c.y), c.child) << c.what;
    EXPECT_EQ(HitChild(nullptr, 0, 100, 70, 5, 5), kAccSelf) << "a level without items";
}

TEST(LevelAccessibility, RolesStatesAndActionsOfItems)
{
    struct Case {
        const char *what;
        TAccItemFacts facts;
        int32_t role;
        uint32_t state;
        TAccAction action;
    } cases[] = {
        {"plain item", {false, false, false, false, true}, kRoleMenuItem, kStateFocusable,
         TAccAction::Execute},
        {"hot item", {true, false, false, false, true}, kRoleMenuItem,
         kStateFocusable | kStateFocused | kStateHotTracked, TAccAction::Execute},
        {"folder", {false, true, false, false, true}, kRoleMenuItem,
         kStateFocusable | kStateHasPopup, TAccAction::Open},
        {"hot folder", {true, true, false, false, true}, kRoleMenuItem,
         kStateFocusable | kStateFocused | kStateHotTracked | kStateHasPopup, TAccAction::Open},
        {"separator", {false, false, true, false, true}, kRoleSeparator, 0, TAccAction::None},
        {"empty folder's placeholder", {false, false, false, true, true}, kRoleMenuItem,
         kStateFocusable | kStateUnavailable, TAccAction::None},
        {"item of a hidden level", {false, false, false, false, false}, kRoleMenuItem,
         kStateFocusable | kStateInvisible, TAccAction::Execute},
        {"separator of a hidden level", {false, false, true, false, false}, kRoleSeparator,
         kStateInvisible, TAccAction::None},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ItemRole(c.facts), c.role) << c.what;
        EXPECT_EQ(ItemState(c.facts), c.state) << c.what;
        EXPECT_EQ(ItemDefaultAction(c.facts), c.action) << c.what;
    }
}

TEST(LevelAccessibility, ShortcutIsTheTypeAheadKeyOnlyWhereItIsUnique)
{
    // The empty caption stands for a separator.
    const std::vector<std::u16string_view> captions = {
        u"Files", u"folder", u"", u"Notepad", u"1Password", u"\u00e9diteur", u"\u00c9cran",
        u" spaced", u"Marker"};
    struct Case {
        size_t index;
        char16_t key;
    } cases[] = {
        {0, 0},         // F and f both start captions: the key only moves between them
        {1, 0},
        {2, 0},         // a separator has no key
        {3, u'N'},      // unique, upper-cased as type-ahead compares
        {4, u'1'},
        {5, u'\u00e9'}, // accented letters are not case-folded, so both are unique
        {6, u'\u00c9'},
        {7, 0},         // a space is no type-ahead
        {8, u'M'},
        {9, 0},         // out of range
    };
    for (const Case &c : cases)
        EXPECT_EQ(UniqueTypeAheadKey(captions.data(), captions.size(), c.index), c.key)
            << "item " << c.index;
}
