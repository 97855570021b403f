// The custom order file: any text is read without fault and the swap rule only permutes a
// level; a written file (whole, or cut off anywhere) reads back as the records written.
#include <algorithm>
#include <set>
#include <vector>

#include "app/portable/order_file.h"
#include "settings/portable/settings_text.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

using Lines = std::vector<std::u16string_view>;

// A full path as an item holds it: a drive, then units a file name can hold.
std::u16string ItemPath(FuzzInput &in)
{
    std::u16string path = u"C:\\";
    for (char16_t c : in.Text(kOrderMaxPathLength - path.size()))
        if (c >= 32)
            path += c;
    return path;
}

// The swap rule on `paths` by `lines`: a permutation that the returned exchanges repeat,
// with the named items first in the order the lines first name them.
void CheckApplied(const Lines &lines, const Lines &before)
{
    Lines paths = before;
    const auto swaps = ApplyOrderRecord(lines, paths);
    Lines replay = before;
    for (auto [a, b] : swaps) {
        FUZZ_CHECK(a != b && a < replay.size() && b < replay.size());
        std::swap(replay[a], replay[b]);
    }
    FUZZ_CHECK(replay == paths);
    Lines sortedBefore = before, sortedAfter = paths;
    std::sort(sortedBefore.begin(), sortedBefore.end());
    std::sort(sortedAfter.begin(), sortedAfter.end());
    FUZZ_CHECK(sortedBefore == sortedAfter);

    std::multiset<std::u16string_view> left(before.begin(), before.end());
    size_t placed = 0;
    for (std::u16string_view line : lines) {
        auto it = left.find(line);
        if (it == left.end())
            continue;
        left.erase(it);
        FUZZ_CHECK(paths[placed] == line);
        ++placed;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);

    // Levels to write: the root, then sub-levels under distinct folders, items distinct.
    struct Level {
        std::u16string parent;
        std::vector<std::u16string> items;
    };
    std::vector<Level> levels(1 + in.ConsumeIntegralInRange<int>(0, 3));
    std::set<std::u16string> parents = {u""};
    for (size_t i = 1; i < levels.size(); ++i) {
        levels[i].parent = ItemPath(in);
        while (!parents.insert(levels[i].parent).second)
            levels[i].parent += u'x';
    }
    for (Level &level : levels) {
        std::set<std::u16string> seen;
        for (int n = in.ConsumeIntegralInRange<int>(0, 6); n > 0; --n) {
            std::u16string path = ItemPath(in);
            if (seen.insert(path).second)
                level.items.push_back(path);
        }
    }
    std::u16string written;
    for (const Level &level : levels) {
        AppendOrderHeader(written, level.parent);
        for (const std::u16string &item : level.items)
            AppendOrderLine(written, item);
    }
    AppendOrderEndMark(written);
    const size_t cut = in.ConsumeIntegralInRange<size_t>(0, written.size());
    const uint16_t shuffle = in.ConsumeIntegral<uint16_t>();
    const std::u16string probe = in.Text(kOrderMaxPathLength + 2);
    const std::vector<uint8_t> bytes = in.ConsumeRemainingBytes<uint8_t>();

    // Any text: complete lines of at most the longest path, none a header or the end mark.
    const std::u16string text = TextFromFileBytes(bytes.data(), bytes.size());
    const Lines found = FindOrderRecord(text, probe);
    for (std::u16string_view line : found) {
        FUZZ_CHECK(line.size() <= kOrderMaxPathLength);
        FUZZ_CHECK(!line.starts_with(u'*') && !line.starts_with(u'|'));
        FUZZ_CHECK(line.data() >= text.data() && line.data() + line.size() <= text.data() + text.size());
        FUZZ_CHECK(std::u16string_view(line.data() + line.size(), 2) == u"\r\n");
    }
    Lines levelPaths(found.rbegin(), found.rend());
    CheckApplied(found, levelPaths);

    // The written file reads back record for record; the swap rule restores the written order
    // of a level the folders gave in another order; a cut file gives a prefix of each record.
    const std::u16string_view cutText = std::u16string_view(written).substr(0, cut);
    for (const Level &level : levels) {
        const Lines back = FindOrderRecord(written, level.parent);
        FUZZ_CHECK(back.size() == level.items.size());
        for (size_t i = 0; i < back.size(); ++i)
            FUZZ_CHECK(back[i] == level.items[i]);

        Lines shuffled(level.items.begin(), level.items.end());
        if (!shuffled.empty())
            std::rotate(shuffled.begin(), shuffled.begin() + shuffle % shuffled.size(),
                        shuffled.end());
        if (shuffled.size() > 1 && shuffle & 0x8000)
            std::reverse(shuffled.begin(), shuffled.end());
        CheckApplied(back, shuffled);
        ApplyOrderRecord(back, shuffled);
        FUZZ_CHECK(std::equal(shuffled.begin(), shuffled.end(), level.items.begin(),
                              level.items.end()));

        const Lines partial = FindOrderRecord(cutText, level.parent);
        FUZZ_CHECK(partial.size() <= level.items.size());
        for (size_t i = 0; i < partial.size(); ++i)
            FUZZ_CHECK(partial[i] == level.items[i]);
    }
    return 0;
}
