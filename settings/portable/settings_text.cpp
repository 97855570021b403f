#include "settings/portable/settings_text.h"

#include <climits>

#include "common/portable/text.h"

// Where "key=" starts a line.  A match inside a line (in a comment, in a longer key, or in
// a text value that itself holds "key=") names nothing: a save would otherwise write the
// value into that other line and read it back from there.  A byte-order mark may come first.
static size_t FindKeyLine(std::u16string_view text, const std::u16string &pattern)
{
    for (size_t at = text.find(pattern); at != std::u16string_view::npos;
         at = text.find(pattern, at + 1))
        if (at == 0 || text[at - 1] == u'\r' || text[at - 1] == u'\n' ||
            (at == 1 && text[0] == u'\uFEFF'))
            return at;
    return std::u16string_view::npos;
}

std::u16string ReadSettingValue(std::u16string_view text, std::u16string_view key)
{
    std::u16string pattern(key);
    pattern += u'=';
    size_t at = FindKeyLine(text, pattern);
    if (at == std::u16string_view::npos)
        return {};
    size_t start = at + pattern.size();
    size_t end = text.find_first_of(u"\r\n", start);
    if (end == std::u16string_view::npos)
        end = text.size();
    size_t length = end - start;
    if (length > kSettingValueCapacity - 1)
        length = kSettingValueCapacity - 1;
    return std::u16string(text.substr(start, length));
}

int32_t ReadIntValue(std::u16string_view value)
{
    size_t i = 0;
    while (i < value.size() && (value[i] == u' ' || value[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == u'-' || value[i] == u'+')) {
        negative = value[i] == u'-';
        ++i;
    }
    // Saturates like the C library instead of overflowing on a hand-edited huge number.
    int64_t magnitude = 0;
    for (; i < value.size() && value[i] >= u'0' && value[i] <= u'9'; ++i) {
        magnitude = magnitude * 10 + (value[i] - u'0');
        if (magnitude > int64_t(INT32_MAX) + 1)
            magnitude = int64_t(INT32_MAX) + 1;
    }
    int64_t result = negative ? -magnitude : magnitude;
    if (result > INT32_MAX)
        result = INT32_MAX;
    return int32_t(result);
}

bool ReadFlagValue(std::u16string_view value)
{
    if (value.empty())
        return false;
    char16_t first = value[0];
    if (first >= u'a' && first <= u'z')
        first = char16_t(first - u'a' + u'A');
    return first == u'Y' || first == u'S' || first == u'1';
}

static int HexDigitValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

uint32_t ReadColourValue(std::u16string_view value)
{
    std::u16string upper(value);
    for (char16_t &c : upper)
        if (c >= u'a' && c <= u'z')
            c = char16_t(c - u'a' + u'A');
    for (size_t i = 2; i < upper.size(); ++i)
        if (HexDigitValue(upper[i]) < 0)
            return 0;
    // Digits missing from a short value count as '0': "0xFF" is red.
    auto digit = [&](size_t i) { return i < upper.size() ? HexDigitValue(upper[i]) : 0; };
    uint32_t red = uint32_t(digit(2) * 16 + digit(3));
    uint32_t green = uint32_t(digit(4) * 16 + digit(5));
    uint32_t blue = uint32_t(digit(6) * 16 + digit(7));
    return red + green * 256 + blue * 65536;
}

static std::u16string Ascii(const char *s)
{
    std::u16string out;
    for (; *s; ++s)
        out += char16_t(static_cast<unsigned char>(*s));
    return out;
}

std::u16string FormatIntValue(int32_t value)
{
    return Ascii(std::to_string(value).c_str());
}

std::u16string FormatFlagValue(bool value)
{
    return value ? u"yes" : u"no";
}

std::u16string FormatColourValue(uint32_t colour)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::u16string out = u"0x";
    for (int shift : {0, 8, 16}) {
        unsigned byte = (colour >> shift) & 0xFF;
        out += char16_t(kHex[byte >> 4]);
        out += char16_t(kHex[byte & 15]);
    }
    return out;
}

std::u16string FormatRowValue(const SettingRow &row)
{
    switch (row.Type) {
    case SettingType::Int:
        return FormatIntValue(*static_cast<const int32_t *>(row.Member));
    case SettingType::Flag:
        return FormatFlagValue(*static_cast<const bool *>(row.Member));
    case SettingType::Colour:
        return FormatColourValue(*static_cast<const uint32_t *>(row.Member));
    case SettingType::Text: {
        const char16_t *text = static_cast<const char16_t *>(row.Member);
        std::u16string value(text, TextLength(text, row.Capacity));
        // A line break inside a value would turn its tail into a line of its own.
        size_t lineBreak = value.find_first_of(u"\r\n");
        if (lineBreak != std::u16string::npos)
            value.resize(lineBreak);
        return value;
    }
    }
    return {};
}

void ReplaceSettingInText(std::u16string &text, std::u16string_view key,
                          std::u16string_view value)
{
    std::u16string pattern(key);
    pattern += u'=';
    size_t at = FindKeyLine(text, pattern);
    if (at != std::u16string::npos) {
        size_t start = at + pattern.size();
        size_t end = text.find_first_of(u"\r\n", start);
        if (end == std::u16string::npos)
            end = text.size();
        text.replace(start, end - start, value);
        return;
    }
    if (text.size() < 2 || text.compare(text.size() - 2, 2, u"\r\n") != 0)
        text += u"\r\n";
    text += pattern;
    text += value;
}

void ReadRows(std::u16string_view text, const std::vector<SettingRow> &rows)
{
    for (const SettingRow &row : rows) {
        std::u16string value = ReadSettingValue(text, row.Key);
        switch (row.Type) {
        case SettingType::Int:
            *static_cast<int32_t *>(row.Member) = ReadIntValue(value);
            break;
        case SettingType::Flag:
            *static_cast<bool *>(row.Member) = ReadFlagValue(value);
            break;
        case SettingType::Colour:
            *static_cast<uint32_t *>(row.Member) = ReadColourValue(value);
            break;
        case SettingType::Text:
            CopyText(static_cast<char16_t *>(row.Member), row.Capacity, value);
            break;
        }
    }
}

void ReplaceRowsInText(std::u16string &text, const std::vector<SettingRow> &rows)
{
    for (const SettingRow &row : rows)
        ReplaceSettingInText(text, row.Key, FormatRowValue(row));
}

std::u16string FormatRowLines(const std::vector<SettingRow> &rows)
{
    std::u16string text;
    for (const SettingRow &row : rows) {
        text += row.Key;
        text += u'=';
        text += FormatRowValue(row);
        text += u"\r\n";
    }
    return text;
}

std::u16string TextFromFileBytes(const uint8_t *bytes, size_t size)
{
    std::u16string text;
    text.reserve(size / 2);
    for (size_t i = 0; i + 1 < size; i += 2) {
        char16_t unit = char16_t(bytes[i] | (bytes[i + 1] << 8));
        if (unit == 0)
            break;
        text += unit;
    }
    return text;
}

std::vector<uint8_t> FileBytesFromText(std::u16string_view text)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t unit : text) {
        if (unit == 0)
            break;
        bytes.push_back(uint8_t(unit & 0xFF));
        bytes.push_back(uint8_t(unit >> 8));
    }
    return bytes;
}
