#include "render/options/portable/drop_names.h"

#include <iterator>
#include <vector>

namespace {

struct TLatin1Sequence {
    char first, second, latin1;
};

// In the order they are replaced: the capitals, then the marks and small letters.
constexpr TLatin1Sequence kSpanishSequences[] = {
    {'\xC3', '\x81', '\xC1'}, {'\xC3', '\x89', '\xC9'}, {'\xC3', '\x8D', '\xCD'},
    {'\xC3', '\x93', '\xD3'}, {'\xC3', '\x9A', '\xDA'}, {'\xC3', '\x91', '\xD1'},
    {'\xC3', '\x9C', '\xDC'}, {'\xC2', '\xA1', '\xA1'}, {'\xC3', '\xA1', '\xE1'},
    {'\xC3', '\xA9', '\xE9'}, {'\xC3', '\xAD', '\xED'}, {'\xC3', '\xB3', '\xF3'},
    {'\xC3', '\xBA', '\xFA'}, {'\xC3', '\xB1', '\xF1'}, {'\xC3', '\xBC', '\xFC'},
    {'\xC2', '\xBF', '\xBF'},
};

struct TEntity {
    unsigned char code;
    const char *name;
};

// The markup characters, then Latin-1 160 to 191, times and divide, then 192 to 255.
constexpr TEntity kEntities[] = {
    {34, "quot"},     {39, "apos"},     {38, "amp"},      {60, "lt"},       {62, "gt"},
    {160, "nbsp"},    {161, "iexcl"},   {162, "cent"},    {163, "pound"},   {164, "curren"},
    {165, "yen"},     {166, "brvbar"},  {167, "sect"},    {168, "uml"},     {169, "copy"},
    {170, "ordf"},    {171, "laquo"},   {172, "not"},     {173, "shy"},     {174, "reg"},
    {175, "macr"},    {176, "deg"},     {177, "plusmn"},  {178, "sup2"},    {179, "sup3"},
    {180, "acute"},   {181, "micro"},   {182, "para"},    {183, "middot"},  {184, "cedil"},
    {185, "sup1"},    {186, "ordm"},    {187, "raquo"},   {188, "frac14"},  {189, "frac12"},
    {190, "frac34"},  {191, "iquest"},  {215, "times"},   {247, "divide"},  {192, "Agrave"},
    {193, "Aacute"},  {194, "Acirc"},   {195, "Atilde"},  {196, "Auml"},    {197, "Aring"},
    {198, "AElig"},   {199, "Ccedil"},  {200, "Egrave"},  {201, "Eacute"},  {202, "Ecirc"},
    {203, "Euml"},    {204, "Igrave"},  {205, "Iacute"},  {206, "Icirc"},   {207, "Iuml"},
    {208, "ETH"},     {209, "Ntilde"},  {210, "Ograve"},  {211, "Oacute"},  {212, "Ocirc"},
    {213, "Otilde"},  {214, "Ouml"},    {216, "Oslash"},  {217, "Ugrave"},  {218, "Uacute"},
    {219, "Ucirc"},   {220, "Uuml"},    {221, "Yacute"},  {222, "THORN"},   {223, "szlig"},
    {224, "agrave"},  {225, "aacute"},  {226, "acirc"},   {227, "atilde"},  {228, "auml"},
    {229, "aring"},   {230, "aelig"},   {231, "ccedil"},  {232, "egrave"},  {233, "eacute"},
    {234, "ecirc"},   {235, "euml"},    {236, "igrave"},  {237, "iacute"},  {238, "icirc"},
    {239, "iuml"},    {240, "eth"},     {241, "ntilde"},  {242, "ograve"},  {243, "oacute"},
    {244, "ocirc"},   {245, "otilde"},  {246, "ouml"},    {248, "oslash"},  {249, "ugrave"},
    {250, "uacute"},  {251, "ucirc"},   {252, "uuml"},    {253, "yacute"},  {254, "thorn"},
    {255, "yuml"},
};
static_assert(std::size(kEntities) == 101);

constexpr bool EachCodeOnce()
{
    int seen[256] = {};
    for (const TEntity &e : kEntities)
        ++seen[e.code];
    for (int code = 0; code < 256; ++code) {
        const bool wanted = code >= 160 || code == 34 || code == 39 || code == 38 || code == 60 ||
                            code == 62;
        if (seen[code] != (wanted ? 1 : 0))
            return false;
    }
    return true;
}
static_assert(EachCodeOnce());

// Every occurrence of `pattern`, left to right, becomes the one byte `by`; the scan goes on
// after each replacement, so a replaced byte never starts a new match of the same pattern.
void ReplaceAll(std::string &text, std::string_view pattern, char by)
{
    size_t at = text.find(pattern);
    if (at == std::string::npos)
        return;
    size_t out = at;
    size_t in = at;
    while (in < text.size()) {
        if (text.compare(in, pattern.size(), pattern) == 0) {
            text[out++] = by;
            in += pattern.size();
        } else {
            text[out++] = text[in++];
        }
    }
    text.resize(out);
}

char EntityByte(const TEntity &entity)
{
    return entity.code == 160 ? '-' : char(entity.code);
}

std::u16string WithoutForbidden(std::u16string_view text)
{
    std::u16string kept;
    for (char16_t c : text)
        if (!IsForbiddenInName(c))
            kept += c;
    return kept;
}

std::u16string_view UpToFirstDot(std::u16string_view text)
{
    return text.substr(0, text.find(u'.'));
}

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// The last component of a path; separators at its end are no component of their own.
std::u16string_view LastComponent(std::u16string_view path)
{
    while (!path.empty() && IsSeparator(path.back()))
        path.remove_suffix(1);
    size_t start = path.size();
    while (start > 0 && !IsSeparator(path[start - 1]))
        --start;
    return path.substr(start);
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c < 0xDC00; }

} // namespace

bool IsForbiddenInName(char16_t c)
{
    if (c < 32)
        return true;
    for (char16_t bad : std::u16string_view(u":/\\<>*?\"|"))
        if (c == bad)
            return true;
    return false;
}

std::u16string DroppedText(const uint8_t *bytes, size_t size)
{
    std::u16string text;
    for (size_t i = 0; i + 1 < size; i += 2) {
        const char16_t unit = char16_t(bytes[i] | bytes[i + 1] << 8);
        if (unit == 0)
            break;
        text += unit;
    }
    return text;
}

std::string_view DroppedBytes(const uint8_t *bytes, size_t size)
{
    size_t length = 0;
    while (length < size && bytes[length] != 0)
        ++length;
    return std::string_view(reinterpret_cast<const char *>(bytes), length);
}

std::u16string FileShortcutName(std::u16string_view displayName, std::u16string_view path)
{
    const std::u16string_view source = displayName.empty() ? LastComponent(path) : displayName;
    return WithoutForbidden(UpToFirstDot(source));
}

std::u16string AddressShortcutName(std::u16string_view address)
{
    const size_t last = address.find_last_of(u"/\\:");
    std::u16string_view title = last == std::u16string_view::npos ? address : address.substr(last + 1);
    title = title.substr(0, kMaxAddressName);

    std::u16string name;
    for (char16_t c : title) {
        if (c < 32)
            break;
        switch (c) {
        case u':': name += u';'; break;
        case u'/':
        case u'\\': name += u'-'; break;
        case u'"': name += u'\''; break;
        case u'?': name += u'\u00BF'; break;
        case u'<':
        case u'>':
        case u'*':
        case u'|': break;
        default: name += c; break;
        }
    }
    return name;
}

void Utf8SpanishToLatin1(std::string &text)
{
    for (const TLatin1Sequence &s : kSpanishSequences) {
        const char pattern[2] = {s.first, s.second};
        ReplaceAll(text, std::string_view(pattern, 2), s.latin1);
    }
}

void DecodeHtmlEntities(std::string &text)
{
    if (text.find('&') == std::string::npos)
        return;
    // The three passes' references of every entry, in the order they are replaced.
    static const std::vector<std::string> references = [] {
        std::vector<std::string> all;
        for (const TEntity &e : kEntities)
            all.push_back("&amp;#" + std::to_string(e.code) + ";");
        for (const TEntity &e : kEntities)
            all.push_back(std::string("&amp;") + e.name + ";");
        for (const TEntity &e : kEntities)
            all.push_back(std::string("&") + e.name + ";");
        return all;
    }();
    for (size_t i = 0; i < references.size(); ++i)
        ReplaceAll(text, references[i], EntityByte(kEntities[i % std::size(kEntities)]));
}

bool ParseDroppedAnchor(std::string_view fragment, TDroppedAnchor &anchor)
{
    anchor = {};
    size_t opening = fragment.find("<A HREF=\"");
    if (opening == std::string_view::npos)
        opening = fragment.find("<a href=\"");
    if (opening == std::string_view::npos)
        return false;
    const size_t targetStart = opening + 9;
    const size_t targetEnd = fragment.find('"', targetStart);
    if (targetEnd == std::string_view::npos)
        return false;
    const size_t textStart = fragment.find('>', targetEnd + 1);
    if (textStart == std::string_view::npos)
        return false;
    // The link text ends at the first "<" of the fragment itself: a "&lt;" in the text
    // decodes to a character of the name, not to the end of it.
    const size_t textEnd = fragment.find('<', textStart + 1);
    if (textEnd == std::string_view::npos)
        return false;

    for (char c : fragment.substr(targetStart, targetEnd - targetStart))
        anchor.Target += char16_t(static_cast<unsigned char>(c));
    std::string text(fragment.substr(textStart + 1, textEnd - textStart - 1));
    Utf8SpanishToLatin1(text);
    DecodeHtmlEntities(text);
    for (char c : text) {
        const char16_t unit = char16_t(static_cast<unsigned char>(c));
        if (!IsForbiddenInName(unit))
            anchor.Name += unit;
    }
    return true;
}

std::u16string ShortcutPathFor(std::u16string_view folder, std::u16string_view name, int number)
{
    std::u16string path(folder);
    if (path.empty())
        return {};
    if (path.back() != u'\\')
        path += u'\\';
    if (name.empty())
        name = kFallbackShortcutName;

    std::u16string suffix;
    if (number >= 2) {
        const std::string digits = std::to_string(number);
        suffix = u" (" + std::u16string(digits.begin(), digits.end()) + u")";
    }
    suffix += u".lnk";

    if (path.size() + suffix.size() >= kMaxShortcutPath || suffix.size() >= kMaxShortcutFileName)
        return {};
    size_t room = kMaxShortcutPath - path.size() - suffix.size();
    if (room > kMaxShortcutFileName - suffix.size())
        room = kMaxShortcutFileName - suffix.size();
    if (name.size() > room) {
        name = name.substr(0, room);
        // A pair cut in half would leave a unit that names no character.
        if (IsHighSurrogate(name.back()))
            name.remove_suffix(1);
        if (name.empty())
            return {};
    }
    return path + std::u16string(name) + suffix;
}
