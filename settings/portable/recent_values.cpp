#include "settings/portable/recent_values.h"

namespace {

constexpr uint32_t kMruEndMark = 0xFFFFFFFFu;
constexpr size_t kShortestNamedValue = 6;  // a value this long or shorter holds no name
constexpr size_t kNameSearchStart = 9;     // bytes before the end where the search begins

uint32_t LittleEndian32(const uint8_t *bytes)
{
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
           uint32_t(bytes[3]) << 24;
}

bool IsZeroUnit(const uint8_t *value, size_t at) { return value[at] == 0 && value[at + 1] == 0; }

std::u16string_view TrimBlanks(std::u16string_view text)
{
    while (!text.empty() && (text.front() == u' ' || text.front() == u'\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == u' ' || text.back() == u'\t'))
        text.remove_suffix(1);
    return text;
}

// The magnitude of a decimal number as the C library reads it (blanks, a sign, digits up to
// the first other character), kept within 32 bits.
uint32_t AbsoluteNumber(std::u16string_view text)
{
    text = TrimBlanks(text);
    if (!text.empty() && (text.front() == u'-' || text.front() == u'+'))
        text.remove_prefix(1);
    uint64_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9')
            break;
        value = value * 10 + uint64_t(c - u'0');
        if (value > 0xFFFFFFFFu)
            return 0xFFFFFFFFu;
    }
    return uint32_t(value);
}

} // namespace

std::vector<uint32_t> MruOrder(const uint8_t *value, size_t size)
{
    std::vector<uint32_t> order;
    for (size_t at = 0; value && at + 4 <= size; at += 4) {
        const uint32_t number = LittleEndian32(value + at);
        if (number == kMruEndMark)
            break;
        order.push_back(number);
    }
    return order;
}

std::u16string MruShortcutName(const uint8_t *value, size_t size)
{
    if (!value || size <= kShortestNamedValue)
        return {};
    // The unit examined first may start before the value when it is 7 or 8 bytes long.
    if (size < kNameSearchStart)
        return {};
    size_t zero = size - kNameSearchStart;
    while (!IsZeroUnit(value, zero)) {
        if (zero < 2)
            return {};
        zero -= 2;
    }
    std::u16string name;
    for (size_t at = zero + 2; at + 1 < size; at += 2) {
        const char16_t unit = char16_t(value[at] << 8 | value[at + 1]);
        if (unit == 0)
            return name;
        name += unit;
    }
    return {};  // no zero unit ends the name inside the value
}

TResourceLocation SplitResourceLocation(std::u16string_view text)
{
    TResourceLocation location;
    text = TrimBlanks(text);
    if (!text.empty() && text.front() == u'@') {
        location.Indirect = true;
        text.remove_prefix(1);
    }
    // A module path may hold a comma itself; the identifier follows the last one.
    const size_t comma = text.rfind(u',');
    if (comma != std::u16string_view::npos) {
        location.HasId = true;
        location.Id = AbsoluteNumber(text.substr(comma + 1));
        text = text.substr(0, comma);
    }
    text = TrimBlanks(text);
    if (text.size() >= 2 && text.front() == u'"' && text.back() == u'"')
        text = text.substr(1, text.size() - 2);
    location.Module = text;
    return location;
}
