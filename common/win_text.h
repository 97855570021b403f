// Bridges between the portable UTF-16 helpers and the Windows wide strings.
#pragma once
#include <string_view>

// On Windows wchar_t and char16_t are both UTF-16 units of the same size.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline const char16_t *U16(const wchar_t *s) { return reinterpret_cast<const char16_t *>(s); }
inline char16_t *U16(wchar_t *s) { return reinterpret_cast<char16_t *>(s); }
inline const wchar_t *W(const char16_t *s) { return reinterpret_cast<const wchar_t *>(s); }
inline wchar_t *W(char16_t *s) { return reinterpret_cast<wchar_t *>(s); }
inline std::u16string_view U16View(const wchar_t *s)
{
    return std::u16string_view(U16(s));
}
