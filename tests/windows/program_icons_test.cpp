// The program icons 101 to 104 of tvra.exe: each holds a 16, a 32 and a 48 pixel image, and
// each of them loads at its own size.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "test_files.h"

namespace {

#pragma pack(push, 2)
struct TIconGroupEntry {
    BYTE Width, Height, Colors, Reserved;
    WORD Planes, BitCount;
    DWORD Bytes;
    WORD Id;
};
struct TIconGroup {
    WORD Reserved, Type, Count;
    TIconGroupEntry Entries[1];
};
#pragma pack(pop)

TEST(ProgramIcons, EachHasThreeSizesThatLoad)
{
    const std::wstring program = WindowsPath(ORVELLA_IMAGE_DIR) + L"\\tvra.exe";
    HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    for (int id : {101, 102, 103, 104}) {
        HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), RT_GROUP_ICON);
        ASSERT_NE(found, nullptr) << id;
        const auto *group = static_cast<const TIconGroup *>(LockResource(LoadResource(module, found)));
        std::set<int> sizes;
        for (int i = 0; i < group->Count; ++i)
            sizes.insert(group->Entries[i].Width ? group->Entries[i].Width : 256);
        EXPECT_EQ(sizes, (std::set<int>{16, 32, 48})) << id;
        for (int size : {16, 32, 48}) {
            HICON icon = static_cast<HICON>(
                LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
            ASSERT_NE(icon, nullptr) << id << " at " << size;
            ICONINFO info = {};
            ASSERT_TRUE(GetIconInfo(icon, &info)) << id << " at " << size;
            BITMAP bitmap = {};
            GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
            EXPECT_EQ(bitmap.bmWidth, size) << id;
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(icon);
        }
    }
    FreeLibrary(module);
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
