#include <windows.h>

#include "common/registry_flags.h"
#include "common/win_guards.h"

namespace {

constexpr REGSAM kFlagsKeyAccess = KEY_READ | KEY_WRITE;

// Creates the key when absent, as reading is also meant to do.
TRegistryKey OpenFlagsKey()
{
    return TRegistryKey(HKEY_CURRENT_USER, kFlagsKeyPath, kFlagsKeyAccess,
                        TRegistryKey::kCreateMissing);
}

}  // namespace

HKEY OpenFlagsKeyToKeep()
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kFlagsKeyPath, 0, nullptr, 0, kFlagsKeyAccess,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

bool ReadFlagOfKey(HKEY key, const wchar_t *valueName)
{
    DWORD value = 1;
    if (key) {
        DWORD size = sizeof(value);
        DWORD type = 0;
        if (RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<BYTE *>(&value),
                             &size) != ERROR_SUCCESS)
            value = 1;
    }
    return value != 0;
}

bool ReadRegistryFlag(const wchar_t *valueName)
{
    TRegistryKey key = OpenFlagsKey();
    return ReadFlagOfKey(key.Get(), valueName);
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
