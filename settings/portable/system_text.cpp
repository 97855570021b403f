#include "settings/portable/system_text.h"

#include "common/portable/text.h"

static std::u16string Number(unsigned value)
{
    std::u16string out;
    do {
        out.insert(out.begin(), char16_t(u'0' + value % 10));
        value /= 10;
    } while (value);
    return out;
}

std::u16string FormatSystemDescription(std::u16string_view productName, unsigned servicePackMajor,
                                       unsigned servicePackMinor, unsigned versionMajor,
                                       uint16_t architecture, size_t capacity)
{
    std::u16string text(productName);
    if (servicePackMajor != 0) {
        text += u" SP" + Number(servicePackMajor);
        if (servicePackMinor != 0)
            text += u"." + Number(servicePackMinor);
    }
    if (versionMajor >= 6) {
        if (architecture == kArchitectureAmd64)
            text += u" 64bits";
        else if (architecture == kArchitectureIntel)
            text += u" 32bits";
    }
    if (capacity == 0)
        return {};
    if (text.size() > capacity - 1)
        text.resize(capacity - 1);
    return text;
}

void ComposePath(char16_t *path, size_t capacity, std::u16string_view base,
                 std::u16string_view tail)
{
    size_t length = CopyText(path, capacity, base);
    CopyText(path + length, capacity - length, tail);
}

std::u16string FormatLogoutCaption(std::u16string_view format, std::u16string_view userName)
{
    std::u16string caption(format);
    size_t at = caption.find(u"%s");
    if (at != std::u16string::npos)
        caption.replace(at, 2, userName);
    return caption;
}
