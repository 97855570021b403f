// The kept shell answers over builds driven by listed names and stamps: an answer is reused
// only for the very path and stamp it was kept for, and every icon has exactly one owner at
// any time (an item of the tree, the cache, or destroyed once after a build).
#include <map>
#include <set>
#include <vector>

#include "menu/portable/entry_cache.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

struct TKept {
    std::u16string path;
    TEntryStamp stamp;
};

TEntryStamp StampFrom(FuzzInput &in)
{
    TEntryStamp stamp;
    stamp.Entry.LastWrite = in.ConsumeIntegralInRange<uint64_t>(0, 3) * kSettleTime;
    stamp.Entry.Size = in.ConsumeIntegralInRange<uint64_t>(0, 2);
    stamp.FolderNames.LastWrite = in.ConsumeIntegralInRange<uint64_t>(0, 1);
    return stamp;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    // A few names, so that builds list the same entries again, in other cases too.
    std::vector<std::u16string> names;
    const size_t nameCount = in.ConsumeIntegralInRange<size_t>(1, 6);
    for (size_t i = 0; i < nameCount; ++i)
        names.push_back(in.Text(40));

    TEntryCache cache;
    std::map<std::u16string, uintptr_t> tree;  // the items of the last build: path -> icon
    std::set<uintptr_t> destroyed;
    uintptr_t nextIcon = 1;
    std::map<const TEntryAnswer *, TKept> keptFor;  // across builds, as the cache keeps them

    while (in.remaining_bytes() > 0) {
        // A build: the old tree's icons go back to the cache or are destroyed by the caller.
        const bool reuse = in.ConsumeBool();
        const int64_t settings = in.ConsumeIntegralInRange<int64_t>(0, 1);
        const uint64_t askedAt = in.ConsumeIntegralInRange<uint64_t>(0, 4) * kSettleTime;
        BeginEntryBuild(cache, settings, askedAt, reuse);
        for (const auto &[path, icon] : tree)
            if (!ParkEntryIcon(cache, path, icon))
                FUZZ_CHECK(destroyed.insert(icon).second);
        tree.clear();

        const size_t listed = in.ConsumeIntegralInRange<size_t>(0, 8);
        for (size_t i = 0; i < listed && in.remaining_bytes() > 0; ++i) {
            std::u16string path = names[in.ConsumeIntegralInRange<size_t>(0, names.size() - 1)];
            if (in.ConsumeBool())
                path = FoldedPath(path);  // the same name in another case
            if (tree.count(path))
                continue;  // a folder lists a name once
            const TEntryStamp stamp = StampFrom(in);
            TEntryAnswer *answer = ReusableAnswer(cache, path, stamp);
            if (answer) {
                // Every answer is made by KeepAnswer, which records what it was kept for.
                auto kept = keptFor.find(answer);
                FUZZ_CHECK(kept != keptFor.end());
                FUZZ_CHECK(kept->second.path == path && kept->second.stamp == stamp);
            } else {
                answer = &KeepAnswer(cache, path, stamp, TEntryAnswer{});
            }
            keptFor[answer] = {path, stamp};
            uintptr_t icon = TakeParkedIcon(*answer);
            if (!icon)
                icon = nextIcon++;
            FUZZ_CHECK(!destroyed.count(icon));
            NoteGivenIcon(*answer, icon);
            tree[path] = icon;
        }
        EndEntryBuild(cache);
        for (uintptr_t icon : cache.Discarded) {
            FUZZ_CHECK(destroyed.insert(icon).second);
            for (const auto &[path, owned] : tree)
                FUZZ_CHECK(owned != icon);
        }
        cache.Discarded.clear();
    }
    // Every icon made is owned once: by the tree or destroyed.
    std::set<uintptr_t> inTree;
    for (const auto &[path, icon] : tree)
        FUZZ_CHECK(inTree.insert(icon).second && !destroyed.count(icon));
    FUZZ_CHECK(inTree.size() + destroyed.size() == nextIcon - 1);
    return 0;
}
