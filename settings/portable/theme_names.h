// Names of theme files: "<name>.TVRAtheme" in the data folder.
#pragma once
#include <string>
#include <string_view>

inline constexpr std::u16string_view kThemeExtension = u".TVRAtheme";

// The name listed for a theme file: its name cut at the first '.'; false for a file name
// without '.'.
bool ThemeNameOfFile(std::u16string_view fileName, std::u16string &name);

// The file name part for a theme name, with characters that a file name cannot hold (or
// that would lead out of the data folder) replaced by '_'.
std::u16string ThemeFileNamePart(std::u16string_view name);
