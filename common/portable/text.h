// Fixed-buffer UTF-16 text helpers shared by all portable code.
#pragma once
#include <cstddef>
#include <string_view>

// Copies as much of `src` as fits into `dst` (capacity `cap` units, terminator included)
// and always terminates it; returns the number of units copied.
size_t CopyText(char16_t *dst, size_t cap, std::u16string_view src);

// Length of a zero-terminated UTF-16 string, but never more than `cap`.
size_t TextLength(const char16_t *s, size_t cap);

// The folder part of a full path, without the final backslash; empty when there is none.
std::u16string_view FolderOfPath(std::u16string_view path);
