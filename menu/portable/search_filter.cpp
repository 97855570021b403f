#include "menu/portable/search_filter.h"

#include <algorithm>

namespace {

// The digests of the four codes, in the order of THiddenCode after None.
constexpr std::string_view kHiddenCodeDigests[] = {
    "19616a26833ab95bab8218b18203336e",
    "046687dbd6ae1b1fcaec2304f662b80c",
    "95d399d8c50f765cb42273f0be30bb98",
    "e5dc18c518f4aa76ba298f3a4b13bfcf",
};

void CopyCut(char16_t (&to)[kSearchEntryUnits], std::u16string_view from)
{
    const size_t n = std::min(from.size(), kSearchEntryUnits - 1);
    std::copy_n(from.data(), n, to);
    to[n] = 0;
}

// A later occurrence of `text` in `key` right after a space.
bool StartsLaterWord(std::u16string_view key, std::u16string_view text)
{
    for (size_t at = key.find(text, 1); at != std::u16string_view::npos; at = key.find(text, at + 1))
        if (key[at - 1] == u' ')
            return true;
    return false;
}

} // namespace

char16_t SearchFold(char16_t c)
{
    if (c >= u'A' && c <= u'Z')
        return char16_t(c + 32);
    if (c < 0xC0)
        return c;
    if (c <= 0xDE)
        return c == 0xD7 ? c : char16_t(c + 32);  // the multiplication sign has no pair
    if (c >= 0x100 && c <= 0x17F) {
        // Pairs start even, except in the runs 0x139..0x148 and 0x179..0x17E; 0x130, 0x131,
        // 0x138 and 0x149 stand alone.
        if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F)
            return c;
        if (c == 0x178)
            return 0xFF;
        const bool oddPairs = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        return oddPairs ? ((c & 1) ? char16_t(c + 1) : c) : ((c & 1) ? c : char16_t(c + 1));
    }
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2)
        return char16_t(c + 32);
    if (c >= 0x400 && c <= 0x40F)
        return char16_t(c + 80);
    if (c >= 0x410 && c <= 0x42F)
        return char16_t(c + 32);
    return c;
}

std::u16string SearchFolded(std::u16string_view text)
{
    std::u16string folded(text);
    for (char16_t &c : folded)
        c = SearchFold(c);
    return folded;
}

void AppendSearchEntry(TSearchIndex &index, std::u16string_view path, std::u16string_view caption,
                       const void *icon)
{
    TSearchEntry &entry = index.Entries.emplace_back();
    CopyCut(entry.Path, path);
    CopyCut(entry.Caption, caption);
    CopyCut(entry.Key, caption);
    for (char16_t *c = entry.Key; *c; ++c)
        *c = SearchFold(*c);
    entry.Icon = icon;
    index.Bytes += sizeof(TSearchEntry);
}

void ClearSearchIndex(TSearchIndex &index)
{
    index.Entries.clear();
    index.Entries.shrink_to_fit();
    index.Bytes = 0;
}

void FilterSearchIndex(const TSearchIndex &index, std::u16string_view folded,
                       std::vector<int> &results)
{
    results.clear();
    if (folded.empty())
        return;
    const int count = int(index.Entries.size());
    for (int i = 0; i < count; ++i)
        if (std::u16string_view(index.Entries[size_t(i)].Key).starts_with(folded))
            results.push_back(i);
    for (int i = 0; i < count; ++i) {
        const std::u16string_view key(index.Entries[size_t(i)].Key);
        if (!key.starts_with(folded) && StartsLaterWord(key, folded))
            results.push_back(i);
    }
}

std::u16string CountCaption(std::u16string_view format, int count)
{
    std::u16string out;
    bool placed = false;
    for (size_t i = 0; i < format.size(); ++i) {
        const char16_t next = i + 1 < format.size() ? format[i + 1] : 0;
        if (format[i] == u'%' && next == u'%') {
            out += u'%';
            ++i;
        } else if (format[i] == u'%' && (next == u'i' || next == u'd') && !placed) {
            const std::string digits = std::to_string(count);
            out.append(digits.begin(), digits.end());
            placed = true;
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

std::string DigestHex(const uint8_t (&digest)[16])
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (uint8_t byte : digest) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 15];
    }
    return hex;
}

std::vector<uint8_t> Utf16LeBytes(std::u16string_view text)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t c : text) {
        bytes.push_back(uint8_t(c & 0xFF));
        bytes.push_back(uint8_t(c >> 8));
    }
    return bytes;
}

THiddenCode HiddenCodeOfDigest(std::string_view hex)
{
    for (size_t i = 0; i < std::size(kHiddenCodeDigests); ++i)
        if (hex == kHiddenCodeDigests[i])
            return THiddenCode(i + 1);
    return THiddenCode::None;
}

int NearestBoundary(const std::vector<int> &boundaryX, int x)
{
    if (boundaryX.empty())
        return 0;
    const auto after = std::lower_bound(boundaryX.begin(), boundaryX.end(), x);
    if (after == boundaryX.begin())
        return 0;
    if (after == boundaryX.end())
        return int(boundaryX.size()) - 1;
    const int right = int(after - boundaryX.begin());
    return x - boundaryX[size_t(right - 1)] <= boundaryX[size_t(right)] - x ? right - 1 : right;
}

TCommandLine SplitCommandLine(std::u16string_view text)
{
    auto trim = [](std::u16string_view s) {
        while (!s.empty() && s.front() == u' ')
            s.remove_prefix(1);
        while (!s.empty() && s.back() == u' ')
            s.remove_suffix(1);
        return s;
    };
    text = trim(text);
    TCommandLine line;
    size_t rest;
    if (!text.empty() && text.front() == u'"') {
        const size_t close = text.find(u'"', 1);
        const size_t end = close == std::u16string_view::npos ? text.size() : close;
        line.Program = text.substr(1, end - 1);
        rest = std::min(end + 1, text.size());
    } else {
        const size_t space = text.find(u' ');
        rest = space == std::u16string_view::npos ? text.size() : space;
        line.Program = text.substr(0, rest);
    }
    line.Parameters = trim(text.substr(rest));
    return line;
}
