#include "common/portable/text.h"

size_t CopyText(char16_t *dst, size_t cap, std::u16string_view src)
{
    if (cap == 0)
        return 0;
    size_t n = src.size() < cap - 1 ? src.size() : cap - 1;
    for (size_t i = 0; i < n; ++i)
        dst[i] = src[i];
    dst[n] = 0;
    return n;
}

size_t TextLength(const char16_t *s, size_t cap)
{
    size_t n = 0;
    while (n < cap && s[n] != 0)
        ++n;
    return n;
}

std::u16string_view FolderOfPath(std::u16string_view path)
{
    size_t slash = path.rfind(u'\\');
    if (slash == std::u16string_view::npos)
        return {};
    return path.substr(0, slash);
}
