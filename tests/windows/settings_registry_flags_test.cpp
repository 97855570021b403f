#include <gtest/gtest.h>

#include <windows.h>

#include "common/registry_flags.h"

namespace {

struct Flag {
    const wchar_t *value;
    bool (*read)();
    void (*set)();
    void (*clear)();
};

const Flag kFlags[] = {
    {L"AutoStart", ReadAutoStart, SetAutoStart, ClearAutoStart},
    {L"ShowDesktop", ReadShowDesktop, SetShowDesktop, ClearShowDesktop},
    {L"DisableCorners", ReadDisableCorners, SetDisableCorners, ClearDisableCorners},
};

void Store(const wchar_t *value, DWORD type, const void *data, DWORD size)
{
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Orvella", 0, nullptr, 0, KEY_WRITE, nullptr,
                    &key, nullptr);
    RegSetValueExW(key, value, 0, type, static_cast<const BYTE *>(data), size);
    RegCloseKey(key);
}

bool Stored(const wchar_t *value, DWORD *data)
{
    DWORD size = sizeof(*data);
    return RegGetValueW(HKEY_CURRENT_USER, L"Software\\Orvella", value, RRF_RT_REG_DWORD, nullptr,
                        data, &size) == ERROR_SUCCESS;
}

}  // namespace

TEST(RegistryFlags, AFreshAccountReadsEverySwitchAsOnAndGetsTheKey)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Orvella");
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Orvella");
    for (const Flag &flag : kFlags)
        EXPECT_TRUE(flag.read()) << flag.value;
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Orvella", 0, KEY_READ, &key),
              ERROR_SUCCESS) << "reading creates the key";
    RegCloseKey(key);
}

TEST(RegistryFlags, ZeroIsOffAnyOtherNumberIsOn)
{
    for (const Flag &flag : kFlags) {
        for (DWORD stored : {0u, 1u, 2u, 0xFFFFFFFFu}) {
            Store(flag.value, REG_DWORD, &stored, sizeof(stored));
            EXPECT_EQ(flag.read(), stored != 0) << flag.value << " " << stored;
        }
    }
}

TEST(RegistryFlags, SetWritesOneAndClearWritesZero)
{
    for (const Flag &flag : kFlags) {
        DWORD stored = 7;
        flag.clear();
        ASSERT_TRUE(Stored(flag.value, &stored));
        EXPECT_EQ(stored, 0u);
        EXPECT_FALSE(flag.read());
        flag.set();
        ASSERT_TRUE(Stored(flag.value, &stored));
        EXPECT_EQ(stored, 1u);
        EXPECT_TRUE(flag.read());
    }
    // The switches are independent of one another.
    ClearShowDesktop();
    EXPECT_TRUE(ReadAutoStart());
    EXPECT_TRUE(ReadDisableCorners());
    SetShowDesktop();
}

int wmain(int argc, wchar_t **argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
