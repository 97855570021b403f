// A folder scan fills its items in one pass with one shell link object for all shortcuts;
// what it gives each item must equal what a lookup of that item alone gives, and a built
// tree must be laid out in its final order.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "app/menu_tree.h"
#include "app/order_file.h"
#include "app/window_classes.h"
#include "menu/menu_build.h"
#include "menu/menu_item.h"
#include "menu/tmenu.h"
#include "settings/settings.h"
#include "test_files.h"

namespace {

std::wstring TempFolder(const wchar_t *name)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + name + std::to_wstring(GetTickCount()) + L"\\";
}

void MakeFile(const std::wstring &path)
{
    CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::wstring SystemFile(const wchar_t *name)
{
    wchar_t folder[MAX_PATH];
    GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\" + name;
}

std::wstring Caption(const TMenuItem *item) { return item->Caption; }

class MenuScan : public testing::Test {
protected:
    void SetUp() override
    {
        folder_ = TempFolder(L"orvella-scan-");
        CreateDirectoryW(folder_.c_str(), nullptr);
    }
    void TearDown() override { RemoveTree(folder_); }

    std::wstring folder_;
};

} // namespace

// Shortcuts with and without a description follow each other, with a plain file and a
// broken link between them: nothing one shortcut leaves in the shared link object may
// show in the next item's tooltip.
TEST_F(MenuScan, EveryItemGetsWhatItsOwnLookUpGives)
{
    const std::wstring notepad = SystemFile(L"notepad.exe");
    const std::wstring notes = folder_ + L"3 Notes.txt";
    const std::wstring gone = folder_ + L"Nowhere\\gone.exe";
    struct Case {
        const wchar_t *name;
        std::wstring target;  // empty: a plain file, no shortcut
        const wchar_t *description;
        std::wstring caption, tip;
    } cases[] = {
        {L"1 Described.lnk", notepad, L"Edit plain text", L"1 Described", L"Edit plain text"},
        {L"2 Plain.lnk", notes, nullptr, L"2 Plain", notes},
        {L"3 Notes.txt", L"", nullptr, L"3 Notes.txt", L""},
        {L"4 Broken.lnk", gone, L"Was here", L"4 Broken", L"Was here"},
        {L"5 After.lnk", notepad, nullptr, L"5 After", notepad},
    };
    for (const Case &c : cases) {
        if (c.target.empty())
            MakeFile(folder_ + c.name);
        else
            ASSERT_TRUE(MakeShortcut(folder_ + c.name, c.target, c.description));
    }
    CreateDirectoryW((folder_ + L"6 Tools").c_str(), nullptr);
    ASSERT_TRUE(MakeShortcut(folder_ + L"6 Tools\\Inner.lnk", notepad, L"Inner tip"));

    TMenu level(nullptr, false);
    ScanFolder(&level, folder_.c_str());
    ASSERT_EQ(level.Count(), 6);
    for (const Case &c : cases) {
        const std::wstring path = folder_ + c.name;
        TMenu *holder = level.FindByPath(path.c_str());
        ASSERT_EQ(holder, &level) << path;
        const TMenuItem *scanned = MenuState.CurrentItem;
        EXPECT_EQ(Caption(scanned), c.caption);
        EXPECT_EQ(std::wstring(scanned->Tip), c.tip) << path;
    }
    TMenu *tools = level.FindByPath((folder_ + L"6 Tools\\Inner.lnk").c_str());
    ASSERT_NE(tools, nullptr);
    EXPECT_STREQ(tools->Items->Tip, L"Inner tip");

    // Folders and files alike: the same caption, tip, time and icon as a lookup alone.
    std::vector<const TMenuItem *> scanned;
    for (const TMenuItem *item = level.Items; item; item = item->Next)
        scanned.push_back(item);
    scanned.push_back(tools->Items);
    for (const TMenuItem *item : scanned) {
        TMenuItem *alone = MakeItem(item->Path, false, false, false);
        EXPECT_STREQ(item->Caption, alone->Caption) << item->Path;
        EXPECT_STREQ(item->Tip, alone->Tip) << item->Path;
        EXPECT_EQ(item->CreatedHigh, alone->CreatedHigh) << item->Path;
        EXPECT_NE(item->CreatedHigh, 0u) << item->Path;
        EXPECT_EQ(item->Icon != nullptr, alone->Icon != nullptr) << item->Path;
        DestroyItem(alone);
    }

    // Asked through the folder parsed once, the shell answers as it does for the full path;
    // a name it cannot parse still gets the answer for its path.
    const TShellFolderQuery query(folder_.c_str());
    for (const wchar_t *name : {L"1 Described.lnk", L"3 Notes.txt", L"6 Tools", L"missing.lnk"}) {
        const std::wstring path = folder_ + name;
        const TShellInfo byPath = QueryShellInfo(path.c_str());
        const TShellInfo inFolder = query.Query(name, path.c_str());
        EXPECT_EQ(inFolder.Images, byPath.Images) << path;
        EXPECT_EQ(inFolder.Info.iIcon, byPath.Info.iIcon) << path;
        EXPECT_STREQ(inFolder.Info.szDisplayName, byPath.Info.szDisplayName) << path;
    }
}

// The merge key is the shell's display name, which hides the ".lnk" of shortcuts but shows
// other extensions, and folds only the case of a to z.
TEST_F(MenuScan, MergeKeyIsTheShellDisplayName)
{
    const std::wstring notepad = SystemFile(L"notepad.exe");
    struct Case {
        const wchar_t *first, *second;
        bool merged;
    } cases[] = {
        {L"Editor.lnk", L"EDITOR.lnk", true},
        {L"Editor.lnk", L"Editor.txt", false},
        {L"Editor.txt", L"editor.TXT", true},
        {L"Editor.lnk", L"Editor", true},  // a folder named like the shortcut's caption
    };
    for (const Case &c : cases) {
        const std::wstring user = folder_ + L"User\\", common = folder_ + L"Common\\";
        CreateDirectoryW(user.c_str(), nullptr);
        CreateDirectoryW(common.c_str(), nullptr);
        for (auto [dir, name] : {std::pair{user, c.first}, std::pair{common, c.second}}) {
            std::wstring path = dir + name;
            if (path.ends_with(L".lnk"))
                ASSERT_TRUE(MakeShortcut(path, notepad, nullptr));
            else if (path.ends_with(L".txt") || path.ends_with(L".TXT"))
                MakeFile(path);
            else
                CreateDirectoryW(path.c_str(), nullptr);
        }
        TMenu level(nullptr, false);
        ScanFolder(&level, user.c_str());
        ScanFolder(&level, common.c_str());
        EXPECT_EQ(level.Count(), c.merged ? 1 : 2) << c.first << " / " << c.second;
        EXPECT_EQ(std::wstring(level.Items->Path), user + c.first);
        RemoveTree(user);
        RemoveTree(common);
    }
}

// The order file and the Programs placement exchange many items; the levels must still end
// up laid out in the order they show.
TEST_F(MenuScan, BuiltLevelsAreLaidOutInTheirFinalOrder)
{
    const std::wstring user = folder_ + L"User\\";
    CreateDirectoryW(user.c_str(), nullptr);
    CreateDirectoryW((user + L"Programs").c_str(), nullptr);
    CreateDirectoryW((user + L"Games").c_str(), nullptr);
    std::u16string order = u"*NULL\r\n";
    std::u16string games = u"*";
    games.append(user.begin(), user.end()).append(u"Games\r\n");
    for (const wchar_t *name : {L"a.txt", L"b.txt", L"c.txt", L"d.txt", L"e.txt"}) {
        MakeFile(user + name);
        MakeFile(user + L"Games\\" + name);
    }
    for (const wchar_t *name : {L"e.txt", L"d.txt", L"c.txt", L"b.txt", L"a.txt"}) {
        std::wstring path = user + name;
        order += std::u16string(path.begin(), path.end()) + u"\r\n";
        path = user + L"Games\\" + name;
        games += std::u16string(path.begin(), path.end()) + u"\r\n";
    }
    std::u16string text = order + games + u"|";
    const std::wstring orderFile = folder_ + L"sort.txt";
    HANDLE file =
        CreateFileW(orderFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), DWORD(text.size() * 2), &written, nullptr);
    CloseHandle(file);

    const TMenuFolders savedFolders = MenuFolders;
    const bool savedOnTop = Settings.ProgramsOnTop;
    wchar_t savedShow[std::size(Settings.ShowString)];
    wcscpy(savedShow, Settings.ShowString);
    wcscpy(MenuFolders.UserStartMenu, user.c_str());
    MenuFolders.CommonStartMenu[0] = 0;
    wcscpy(MenuFolders.Programs, (user + L"Programs\\").c_str());
    wcscpy(MenuFolders.OrderFile, orderFile.c_str());
    Settings.ProgramsOnTop = false;
    wcscpy(Settings.ShowString, L"-");

    TMenu root(nullptr, false);
    BuildAll(&root);
    std::vector<std::wstring> top;
    for (const TMenuItem *item = root.Items; item; item = item->Next)
        top.push_back(item->Path[0] == L'*' ? item->Path : item->Path + user.size());
    TMenu *gamesLevel = root.FindByPath((user + L"Games\\a.txt").c_str());
    ASSERT_NE(gamesLevel, nullptr);
    // Every item stands below the one before it: the layout followed the last exchange.
    for (TMenu *level : {&root, gamesLevel})
        for (const TMenuItem *item = level->Items; item && item->Next; item = item->Next)
            EXPECT_GE(item->Next->Rect.top, item->Rect.bottom) << item->Path;
    EXPECT_STREQ(gamesLevel->Items->Path, (user + L"Games\\e.txt").c_str());

    MenuFolders = savedFolders;
    Settings.ProgramsOnTop = savedOnTop;
    wcscpy(Settings.ShowString, savedShow);

    // The named items first, Games after them, the Programs item moved below the separator.
    EXPECT_EQ(top, (std::vector<std::wstring>{L"e.txt", L"d.txt", L"c.txt", L"b.txt", L"a.txt",
                                              L"Games", L"*separator", L"Programs",
                                              L"*separator"}));
}

// An entry whose full path fills an item's path buffer to the last unit before the
// terminating zero is listed with its whole path.
TEST_F(MenuScan, EntriesUpToTheLongestPathAnItemHoldsAreListed)
{
    for (size_t length : {MAX_PATH - 2, MAX_PATH - 1}) {
        const std::wstring name = std::wstring(length - folder_.size() - 4, L'n') + L".txt";
        const std::wstring path = folder_ + name;
        ASSERT_EQ(path.size(), length);
        MakeFile(path);
        ASSERT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES) << length;
        TMenu level(nullptr, false);
        ScanFolder(&level, folder_.c_str());
        ASSERT_FALSE(level.Items->IsEmptyMarker) << length;
        EXPECT_EQ(level.Count(), 1) << length;
        EXPECT_STREQ(level.Items->Path, path.c_str()) << length;
        DeleteFileW(path.c_str());
    }
}

int wmain(int argc, wchar_t **argv)
{
    CoInitialize(nullptr);
    LoadSettings();
    RegisterWindowClasses(GetModuleHandleW(nullptr));
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
