// The text of the clean-up script the uninstaller leaves behind, and the size arithmetic of
// its title font; no Windows call, so both are tested natively.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

inline constexpr std::u16string_view kCleanupScriptName = u"uninstallorvella.bat";

// The twelve lines, each ended by CR LF, for an install folder and the script's own path,
// both already in the script's 8-bit code page.  Every path is quoted; a per cent sign is
// doubled so that cmd reads it as itself and not as a variable.
std::string BuildCleanupScript(std::string_view installFolder, std::string_view scriptPath);

// Height or width of the message font scaled by 1.75, truncated toward zero.
int32_t ScaleTitleFontDimension(int32_t dimension);
