#include "menu/portable/type_ahead.h"

char16_t TypeAheadKey(char16_t typed)
{
    if (typed >= u'a' && typed <= u'z')
        return static_cast<char16_t>(typed - u'a' + u'A');
    return typed;
}

TTypeAheadMatch FindTypeAhead(const std::u16string_view *captions, size_t count, int hotIndex,
                              char16_t typed)
{
    TTypeAheadMatch match{-1, 0};
    if (typed <= u' ' || count == 0)
        return match;
    const char16_t key = TypeAheadKey(typed);
    const size_t start =
        hotIndex >= 0 && static_cast<size_t>(hotIndex) < count ? hotIndex + 1 : 0;
    for (size_t step = 0; step < count; ++step) {
        const size_t i = (start + step) % count;
        if (captions[i].empty() || TypeAheadKey(captions[i][0]) != key)
            continue;
        if (match.count == 0)
            match.first = static_cast<int>(i);
        ++match.count;
    }
    return match;
}
