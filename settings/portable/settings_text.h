// The settings file text: UTF-16 "key=value" lines found by plain text search, and the
// value readers and writers of each setting type.  Theme files use the same text.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr size_t kSettingValueCapacity = 260;  // a value is at most 259 units

enum class SettingType { Int, Flag, Colour, Text };

// Binds one key to one member: int32_t for Int, bool for Flag, uint32_t (red in the low
// byte) for Colour, a char16_t buffer of `Capacity` units for Text.
struct SettingRow {
    std::u16string Key;
    SettingType Type;
    void *Member;
    size_t Capacity;
};

// The value after the first "key=" that starts a line, up to CR, LF or the end, at most
// 259 units; empty when the key is absent.
std::u16string ReadSettingValue(std::u16string_view text, std::u16string_view key);

int32_t ReadIntValue(std::u16string_view value);
bool ReadFlagValue(std::u16string_view value);
uint32_t ReadColourValue(std::u16string_view value);

std::u16string FormatIntValue(int32_t value);
std::u16string FormatFlagValue(bool value);
std::u16string FormatColourValue(uint32_t colour);
std::u16string FormatRowValue(const SettingRow &row);

// Puts "key=value" in place of the first "key=old" that starts a line (the rest of the text
// untouched), or appends it, after a CR LF when the text does not already end with one.
void ReplaceSettingInText(std::u16string &text, std::u16string_view key,
                          std::u16string_view value);

// Fills each row's member from the text (an absent key gives the empty value).
void ReadRows(std::u16string_view text, const std::vector<SettingRow> &rows);
// Puts each row's current value into the text with ReplaceSettingInText.
void ReplaceRowsInText(std::u16string &text, const std::vector<SettingRow> &rows);
// One "key=value\r\n" line per row: the whole text of a theme file.
std::u16string FormatRowLines(const std::vector<SettingRow> &rows);

// Bytes of a file as UTF-16 little-endian units, up to the first zero unit; an odd last
// byte is dropped.
std::u16string TextFromFileBytes(const uint8_t *bytes, size_t size);
// The bytes written for a text: its units up to the first zero, little-endian.
std::vector<uint8_t> FileBytesFromText(std::u16string_view text);
