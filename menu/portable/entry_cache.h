// What a rebuild may take over from the build before it: the shell's answer for each entry of
// the Start Menu folders, kept with the facts of the file it was given for.  An answer is
// reused only while the entry is listed with the very same facts; everything else is asked
// again.  Handles are kept as numbers here (no Windows header).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The facts of a file a folder listing gives at no extra cost; saving, copying over or
// replacing a file changes at least one of them.
struct TFileStamp {
    uint64_t LastWrite = 0;
    uint64_t Created = 0;
    uint64_t Size = 0;
    uint32_t Attributes = 0;
    bool operator==(const TFileStamp &) const = default;
};

// An entry's own facts and those of the desktop.ini files that can rename it: its folder's
// ([LocalizedFileNames]) and, for a folder, its own (LocalizedResourceName).  A missing
// file has the zero stamp.
struct TEntryStamp {
    TFileStamp Entry;
    TFileStamp FolderNames;
    TFileStamp OwnName;
    bool operator==(const TEntryStamp &) const = default;
};

// What the shell said of an entry: the display name (the merge key and the caption) and the
// icon index in the system image list `Images` (0 when it could not describe the entry); the
// tip and creation key once the entry became an item.
struct TEntryAnswer {
    std::u16string DisplayName;
    uintptr_t Images = 0;
    int IconIndex = 0;
    bool HasDetails = false;
    std::u16string Tip;
    uint32_t CreatedHigh = 0;
    // Owned: the icon taken back from the old tree during a rebuild, for the new item.
    uintptr_t ParkedIcon = 0;
    // Not owned: the icon the item built from this answer got, recognised when it comes back.
    uintptr_t GivenIcon = 0;
};

struct TEntryRecord {
    std::u16string Path;  // as listed, case kept
    TEntryStamp Stamp;
    // The stamp was older than the answer by more than a file time's resolution: a file
    // written again in the same tick would otherwise keep a stale answer.
    bool Settled = false;
    uint64_t Seen = 0;  // the build that last listed the entry
    TEntryAnswer Answer;
};

// The value the shell's own naming settings had when no answer was kept yet.
inline constexpr int64_t kNoShellSettings = INT64_MIN;

struct TEntryCache {
    std::unordered_map<std::u16string, TEntryRecord> Records;  // by FoldedPath
    uint64_t Build = 0;
    uint64_t AskedAt = 0;  // system time of the build, in 100 ns units
    int64_t ShellSettings = kNoShellSettings;
    std::vector<uintptr_t> Discarded;  // icons no item took, to destroy after the build
};

// How long a file's times must lie behind the request (100 ns units): two seconds covers
// the coarsest time stamps of the file systems a Start Menu lives on.
inline constexpr uint64_t kSettleTime = 20'000'000;

// The key of a path: a to z folded to upper case, as the file system compares names.
std::u16string FoldedPath(std::u16string_view path);

// Starts a build at `askedAt` under `shellSettings`.  A full build (`reuse` false) or a
// change of the settings forgets every answer; the icons it held go to Discarded.
void BeginEntryBuild(TEntryCache &cache, int64_t shellSettings, uint64_t askedAt, bool reuse);
// The kept answer for an entry listed with `stamp`, marked as listed in this build; null when
// the entry is new, changed, renamed (even in case only) or was not settled.
TEntryAnswer *ReusableAnswer(TEntryCache &cache, std::u16string_view path,
                             const TEntryStamp &stamp);
// Keeps the shell's fresh answer for the entry, replacing an older one.
TEntryAnswer &KeepAnswer(TEntryCache &cache, std::u16string_view path, const TEntryStamp &stamp,
                         TEntryAnswer answer);
// An icon of the old tree comes back: true when it is the one the entry's answer gave out,
// which the answer then holds.
bool ParkEntryIcon(TEntryCache &cache, std::u16string_view path, uintptr_t icon);
// The icon for an item built from `answer`: the parked one when there is one (0 otherwise,
// and the caller makes one); `given` is recorded as handed out.
uintptr_t TakeParkedIcon(TEntryAnswer &answer);
void NoteGivenIcon(TEntryAnswer &answer, uintptr_t given);
// Ends a build: entries it did not list are forgotten and icons no item took are discarded.
void EndEntryBuild(TEntryCache &cache);
