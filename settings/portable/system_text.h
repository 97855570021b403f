// Texts about the system and its folders, formed without asking the system.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

inline constexpr uint16_t kArchitectureIntel = 0;   // PROCESSOR_ARCHITECTURE_INTEL
inline constexpr uint16_t kArchitectureAmd64 = 9;   // PROCESSOR_ARCHITECTURE_AMD64

// "Windows 8 Pro SP1 64bits": product name, service pack and bitness (the bitness only
// from version 6 on), cut to `capacity` - 1 units.
std::u16string FormatSystemDescription(std::u16string_view productName, unsigned servicePackMajor,
                                       unsigned servicePackMinor, unsigned versionMajor,
                                       uint16_t architecture, size_t capacity);

// Writes `base` followed by `tail` into a buffer of `capacity` units, cut to fit.
void ComposePath(char16_t *path, size_t capacity, std::u16string_view base,
                 std::u16string_view tail);

// The log-off caption: the first "%s" of `format` replaced by the user name.  The format
// comes from a settings file, so nothing else in it is interpreted.
std::u16string FormatLogoutCaption(std::u16string_view format, std::u16string_view userName);
