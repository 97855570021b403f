// The values of the shell's recent-documents record and of control panel registrations, taken
// apart without Windows: the order list, the shortcut name at the end of a numbered value, and
// the "@module,-id" / "module,id" resource locations.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The numbers of an "MRUListEx" value, most recent first: 32-bit little-endian, up to the
// end mark 0xFFFFFFFF or the last whole number when a value was cut short.
std::vector<uint32_t> MruOrder(const uint8_t *value, size_t size);

// The shortcut file name stored at the end of a numbered recent-documents value.  The search
// starts at the unit 9 bytes before the end and steps back to a zero unit; the name follows it
// read big-endian, which gives every character below U+0100 right.  Empty when the value is 6
// bytes or shorter, holds no zero unit before the start, or the name has no end inside it.
std::u16string MruShortcutName(const uint8_t *value, size_t size);

// A resource location of a registration: "@module,-id" (an indirect string), "module,id" (an
// icon), or just "module".
struct TResourceLocation {
    std::u16string_view Module;  // without the at sign, surrounding blanks or quotes
    bool Indirect = false;       // began with an at sign
    bool HasId = false;          // had a comma
    uint32_t Id = 0;             // absolute value of the decimal number after the last comma
};

TResourceLocation SplitResourceLocation(std::u16string_view text);
