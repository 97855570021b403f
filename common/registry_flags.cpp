#include <windows.h>

#include "common/registry_flags.h"
#include "common/win_guards.h"

namespace {

// Creates the key when absent, as reading is also meant to do.
TRegistryKey OpenFlagsKey()
{
    return TRegistryKey(HKEY_CURRENT_USER, kFlagsKeyPath, KEY_READ | KEY_WRITE,
                        TRegistryKey::kCreateMissing);
}

}  // namespace

bool ReadRegistryFlag(const wchar_t *valueName)
{
    DWORD value = 1;
    if (TRegistryKey key = OpenFlagsKey()) {
        DWORD size = sizeof(value);
        DWORD type = 0;
        if (RegQueryValueExW(key.Get(), valueName, nullptr, &type,
                             reinterpret_cast<BYTE *>(&value), &size) != ERROR_SUCCESS)
            value = 1;
    }
    return value != 0;
}

void WriteRegistryFlag(const wchar_t *valueName, bool on)
{
    TRegistryKey key = OpenFlagsKey();
    if (!key)
        return;
    DWORD value = on ? 1 : 0;
    RegSetValueExW(key.Get(), valueName, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value),
                   sizeof(value));
}
