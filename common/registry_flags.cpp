#include <windows.h>

#include "common/registry_flags.h"

namespace {

// Creates the key when absent, as reading is also meant to do.
HKEY OpenFlagsKey()
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kFlagsKeyPath, 0, nullptr, 0, KEY_READ | KEY_WRITE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

}  // namespace

bool ReadRegistryFlag(const wchar_t *valueName)
{
    DWORD value = 1;
    HKEY key = OpenFlagsKey();
    if (key) {
        DWORD size = sizeof(value);
        DWORD type = 0;
        if (RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<BYTE *>(&value),
                             &size) != ERROR_SUCCESS)
            value = 1;
        RegCloseKey(key);
    }
    return value != 0;
}

void WriteRegistryFlag(const wchar_t *valueName, bool on)
{
    HKEY key = OpenFlagsKey();
    if (!key)
        return;
    DWORD value = on ? 1 : 0;
    RegSetValueExW(key, valueName, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value),
                   sizeof(value));
    RegCloseKey(key);
}
