#include "settings/portable/theme_names.h"

bool ThemeNameOfFile(std::u16string_view fileName, std::u16string &name)
{
    const size_t dot = fileName.find(u'.');
    if (dot == std::u16string_view::npos)
        return false;
    name = std::u16string(fileName.substr(0, dot));
    return true;
}

std::u16string ThemeFileNamePart(std::u16string_view name)
{
    std::u16string part(name);
    for (char16_t &c : part)
        if (c < 32 || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos)
            c = u'_';
    return part;
}
