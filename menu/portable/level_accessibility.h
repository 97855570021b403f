// What a menu level tells accessibility clients, as plain rules: child ids, navigation,
// hit testing, the roles and states of its items, their keyboard shortcut and default
// action.  The values of the constants are those of the Active Accessibility ones of the
// same meaning (oleacc.h); menu/accessibility.cpp checks that they agree.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "render/portable/level_layout.h"  // TLayoutRect

// Child id 0 is the level itself; item i is child i + 1.
inline constexpr int32_t kAccSelf = 0;

// The item index of a child id, -1 for the level itself or an id out of range.
int ChildIndex(int32_t childId, int count);
inline int32_t ChildIdOf(int index) { return index + 1; }
// Whether `childId` names the level or one of its `count` items.
bool IsValidChild(int32_t childId, int count);

enum TAccNavigation : int32_t {
    kNavUp = 1,
    kNavDown = 2,
    kNavLeft = 3,
    kNavRight = 4,
    kNavNext = 5,
    kNavPrevious = 6,
    kNavFirstChild = 7,
    kNavLastChild = 8,
};

// The child reached from `start` in `direction`: a child id, or -1 when there is none
// (past either end, a first or last child of an item, a level without items, a direction
// a vertical menu has no neighbour in).  Up and down are previous and next.
int32_t NavigateChild(int32_t direction, int32_t start, int count);

// The child under a point given in the level's client coordinates: the first item whose
// rectangle holds it (separators too), the level itself inside the client area but on no
// item, -1 outside it.
int32_t HitChild(const TLayoutRect *items, size_t count, int32_t clientWidth,
                 int32_t clientHeight, int32_t x, int32_t y);

enum TAccRole : int32_t {
    kRoleMenuPopup = 0x0B,
    kRoleMenuItem = 0x0C,
    kRoleSeparator = 0x15,
};

enum TAccState : uint32_t {
    kStateUnavailable = 0x1,
    kStateFocused = 0x4,
    kStateHotTracked = 0x80,
    kStateInvisible = 0x8000,
    kStateFocusable = 0x100000,
    kStateHasPopup = 0x40000000,
};

struct TAccItemFacts {
    bool hot;
    bool hasSubLevel;
    bool isSeparator;
    bool isPlaceholder;  // the empty folder's line, which does nothing
    bool levelVisible;
};

int32_t ItemRole(const TAccItemFacts &item);
uint32_t ItemState(const TAccItemFacts &item);

enum class TAccAction { None, Open, Execute };
// "Open" for a folder, "Execute" for what runs; separators and the placeholder have none.
TAccAction ItemDefaultAction(const TAccItemFacts &item);

// The key that type-ahead gives item `index` on its own (upper-cased as type-ahead compares
// it), or 0 when its caption begins with no such key or another caption of the level
// begins with the same one (the key then only moves between them).
char16_t UniqueTypeAheadKey(const std::u16string_view *captions, size_t count, size_t index);
