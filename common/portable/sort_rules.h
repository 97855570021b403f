// The sort rules of menu levels over plain data, so that every part that fills a level
// (folders, recent items, control panel entries) sorts it the same way.
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

// One line of a level as the sort sees it.  `Position` is where the line stood before the
// sort, so that the caller can rearrange its own list to match.
struct TSortEntry {
    std::u16string_view Caption;
    bool IsFolder;        // has a sub-level
    bool IsMovable;       // takes part in the level sort
    uint32_t CreatedHigh;
    int Position;
};

enum class TSortRule {
    Level,        // movable lines only, unmovable lines split the level into runs
    NameAll,      // every line, by folders first then caption
    DateAll,      // every line, newest (largest CreatedHigh) first
};

// Sorts `entries` in place by exchanging neighbours until a pass exchanges nothing, so
// equal lines keep their order and unmovable lines under the level rule never move.
void SortEntries(std::vector<TSortEntry> &entries, TSortRule rule);

// Captions compared by code unit after folding only a to z to upper case: negative, zero
// or positive as `a` sorts before, with or after `b`.
int CompareCaptions(std::u16string_view a, std::u16string_view b);
