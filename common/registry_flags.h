// The three on/off switches kept under HKEY_CURRENT_USER\Software\Orvella, read by the
// main program, the hook library inside the shell and the desktop launcher with one rule:
// a missing key or value, or any read failure, counts as on; any non-zero value is on.
#pragma once
#include <windows.h>

inline constexpr const wchar_t *kFlagsKeyPath = L"Software\\Orvella";
inline constexpr const wchar_t *kAutoStartValue = L"AutoStart";
inline constexpr const wchar_t *kShowDesktopValue = L"ShowDesktop";
inline constexpr const wchar_t *kDisableCornersValue = L"DisableCorners";

// Opening (and so creating) the key, then reading with a default of 1.
bool ReadRegistryFlag(const wchar_t *valueName);
void WriteRegistryFlag(const wchar_t *valueName, bool on);

// For a reader that keeps the key open and watches it: the key opened (created when
// missing) as every read opens it, or null; the caller closes it.  The read follows the
// rule above, a null key counting as a failed read.
HKEY OpenFlagsKeyToKeep();
bool ReadFlagOfKey(HKEY key, const wchar_t *valueName);

inline bool ReadAutoStart() { return ReadRegistryFlag(kAutoStartValue); }
inline void SetAutoStart() { WriteRegistryFlag(kAutoStartValue, true); }
inline void ClearAutoStart() { WriteRegistryFlag(kAutoStartValue, false); }

inline bool ReadShowDesktop() { return ReadRegistryFlag(kShowDesktopValue); }
inline void SetShowDesktop() { WriteRegistryFlag(kShowDesktopValue, true); }
inline void ClearShowDesktop() { WriteRegistryFlag(kShowDesktopValue, false); }

inline bool ReadDisableCorners() { return ReadRegistryFlag(kDisableCornersValue); }
inline void SetDisableCorners() { WriteRegistryFlag(kDisableCornersValue, true); }
inline void ClearDisableCorners() { WriteRegistryFlag(kDisableCornersValue, false); }
