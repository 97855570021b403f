#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "menu/portable/entry_cache.h"

namespace {

constexpr uint64_t kSecond = 10'000'000;
constexpr uint64_t kNow = 1'000 * kSecond;
constexpr uint64_t kOld = kNow - 60 * kSecond;

TEntryStamp Stamp(uint64_t written = kOld, uint64_t size = 100)
{
    return {{written, kOld, size, 0x20}, {}, {}};
}

TEntryAnswer Answer(std::u16string name, uintptr_t images = 7, int index = 3)
{
    TEntryAnswer answer;
    answer.DisplayName = std::move(name);
    answer.Images = images;
    answer.IconIndex = index;
    return answer;
}

// A cache holding one answer for `path`, kept by a full build at kNow.
TEntryCache Filled(std::u16string_view path, const TEntryStamp &stamp)
{
    TEntryCache cache;
    BeginEntryBuild(cache, 0, kNow, false);
    KeepAnswer(cache, path, stamp, Answer(u"Word"));
    EndEntryBuild(cache);
    return cache;
}

std::vector<uintptr_t> Sorted(std::vector<uintptr_t> icons)
{
    std::sort(icons.begin(), icons.end());
    return icons;
}

} // namespace

TEST(EntryCache, FoldsOnlyTheLettersAToZ)
{
    EXPECT_EQ(FoldedPath(u"C:\\Start Menu\\word.lnk"), u"C:\\START MENU\\WORD.LNK");
    EXPECT_EQ(FoldedPath(u"\u00e9t\u00e9.lnk"), u"\u00e9T\u00e9.LNK");
}

// Which listing of an entry finds the answer of the build before.
TEST(EntryCache, ReusesAnAnswerOnlyForTheSameEntryWithTheSameFacts)
{
    const std::u16string path = u"C:\\SM\\Word.lnk";
    const TEntryStamp kept = Stamp();
    TEntryStamp otherFolderIni = kept;
    otherFolderIni.FolderNames.LastWrite = kOld + 1;
    TEntryStamp otherOwnIni = kept;
    otherOwnIni.OwnName = {kOld, kOld, 40, 0x26};
    TEntryStamp otherCreated = kept;
    otherCreated.Entry.Created = kOld - 1;
    TEntryStamp otherAttributes = kept;
    otherAttributes.Entry.Attributes = 0x21;
    struct {
        const char *what;
        std::u16string path;
        TEntryStamp stamp;
        bool reused;
    } const cases[] = {
        {"unchanged", path, kept, true},
        {"other case of the letters in the key", u"c:\\sm\\WORD.LNK", kept, false},
        {"renamed", u"C:\\SM\\Writer.lnk", kept, false},
        {"written again", path, Stamp(kOld + 1), false},
        {"another size", path, Stamp(kOld, 101), false},
        {"created again", path, otherCreated, false},
        {"attributes changed", path, otherAttributes, false},
        {"the folder's desktop.ini changed", path, otherFolderIni, false},
        {"its own desktop.ini appeared", path, otherOwnIni, false},
    };
    for (const auto &c : cases) {
        TEntryCache cache = Filled(path, kept);
        BeginEntryBuild(cache, 0, kNow + kSecond, true);
        TEntryAnswer *answer = ReusableAnswer(cache, c.path, c.stamp);
        EXPECT_EQ(answer != nullptr, c.reused) << c.what;
        if (answer)
            EXPECT_EQ(answer->DisplayName, u"Word") << c.what;
    }
}

TEST(EntryCache, AFullBuildOrOtherShellSettingsForgetEveryAnswer)
{
    const std::u16string path = u"C:\\SM\\a.txt";
    struct {
        const char *what;
        int64_t settings;
        bool reuse;
        bool kept;
    } const cases[] = {
        {"rebuild, same settings", 0, true, true},
        {"rebuild, extensions hidden now", 1, true, false},
        {"rebuild, setting removed", -1, true, false},
        {"full build", 0, false, false},
    };
    for (const auto &c : cases) {
        TEntryCache cache = Filled(path, Stamp());
        BeginEntryBuild(cache, c.settings, kNow + kSecond, c.reuse);
        EXPECT_EQ(ReusableAnswer(cache, path, Stamp()) != nullptr, c.kept) << c.what;
    }
}

// A file written within a time stamp's resolution of the request may be written again with
// the same stamp: its answer is asked again at the next build.
TEST(EntryCache, AnAnswerForAJustWrittenEntryIsAskedAgain)
{
    struct {
        const char *what;
        uint64_t written;
        bool reused;
    } const cases[] = {
        {"written a minute before", kOld, true},
        {"written two seconds before", kNow - 2 * kSecond, true},
        {"written a second before", kNow - kSecond, false},
        {"written at the request", kNow, false},
        {"time stamp in the future", kNow + kSecond, false},
    };
    for (const auto &c : cases) {
        TEntryCache cache = Filled(u"C:\\SM\\x.lnk", Stamp(c.written));
        BeginEntryBuild(cache, 0, kNow + 10 * kSecond, true);
        EXPECT_EQ(ReusableAnswer(cache, u"C:\\SM\\x.lnk", Stamp(c.written)) != nullptr, c.reused)
            << c.what;
    }
}

TEST(EntryCache, AnIconComesBackOnlyToTheAnswerThatGaveIt)
{
    const std::u16string path = u"C:\\SM\\Word.lnk";
    TEntryCache cache = Filled(path, Stamp());
    BeginEntryBuild(cache, 0, kNow + kSecond, true);
    TEntryAnswer *answer = ReusableAnswer(cache, path, Stamp());
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(TakeParkedIcon(*answer), 0u) << "nothing parked yet: the item makes its icon";
    NoteGivenIcon(*answer, 0x51);
    EndEntryBuild(cache);

    BeginEntryBuild(cache, 0, kNow + 2 * kSecond, true);
    EXPECT_FALSE(ParkEntryIcon(cache, path, 0x52)) << "an icon the item got elsewhere";
    EXPECT_FALSE(ParkEntryIcon(cache, u"C:\\SM\\Other.lnk", 0x51)) << "another entry";
    EXPECT_FALSE(ParkEntryIcon(cache, u"C:\\SM\\WORD.lnk", 0x51)) << "another spelling";
    EXPECT_TRUE(ParkEntryIcon(cache, path, 0x51));
    EXPECT_FALSE(ParkEntryIcon(cache, path, 0x51)) << "parked once";
    answer = ReusableAnswer(cache, path, Stamp());
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(TakeParkedIcon(*answer), 0x51u);
    EXPECT_EQ(TakeParkedIcon(*answer), 0u) << "moved, not copied";
    EndEntryBuild(cache);
    EXPECT_TRUE(cache.Discarded.empty());
}

// Whatever the new tree does not take is discarded once, and the cache holds only what the
// last build listed.
TEST(EntryCache, IconsNoItemTookAreDiscardedAndUnlistedEntriesForgotten)
{
    const std::u16string kept = u"C:\\SM\\Kept.lnk", changed = u"C:\\SM\\Changed.lnk",
                         gone = u"C:\\SM\\Gone.lnk", merged = u"C:\\SM\\Merged.lnk";
    TEntryCache cache;
    BeginEntryBuild(cache, 0, kNow, false);
    uintptr_t icon = 0x10;
    for (const std::u16string &path : {kept, changed, gone, merged})
        NoteGivenIcon(KeepAnswer(cache, path, Stamp(), Answer(u"x")), ++icon);
    EndEntryBuild(cache);

    BeginEntryBuild(cache, 0, kNow + kSecond, true);
    icon = 0x10;
    for (const std::u16string &path : {kept, changed, gone, merged})
        ASSERT_TRUE(ParkEntryIcon(cache, path, ++icon));
    EXPECT_EQ(TakeParkedIcon(*ReusableAnswer(cache, kept, Stamp())), 0x11u);
    KeepAnswer(cache, changed, Stamp(kOld + 5), Answer(u"y"));  // its parked icon is stale
    ASSERT_NE(ReusableAnswer(cache, merged, Stamp()), nullptr);  // listed, but no item took it
    EndEntryBuild(cache);
    EXPECT_EQ(Sorted(cache.Discarded), (std::vector<uintptr_t>{0x12, 0x13, 0x14}));
    EXPECT_EQ(cache.Records.size(), 3u);
    EXPECT_EQ(cache.Records.count(FoldedPath(gone)), 0u);

    cache.Discarded.clear();
    BeginEntryBuild(cache, 1, kNow + 2 * kSecond, true);
    EndEntryBuild(cache);
    EXPECT_TRUE(cache.Discarded.empty()) << "each icon is discarded once";
    EXPECT_TRUE(cache.Records.empty());
}
