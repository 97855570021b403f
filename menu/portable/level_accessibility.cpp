#include "menu/portable/level_accessibility.h"

#include "menu/portable/type_ahead.h"

int ChildIndex(int32_t childId, int count)
{
    if (childId < 1 || childId > count)
        return -1;
    return childId - 1;
}

bool IsValidChild(int32_t childId, int count)
{
    return childId == kAccSelf || ChildIndex(childId, count) >= 0;
}

int32_t NavigateChild(int32_t direction, int32_t start, int count)
{
    if (!IsValidChild(start, count))
        return -1;
    switch (direction) {
    case kNavFirstChild:
        return start == kAccSelf && count > 0 ? ChildIdOf(0) : -1;
    case kNavLastChild:
        return start == kAccSelf && count > 0 ? ChildIdOf(count - 1) : -1;
    case kNavNext:
    case kNavDown:
        return start != kAccSelf && start < count ? start + 1 : -1;
    case kNavPrevious:
    case kNavUp:
        return start != kAccSelf && start > 1 ? start - 1 : -1;
    default:
        return -1;
    }
}

int32_t HitChild(const TLayoutRect *items, size_t count, int32_t clientWidth,
                 int32_t clientHeight, int32_t x, int32_t y)
{
    if (x < 0 || y < 0 || x >= clientWidth || y >= clientHeight)
        return -1;
    for (size_t i = 0; i < count; ++i) {
        const TLayoutRect &r = items[i];
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
            return ChildIdOf(static_cast<int>(i));
    }
    return kAccSelf;
}

int32_t ItemRole(const TAccItemFacts &item)
{
    return item.isSeparator ? kRoleSeparator : kRoleMenuItem;
}

uint32_t ItemState(const TAccItemFacts &item)
{
    uint32_t state = 0;
    if (!item.levelVisible)
        state |= kStateInvisible;
    if (item.isSeparator)
        return state;
    state |= kStateFocusable;
    if (item.hot)
        state |= kStateFocused | kStateHotTracked;
    if (item.hasSubLevel)
        state |= kStateHasPopup;
    if (item.isPlaceholder)
        state |= kStateUnavailable;
    return state;
}

TAccAction ItemDefaultAction(const TAccItemFacts &item)
{
    if (item.isSeparator || item.isPlaceholder)
        return TAccAction::None;
    return item.hasSubLevel ? TAccAction::Open : TAccAction::Execute;
}

char16_t UniqueTypeAheadKey(const std::u16string_view *captions, size_t count, size_t index)
{
    if (index >= count || captions[index].empty() || captions[index][0] <= u' ')
        return 0;
    const char16_t key = TypeAheadKey(captions[index][0]);
    for (size_t i = 0; i < count; ++i)
        if (i != index && !captions[i].empty() && TypeAheadKey(captions[i][0]) == key)
            return 0;
    return key;
}
