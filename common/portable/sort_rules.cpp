#include "common/portable/sort_rules.h"

#include <utility>

namespace {

char16_t FoldAscii(char16_t c)
{
    return c >= u'a' && c <= u'z' ? char16_t(c - u'a' + u'A') : c;
}

bool ByName(const TSortEntry &a, const TSortEntry &b)
{
    if (a.IsFolder != b.IsFolder)
        return b.IsFolder;  // a file before a folder moves down
    return CompareCaptions(a.Caption, b.Caption) > 0;
}

// Whether the neighbours a, b (a first) are exchanged by one step of `rule`.
bool OutOfOrder(const TSortEntry &a, const TSortEntry &b, TSortRule rule)
{
    switch (rule) {
    case TSortRule::Level:
        return a.IsMovable && b.IsMovable && ByName(a, b);
    case TSortRule::NameAll:
        return ByName(a, b);
    case TSortRule::DateAll:
        return a.CreatedHigh < b.CreatedHigh;
    }
    return false;
}

} // namespace

int CompareCaptions(std::u16string_view a, std::u16string_view b)
{
    const size_t common = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < common; ++i) {
        const char16_t x = FoldAscii(a[i]);
        const char16_t y = FoldAscii(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

void SortEntries(std::vector<TSortEntry> &entries, TSortRule rule)
{
    for (bool swapped = true; swapped;) {
        swapped = false;
        for (size_t i = 0; i + 1 < entries.size(); ++i) {
            if (OutOfOrder(entries[i], entries[i + 1], rule)) {
                std::swap(entries[i], entries[i + 1]);
                swapped = true;
            }
        }
    }
}
