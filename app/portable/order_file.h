// The custom order file "sort.txt": UTF-16 little-endian without a byte-order mark, a
// record per menu level ("*" + the parent item's path, then one path per line, every line
// ended by CR LF) and the end mark "|".  The bytes are converted as for the settings files;
// reading tolerates damaged files.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Longest path a menu item can hold (its buffers have 260 units with the terminator).
inline constexpr size_t kOrderMaxPathLength = 259;

// The item lines of the record of the level whose parent item has `parentPath` (empty for
// the root level, whose header is "*NULL").  Only complete lines (ended by CR LF) count, so
// the cut-off tail of a truncated file never names an item; over-long lines are dropped.
// Empty when the record is missing.
std::vector<std::u16string_view> FindOrderRecord(std::u16string_view text,
                                                 std::u16string_view parentPath);

// Reorders `paths` (a level's item paths in display order) by a record: every line that
// names an item moves it, by exchanging two places, to the next target position, so the
// named items come first in file order.  Returns the exchanges made, in order, for the
// caller to repeat on the real level.
std::vector<std::pair<size_t, size_t>> ApplyOrderRecord(
    const std::vector<std::u16string_view> &lines, std::vector<std::u16string_view> &paths);

// Whether an item is written: special items, separators, the search line (all "*...") and
// the empty-folder placeholder are not.
bool IsOrderedItem(std::u16string_view path, bool isEmptyMarker);

void AppendOrderHeader(std::u16string &text, std::u16string_view parentPath);
void AppendOrderLine(std::u16string &text, std::u16string_view path);
void AppendOrderEndMark(std::u16string &text);
