#include "menu/portable/entry_cache.h"

#include <algorithm>

namespace {

bool IsSettled(const TEntryStamp &stamp, uint64_t askedAt)
{
    const uint64_t latest =
        std::max({stamp.Entry.LastWrite, stamp.Entry.Created, stamp.FolderNames.LastWrite,
                  stamp.FolderNames.Created, stamp.OwnName.LastWrite, stamp.OwnName.Created});
    return latest <= askedAt && askedAt - latest >= kSettleTime;
}

void Discard(TEntryCache &cache, TEntryAnswer &answer)
{
    if (answer.ParkedIcon)
        cache.Discarded.push_back(answer.ParkedIcon);
    answer.ParkedIcon = 0;
}

} // namespace

std::u16string FoldedPath(std::u16string_view path)
{
    std::u16string folded(path);
    for (char16_t &c : folded)
        if (c >= u'a' && c <= u'z')
            c = char16_t(c - u'a' + u'A');
    return folded;
}

void BeginEntryBuild(TEntryCache &cache, int64_t shellSettings, uint64_t askedAt, bool reuse)
{
    ++cache.Build;
    cache.AskedAt = askedAt;
    if (reuse && shellSettings == cache.ShellSettings)
        return;
    for (auto &[key, record] : cache.Records)
        Discard(cache, record.Answer);
    cache.Records.clear();
    cache.ShellSettings = shellSettings;
}

TEntryAnswer *ReusableAnswer(TEntryCache &cache, std::u16string_view path,
                             const TEntryStamp &stamp)
{
    auto found = cache.Records.find(FoldedPath(path));
    if (found == cache.Records.end())
        return nullptr;
    TEntryRecord &record = found->second;
    if (!record.Settled || record.Path != path || !(record.Stamp == stamp))
        return nullptr;
    record.Seen = cache.Build;
    return &record.Answer;
}

TEntryAnswer &KeepAnswer(TEntryCache &cache, std::u16string_view path, const TEntryStamp &stamp,
                         TEntryAnswer answer)
{
    TEntryRecord &record = cache.Records[FoldedPath(path)];
    Discard(cache, record.Answer);
    record.Path = path;
    record.Stamp = stamp;
    record.Settled = IsSettled(stamp, cache.AskedAt);
    record.Seen = cache.Build;
    record.Answer = std::move(answer);
    record.Answer.ParkedIcon = 0;
    record.Answer.GivenIcon = 0;
    return record.Answer;
}

bool ParkEntryIcon(TEntryCache &cache, std::u16string_view path, uintptr_t icon)
{
    auto found = cache.Records.find(FoldedPath(path));
    if (!icon || found == cache.Records.end())
        return false;
    TEntryRecord &record = found->second;
    if (record.Path != path || record.Answer.GivenIcon != icon || record.Answer.ParkedIcon)
        return false;
    record.Answer.ParkedIcon = icon;
    record.Answer.GivenIcon = 0;
    return true;
}

uintptr_t TakeParkedIcon(TEntryAnswer &answer)
{
    const uintptr_t icon = answer.ParkedIcon;
    answer.ParkedIcon = 0;
    return icon;
}

void NoteGivenIcon(TEntryAnswer &answer, uintptr_t given) { answer.GivenIcon = given; }

void EndEntryBuild(TEntryCache &cache)
{
    for (auto it = cache.Records.begin(); it != cache.Records.end();) {
        Discard(cache, it->second.Answer);
        if (it->second.Seen != cache.Build)
            it = cache.Records.erase(it);
        else
            ++it;
    }
}
