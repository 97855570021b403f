// What the search box finds: the index of every searchable menu item with its lower-case key
// (built once per index, never per keystroke), the two-pass filter, the list's caption, the
// hidden codes' digests and the caret position nearest to a point.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <deque>
#include <vector>

inline constexpr size_t kSearchEntryUnits = 260;  // each text of an entry, with its terminator
inline constexpr size_t kSearchQueryUnits = 1024; // the most of the typed text the filter reads

struct TSearchEntry {
    char16_t Path[kSearchEntryUnits];
    char16_t Caption[kSearchEntryUnits];
    char16_t Key[kSearchEntryUnits];  // the caption in lower case
    const void *Icon;                 // the item's icon, shared with the item
};

struct TSearchIndex {
    // Entries are large: a deque grows without copying them.
    std::deque<TSearchEntry> Entries;
    size_t Bytes = 0;  // running total of the entries' sizes
};

// The lower case the search compares in: Latin (with its supplement and extended-A), Greek
// and Cyrillic capitals folded, everything else left as it is.
char16_t SearchFold(char16_t unit);
std::u16string SearchFolded(std::u16string_view text);

// Appends one entry; the texts are cut to fit their 260 units.
void AppendSearchEntry(TSearchIndex &index, std::u16string_view path, std::u16string_view caption,
                       const void *icon);
void ClearSearchIndex(TSearchIndex &index);

// Indices of the matching entries for the typed text (already folded): first every key that
// begins with it, then every other key in which it begins a later word (after a space), each
// group in index order.  Empty text matches nothing.
void FilterSearchIndex(const TSearchIndex &index, std::u16string_view folded,
                       std::vector<int> &results);

// The list caption: the language text with its first "%i" (or "%d") replaced by the count and
// "%%" by "%"; any other "%" stays as written, so a user's text can never be a format attack.
std::u16string CountCaption(std::u16string_view format, int count);

// The 16 bytes of a digest as 32 lower-case hexadecimal digits.
std::string DigestHex(const uint8_t (&digest)[16]);
// The UTF-16 units of a text in little-endian byte order, without terminator.
std::vector<uint8_t> Utf16LeBytes(std::u16string_view text);

enum class THiddenCode { None, DecorationOn, DecorationOff, EffectDialog2, EffectDialog1 };
// Which code a text's hexadecimal MD5 digest belongs to.
THiddenCode HiddenCodeOfDigest(std::string_view hex);

// The character boundary nearest to `x`, given the x position of every boundary (size + 1
// values, rising: boundary i lies before character i).
int NearestBoundary(const std::vector<int> &boundaryX, int x);

// Typed text run as a command line: a program (quoted, or up to the first space) and the
// parameters after it, trimmed; no parameters leave `parameters` empty.
struct TCommandLine {
    std::u16string Program;
    std::u16string Parameters;
};
TCommandLine SplitCommandLine(std::u16string_view text);
