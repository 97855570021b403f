// Icons of special items, loaded from an icon location ("file", index) as the settings give it.
#pragma once
#include <windows.h>

#include "settings/portable/language_keys.h"

// The icon at (file, index); environment variables in the file are expanded.  Falls back to
// the icon associated with the file; null when neither gives one.  The caller owns the icon.
HICON LoadIconAt(const wchar_t *file, int index);

// The icon of a special-item slot of the settings record (IconHelp: "HelpIcon",
// "HelpIconIndex").
HICON LoadSpecialIcon(SpecialIconSlot slot);
