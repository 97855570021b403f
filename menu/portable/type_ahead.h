// Type-ahead in a menu level: which item a typed character selects.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

struct TTypeAheadMatch {
    int first;    // index of the first match after the hot item, wrapping; -1 for none
    int count;    // number of items whose caption starts with the character
};

// Upper-cases a to z only, so accented letters keep their case.
char16_t TypeAheadKey(char16_t typed);

// captions[i] is the caption of item i; hotIndex is -1 when no item is hot.  Characters up
// to the space are no type-ahead and match nothing.
TTypeAheadMatch FindTypeAhead(const std::u16string_view *captions, size_t count, int hotIndex,
                              char16_t typed);
