#include "settings/special_icon.h"

#include <shellapi.h>

#include "settings/settings.h"

HICON LoadIconAt(const wchar_t *location, int index)
{
    wchar_t file[2 * MAX_PATH];
    DWORD length = ExpandEnvironmentStringsW(location, file, 2 * MAX_PATH);
    if (length == 0 || length > 2 * MAX_PATH)
        return nullptr;
    // The shell functions below take at most MAX_PATH units.
    file[MAX_PATH - 1] = 0;
    HICON icon = nullptr;
    if (ExtractIconExW(file, index, &icon, nullptr, 1) == 1 && icon)
        return icon;
    WORD associated = 0;
    return ExtractAssociatedIconW(GetModuleHandleW(nullptr), file, &associated);
}

HICON LoadSpecialIcon(SpecialIconSlot slot)
{
    return LoadIconAt(Settings.SpecialIconFile[slot], Settings.SpecialIconIndex[slot]);
}
