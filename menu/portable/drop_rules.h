// The rules of drag and drop on the menu levels that need no window: where a drop goes in a
// level, what a moved entry's paths become, which moves are refused, and the dropped file
// list read within its block.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The insertion markers of one item of a level, in the level's order.
struct TDropMarks {
    bool before;
    bool after;
};

// The index a drop inserts at: the item marked before, else one past the item marked after,
// else 0.
int DropIndexOf(std::span<const TDropMarks> marks);

// Where an item taken from `from` ends within its own level when dropped into the gap before
// `dropIndex` (0 to count): one less than the gap when it moves down, the gap when it moves
// up, so that it lands between the two lines the markers showed.
int ReorderedIndex(int from, int dropIndex);

// Whether `path` is `folder` itself or lies inside it: compared component by component,
// ignoring the case of a to z.  Either may end with a backslash.
bool IsSameOrInside(std::u16string_view path, std::u16string_view folder);

// The folder part of a path with its final backslash ("C:\a\b.lnk" gives "C:\a\"); empty
// when the path holds no backslash.
std::u16string_view FolderWithBackslash(std::u16string_view path);
// The last component of a path ("C:\a\b.lnk" gives "b.lnk").
std::u16string_view LastComponent(std::u16string_view path);

// Replaces the first occurrence of `oldFolder` in `path` (the a to z case ignored) by
// `newFolder`.  False, with `path` unchanged, when it does not occur or when the result would
// not fit in `capacity` units with its terminator.
bool RewriteFolder(std::u16string &path, std::u16string_view oldFolder,
                   std::u16string_view newFolder, size_t capacity);

// The first path of a dropped file list (the system's DROPFILES block: the offset of the
// list, a point, two flags, then zero-terminated names ending with an empty one), read only
// within the `size` bytes of the block.  Names in 8-bit characters are widened byte by byte.
// Empty when the block is too short, the offset points outside it, the name does not end
// inside it or is longer than `maxUnits` units.
std::u16string FirstDroppedPath(const uint8_t *block, size_t size, size_t maxUnits);
