#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "menu/menu_item.h"
#include "menu/tmenu.h"
#include "settings/settings.h"
#include "test_files.h"

namespace {

// A level without a window whose layout only counts its calls.
class CountingMenu : public TMenu {
public:
    CountingMenu() : TMenu(nullptr, false) {}
    void Layout() override { ++Layouts; }
    int Layouts = 0;
};

std::vector<std::wstring> Paths(const TMenu &menu)
{
    std::vector<std::wstring> paths;
    for (TMenuItem *item = menu.Items; item; item = item->Next) {
        EXPECT_EQ(item->Owner, &menu);
        EXPECT_EQ(item->Next ? item->Next->Prev : item, item) << "broken back link";
        paths.push_back(item->IsEmptyMarker ? L"<empty>" : item->Path);
    }
    return paths;
}

void Fill(TMenu &menu, std::initializer_list<const wchar_t *> paths)
{
    for (const wchar_t *path : paths)
        menu.Append(path, false, false, true);
}

using Names = std::vector<std::wstring>;

std::wstring TempFolder(const wchar_t *name)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + name;
    SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    return folder;
}

class MenuItems : public testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        wcscpy(Settings.Local[LocalEmpty], L"(nothing here)");
    }
    void TearDown() override { CoUninitialize(); }
};

}  // namespace

TEST_F(MenuItems, MakeItemFlagsFollowThePath)
{
    struct Case {
        const wchar_t *path;
        bool placeholder;
        bool separator, movable;
    } cases[] = {
        {L"C:\\file.txt", false, false, true},
        {L"", true, false, true},
        {L"*separator", false, true, false},
        {L"*ayuda", false, false, false},
        {L"{21EC2020-3AEA-1069-A2DD-08002B30309D}", false, false, false},
    };
    for (const Case &c : cases) {
        TMenuItem *item = MakeItem(c.path, false, c.placeholder, true);
        EXPECT_EQ(item->IsEmptyMarker, c.placeholder) << c.path;
        EXPECT_EQ(item->IsSeparator, c.separator) << c.path;
        EXPECT_EQ(item->IsMovable, c.movable) << c.path;
        EXPECT_FALSE(item->IsProgramsFolder);
        EXPECT_EQ(item->Submenu, nullptr);
        DestroyItem(item);
    }
    TMenuItem *folder = MakeItem(L"C:\\folder", true, false, true);
    ASSERT_NE(folder->Submenu, nullptr);
    EXPECT_EQ(folder->Submenu->ParentItem, folder);
    EXPECT_FALSE(folder->Submenu->IsSample);
    DestroyItem(folder);
}

TEST_F(MenuItems, ALevelIsNeverLeftEmpty)
{
    CountingMenu menu;
    Fill(menu, {L"a"});
    menu.RemoveAt(0);
    ASSERT_EQ(Paths(menu), Names{L"<empty>"});
    EXPECT_STREQ(menu.Items->Caption, L"(nothing here)");

    // A real item replaces the placeholder; another placeholder is refused.
    TMenuItem *real = menu.Append(L"b", false, false, true);
    EXPECT_EQ(Paths(menu), Names{L"b"});
    EXPECT_EQ(menu.Append(L"", false, true, false), real);
    EXPECT_EQ(Paths(menu), Names{L"b"});

    menu.RemoveAt(5);
    menu.RemoveAt(-1);
    EXPECT_EQ(menu.Count(), 1);
}

TEST_F(MenuItems, InsertAtPlacesByIndexAndReplacesThePlaceholder)
{
    struct Case {
        int index;
        Names expected;
    } cases[] = {
        {-4, {L"new", L"a", L"b", L"c"}},
        {0, {L"new", L"a", L"b", L"c"}},
        {1, {L"a", L"new", L"b", L"c"}},
        {2, {L"a", L"b", L"new", L"c"}},
        {3, {L"a", L"b", L"c", L"new"}},
        {99, {L"a", L"b", L"c", L"new"}},
    };
    for (const Case &c : cases) {
        CountingMenu menu;
        Fill(menu, {L"a", L"b", L"c"});
        menu.InsertAt(c.index, MakeItem(L"new", false, false, true));
        EXPECT_EQ(Paths(menu), c.expected) << c.index;
    }
    CountingMenu holder;
    holder.Append(L"", false, true, false);
    holder.InsertAt(3, MakeItem(L"only", false, false, true));
    EXPECT_EQ(Paths(holder), Names{L"only"});
    CountingMenu empty;
    empty.InsertAt(2, MakeItem(L"first", false, false, true));
    EXPECT_EQ(Paths(empty), Names{L"first"});
}

TEST_F(MenuItems, SwapExchangesNeighboursAndDistantItemsOnly)
{
    struct Case {
        int a, b;
        Names expected;
        int layouts;
    } cases[] = {
        {0, 1, {L"b", L"a", L"c", L"d"}, 1},
        {2, 1, {L"a", L"c", L"b", L"d"}, 1},
        {0, 3, {L"d", L"b", L"c", L"a"}, 1},
        {3, 1, {L"a", L"d", L"c", L"b"}, 1},
        {2, 2, {L"a", L"b", L"c", L"d"}, 0},
        {1, 4, {L"a", L"b", L"c", L"d"}, 0},
        {-1, 0, {L"a", L"b", L"c", L"d"}, 0},
    };
    for (const Case &c : cases) {
        CountingMenu menu;
        Fill(menu, {L"a", L"b", L"c", L"d"});
        menu.Swap(c.a, c.b);
        EXPECT_EQ(Paths(menu), c.expected) << c.a << "," << c.b;
        EXPECT_EQ(menu.Layouts, c.layouts);
    }
}

TEST_F(MenuItems, IndexQueriesWalkTheList)
{
    CountingMenu menu;
    EXPECT_EQ(menu.Count(), 0);
    EXPECT_EQ(menu.HotIndex(), -1);
    Fill(menu, {L"a", L"b", L"c"});
    EXPECT_STREQ(menu.ItemAt(2)->Path, L"c");
    EXPECT_EQ(menu.ItemAt(3), nullptr);
    EXPECT_EQ(menu.ItemAt(-1), nullptr);
    menu.ItemAt(1)->Hot = true;
    EXPECT_EQ(menu.HotIndex(), 1);
    menu.Clear();
    EXPECT_EQ(menu.Count(), 0);
}

TEST_F(MenuItems, FindByPathSearchesSubLevelsAndRecordsTheItem)
{
    CountingMenu root;
    Fill(root, {L"C:\\a"});
    TMenuItem *folder = root.Append(L"C:\\folder", true, false, true);
    TMenuItem *inner = folder->Submenu->Append(L"C:\\folder\\Inner.lnk", false, false, true);
    MenuState.CurrentItem = nullptr;
    EXPECT_EQ(root.FindByPath(L"C:\\folder\\Inner.lnk"), folder->Submenu);
    EXPECT_EQ(MenuState.CurrentItem, inner);
    EXPECT_EQ(root.FindByPath(L"c:\\folder\\inner.lnk"), nullptr);
    EXPECT_EQ(root.FindByPath(L"C:\\folder"), &root);
    EXPECT_EQ(MenuState.CurrentItem, folder);
    root.Clear();
    EXPECT_EQ(MenuState.CurrentItem, nullptr) << "a destroyed item stayed current";
}

TEST_F(MenuItems, FindByCaptionFoldsOnlyAsciiLetters)
{
    const std::wstring folder = TempFolder(L"orvella-caption");
    const std::wstring games = folder + L"\\Games";
    const std::wstring accented = folder + L"\\\u00C9t\u00E9";
    CreateDirectoryW(games.c_str(), nullptr);
    CreateDirectoryW(accented.c_str(), nullptr);
    CountingMenu menu;
    TMenuItem *upper = menu.Append(L"x", false, false, true);
    wcscpy(upper->Caption, L"GAMES");
    TMenuItem *folded = menu.Append(L"y", false, false, true);
    wcscpy(folded->Caption, L"\u00E9T\u00C9");  // differs from "Été" in accented case only
    TMenuItem *searchLine = menu.Append(L"", false, false, true);
    searchLine->Caption[0] = 0;
    EXPECT_EQ(menu.FindByCaption(games.c_str()), upper);
    EXPECT_EQ(menu.FindByCaption(accented.c_str()), nullptr);
    EXPECT_EQ(menu.FindByCaption((folder + L"\\missing\\x\\y").c_str()), nullptr);
}

TEST_F(MenuItems, LookUpFillsCaptionIconTimeAndTip)
{
    const std::wstring folder = TempFolder(L"orvella-lookup");
    wchar_t target[MAX_PATH];
    GetSystemDirectoryW(target, MAX_PATH);
    wcscat(target, L"\\notepad.exe");
    struct Case {
        const wchar_t *name;
        const wchar_t *description;
        const wchar_t *caption;
        std::wstring tip;
    } cases[] = {
        {L"Editor.lnk", L"Edit plain text", L"Editor", L"Edit plain text"},
        {L"Plain.lnk", nullptr, L"Plain", target},
    };
    for (const Case &c : cases) {
        const std::wstring path = folder + L"\\" + c.name;
        ASSERT_TRUE(MakeShortcut(path, target, c.description));
        TMenuItem *item = MakeItem(path.c_str(), false, false, false);
        EXPECT_STREQ(item->Caption, c.caption);
        EXPECT_EQ(std::wstring(item->Tip), c.tip);
        EXPECT_NE(item->Icon, nullptr);
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
        EXPECT_EQ(item->CreatedHigh, data.ftCreationTime.dwHighDateTime);
        EXPECT_TRUE(IsItemNew(item) == Settings.Hilight);
        DestroyItem(item);
    }
    // No shortcut, no tip; a folder still gives its creation time.
    TMenuItem *plain = MakeItem(folder.c_str(), true, false, false);
    EXPECT_STREQ(plain->Tip, L"");
    EXPECT_NE(plain->CreatedHigh, 0u);
    DestroyItem(plain);
    TMenuItem *missing = MakeItem((folder + L"\\gone.txt").c_str(), false, false, false);
    EXPECT_EQ(missing->CreatedHigh, 0u);
    EXPECT_STREQ(missing->Tip, L"");
    DestroyItem(missing);
}

TEST_F(MenuItems, SpecialItemIconsComeFromTheirSettings)
{
    wcscpy(Settings.SpecialIconFile[IconHelp], L"%SystemRoot%\\system32\\shell32.dll");
    Settings.SpecialIconIndex[IconHelp] = 3;
    HICON icon = LoadSpecialItemIcon(L"*ayuda");
    EXPECT_NE(icon, nullptr);
    DestroyIcon(icon);
    EXPECT_EQ(LoadSpecialItemIcon(L"*separator"), nullptr);
    EXPECT_EQ(LoadSpecialItemIcon(L"*unknown"), nullptr);
}

int wmain(int argc, wchar_t **argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
