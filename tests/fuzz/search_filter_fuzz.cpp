// The two-pass filter over any captions and typed text: every result matches, no entry is
// listed twice, caption starts come before later word starts, each group in index order and
// nothing that matches is left out; the texts stay within their 260 units.
#include <algorithm>
#include <vector>

#include "menu/portable/search_filter.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    const std::u16string typed = SearchFolded(in.Text(40));
    TSearchIndex index;
    while (in.remaining_bytes() > 0 && index.Entries.size() < 64) {
        const std::u16string caption = in.Text(300);
        AppendSearchEntry(index, caption, caption, nullptr);
    }
    for (const TSearchEntry &e : index.Entries)
        FUZZ_CHECK(std::u16string_view(e.Key).size() < kSearchEntryUnits);
    std::vector<int> results;
    FilterSearchIndex(index, typed, results);
    auto isPrefix = [&](int i) { return std::u16string_view(index.Entries[size_t(i)].Key).starts_with(typed); };
    auto isWordStart = [&](int i) {
        const std::u16string_view key(index.Entries[size_t(i)].Key);
        for (size_t at = 1; at + typed.size() <= key.size(); ++at)
            if (key[at - 1] == u' ' && key.substr(at, typed.size()) == typed)
                return true;
        return false;
    };
    std::vector<int> expected;
    if (!typed.empty()) {
        for (int i = 0; i < int(index.Entries.size()); ++i)
            if (isPrefix(i))
                expected.push_back(i);
        for (int i = 0; i < int(index.Entries.size()); ++i)
            if (!isPrefix(i) && isWordStart(i))
                expected.push_back(i);
    }
    FUZZ_CHECK(results == expected);
    const std::u16string caption = CountCaption(typed, int(results.size()));
    FUZZ_CHECK(caption.size() <= typed.size() + 11);
    (void)SplitCommandLine(typed);
    return 0;
}
