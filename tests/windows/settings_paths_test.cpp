#include <gtest/gtest.h>

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <string>

#include "settings/settings.h"

static std::wstring Resolved(const KNOWNFOLDERID &folder)
{
    wchar_t path[MAX_PATH];
    ResolveFolder(folder, path);
    return path;
}

static std::wstring AskSystem(const KNOWNFOLDERID &folder)
{
    wchar_t *answer = nullptr;
    SHGetKnownFolderPath(folder, 0, nullptr, &answer);
    std::wstring text = answer ? answer : L"";
    CoTaskMemFree(answer);
    return text;
}

TEST(ResolveFolder, UserFoldersAreFixedPlacesUnderTheProfile)
{
    const std::wstring profile = AskSystem(FOLDERID_Profile);
    ASSERT_FALSE(profile.empty());
    struct Case {
        const KNOWNFOLDERID *folder;
        const wchar_t *tail;
    } cases[] = {
        {&FOLDERID_Profile, L"\\"},
        {&FOLDERID_StartMenu, L"\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\"},
        {&FOLDERID_Programs, L"\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\"},
        {&FOLDERID_Recent, L"\\AppData\\Roaming\\Microsoft\\Windows\\Recent\\"},
        {&FOLDERID_Documents, L"\\Documents\\"},
        {&FOLDERID_LocalAppData, L"\\AppData\\Local\\"},
        {&FOLDERID_Music, L"\\Music\\"},
        {&FOLDERID_Pictures, L"\\Pictures\\"},
        {&FOLDERID_Videos, L"\\Videos\\"},
        {&FOLDERID_Desktop, L"+UNKNOWN+"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Resolved(*c.folder), profile + c.tail);
}

TEST(ResolveFolder, SystemFoldersFollowTheSystemsAnswer)
{
    EXPECT_EQ(Resolved(FOLDERID_CommonStartMenu), AskSystem(FOLDERID_CommonStartMenu) + L"\\");
    EXPECT_EQ(Resolved(FOLDERID_System), AskSystem(FOLDERID_System) + L"\\");
}

TEST(DataFolder, IsCreatedUnderLocalAppData)
{
    wchar_t folder[MAX_PATH];
    FormDataFolder(folder);
    EXPECT_EQ(std::wstring(folder), Resolved(FOLDERID_LocalAppData) + L"\\TVRA\\");
    DWORD attributes = GetFileAttributesW(folder);
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(ProgramFolder, IsTheFolderOfTheRunningProgramWithoutBackslash)
{
    wchar_t folder[MAX_PATH];
    GetProgramFolder(folder);
    wchar_t module[MAX_PATH];
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring expected = module;
    expected.resize(expected.rfind(L'\\'));
    EXPECT_EQ(std::wstring(folder), expected);
}

TEST(SystemDescription, NamesTheProductAndTheBitness)
{
    wchar_t text[kSystemDescriptionSize];
    FillSystemDescription(text);
    std::wstring description = text;
    ASSERT_GT(description.size(), 7u);
    EXPECT_EQ(description.substr(description.size() - 7), L" 64bits");
    EXPECT_NE(description.find(L"Windows"), std::wstring::npos);
}

int wmain(int argc, wchar_t **argv)
{
    CoInitialize(nullptr);
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
