// Menu building from real folder trees: a user and an all-users Start Menu in a temporary
// folder, merged, ordered by a custom order file and completed with the special section.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/menu_tree.h"
#include "app/order_file.h"
#include "app/window_classes.h"
#include "common/messages.h"
#include "menu/menu_build.h"
#include "menu/menu_item.h"
#include "menu/tmenu.h"
#include "settings/settings.h"
#include "test_files.h"

namespace {

using Names = std::vector<std::wstring>;

std::wstring g_root;  // the temporary folder holding both trees

void CreateTree(const std::wstring &base, std::initializer_list<const wchar_t *> entries)
{
    CreateDirectoryW(base.c_str(), nullptr);
    for (std::wstring entry : entries) {
        bool hidden = entry[0] == L'!';
        if (hidden)
            entry.erase(0, 1);
        std::wstring path = base + entry;
        if (path.back() == L'\\') {
            CreateDirectoryW(path.c_str(), nullptr);
        } else {
            HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
            CloseHandle(file);
        }
        if (hidden)
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    }
}

// Item paths shortened to "u/..." and "c/..." for the two trees.
std::wstring ShortName(const TMenuItem *item)
{
    if (item->IsEmptyMarker)
        return L"<empty>";
    std::wstring path = item->Path;
    for (auto [prefix, tag] : {std::pair{std::wstring(MenuFolders.UserStartMenu), L"u/"},
                               std::pair{std::wstring(MenuFolders.CommonStartMenu), L"c/"}})
        if (path.starts_with(prefix))
            return tag + path.substr(prefix.size());
    return path;
}

Names Level(const TMenu *level)
{
    Names names;
    for (const TMenuItem *item = level->Items; item; item = item->Next)
        names.push_back(ShortName(item));
    return names;
}

Names Sorted(Names names)
{
    std::sort(names.begin(), names.end());
    return names;
}

TMenuItem *Find(const TMenu *level, const std::wstring &name)
{
    for (TMenuItem *item = level->Items; item; item = item->Next)
        if (ShortName(item) == name)
            return item;
    return nullptr;
}

void WriteBytes(const std::wstring &path, const std::u16string &text)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), DWORD(text.size() * 2), &written, nullptr);
    CloseHandle(file);
}

std::u16string Text(const std::wstring &s) { return std::u16string(s.begin(), s.end()); }

class MenuBuildTest : public testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        g_root = std::wstring(temp) + L"orvella-build-" + std::to_wstring(GetTickCount()) + L"\\";
        CreateDirectoryW(g_root.c_str(), nullptr);
        user_ = g_root + L"User\\";
        common_ = g_root + L"Common\\";
        CreateTree(user_, {L"Alpha.txt", L"!Secret.txt", L".dot.txt", L"Shared\\",
                           L"Shared\\U1.txt", L"Empty\\", L"Programs\\", L"Programs\\P1.txt",
                           L".config\\", L".config\\inside.txt"});
        CreateTree(common_, {L"Alpha.txt", L"Beta.txt", L"!Hidden\\", L"Shared\\",
                             L"Shared\\C1.txt", L"Solo\\", L"Solo\\S1.txt"});
        wcscpy(MenuFolders.UserStartMenu, user_.c_str());
        wcscpy(MenuFolders.CommonStartMenu, common_.c_str());
        wcscpy(MenuFolders.Programs, (user_ + L"Programs\\").c_str());
        wcscpy(MenuFolders.OrderFile, (g_root + L"sort.txt").c_str());
        saved_ = Settings;
        wcscpy(Settings.ShowString, L"");
        Settings.ProgramsOnTop = true;
        Settings.ShowControlEx = false;
    }
    void TearDown() override
    {
        delete root_;
        std::copy(std::begin(saved_.ShowString), std::end(saved_.ShowString),
                  Settings.ShowString);
        Settings.ProgramsOnTop = saved_.ProgramsOnTop;
        Settings.ShowControlEx = saved_.ShowControlEx;
        RemoveTree(g_root);
    }
    TMenu *Build()
    {
        delete root_;
        root_ = new TMenu(nullptr, false);
        BuildAll(root_);
        return root_;
    }
    // The top level after the folder items: the separator and what follows it.
    Names Section(const TMenu *level)
    {
        Names names = Level(level);
        auto separator = std::find(names.begin(), names.end(), L"*separator");
        return Names(separator, names.end());
    }

    std::wstring user_, common_;
    TMenu *root_ = nullptr;
    TSettings saved_;
};

} // namespace

TEST_F(MenuBuildTest, MergesBothTreesByDisplayName)
{
    TMenu *root = Build();
    Names top = Level(root);
    ASSERT_FALSE(top.empty());
    EXPECT_EQ(top.back(), L"*separator");
    top.pop_back();
    // One Alpha (the user's), one Shared folder (the user's path), no hidden or dot names.
    EXPECT_EQ(Sorted(top), (Names{L"c/Beta.txt", L"c/Solo", L"u/Alpha.txt", L"u/Empty",
                                  L"u/Programs", L"u/Shared"}));
    // The user's entries come first; the common folder only adds after them.
    EXPECT_EQ(Names(top.begin() + 4, top.end()) , (Names{L"c/Beta.txt", L"c/Solo"}));

    EXPECT_EQ(Level(Find(root, L"u/Shared")->Submenu),
              (Names{L"u/Shared\\U1.txt", L"c/Shared\\C1.txt"}));
    EXPECT_EQ(Level(Find(root, L"c/Solo")->Submenu), (Names{L"c/Solo\\S1.txt"}));

    TMenuItem *empty = Find(root, L"u/Empty")->Submenu->Items;
    ASSERT_NE(empty, nullptr);
    EXPECT_TRUE(empty->IsEmptyMarker);
    EXPECT_EQ(empty->Next, nullptr);
    EXPECT_STREQ(empty->Caption, Settings.Local[LocalEmpty]);
}

TEST_F(MenuBuildTest, ShowStringLettersSpellTheSpecialSection)
{
    struct Case {
        const wchar_t *showString;
        bool showControlEx;
        Names section;
    } cases[] = {
        {L"", false, {L"*separator"}},
        {L"AGZmb?", false, {L"*separator"}},
        {L"-B", false, {L"*separator", L"*separator", L"*busquedarapida"}},
        {L"HH", false, {L"*separator", L"*ayuda", L"*ayuda"}},
        {L"MCHRFTSDOEBLU", false,
         {L"*separator", L"*administrar", L"*consola", L"*ayuda", L"*ejecutar", L"*3d",
          L"*administradordetareas", L"*buscar", L"*recientes", L"*paneldecontrol",
          L"*menupordefecto", L"*busquedarapida", L"*sesion", L"*apagar"}},
        {L"O", true, {L"*separator", L"*paneldecontrol"}},
    };
    for (const Case &c : cases) {
        wcscpy(Settings.ShowString, c.showString);
        Settings.ShowControlEx = c.showControlEx;
        TMenu *root = Build();
        std::wstring what = c.showString;
        EXPECT_EQ(Section(root), c.section) << std::string(what.begin(), what.end());

        bool searchLine = what.find(L'B') != std::wstring::npos;
        EXPECT_EQ(MenuState.SearchBoxPresent, searchLine);
        EXPECT_EQ(GetDlgItem(root->Window, kSearchBoxControlId) != nullptr, searchLine);

        for (const TMenuItem *item = root->Items; item; item = item->Next) {
            if (item->Path[0] != L'*')
                continue;
            EXPECT_FALSE(item->IsMovable) << item->Path;
            bool subLevel = wcscmp(item->Path, L"*buscar") == 0 ||
                            wcscmp(item->Path, L"*recientes") == 0 ||
                            (wcscmp(item->Path, L"*paneldecontrol") == 0 && c.showControlEx);
            EXPECT_EQ(item->Submenu != nullptr, subLevel) << item->Path;
        }
    }

    wcscpy(Settings.ShowString, L"SL");
    TMenu *root = Build();
    EXPECT_EQ(Level(Find(root, L"*buscar")->Submenu),
              (Names{L"*buscarficheros", L"*buscarinternet", L"*buscarpersonas",
                     L"*buscarequipos", L"*buscarimpresoras"}));
    wchar_t user[MAX_PATH];
    DWORD size = MAX_PATH;
    GetUserNameW(user, &size);
    EXPECT_NE(std::wstring(Find(root, L"*sesion")->Caption).find(user), std::wstring::npos);
}

TEST_F(MenuBuildTest, ProgramsItemPlacementAndRefreshMatchAFullBuild)
{
    wcscpy(Settings.ShowString, L"HB-U");
    for (bool onTop : {true, false}) {
        Settings.ProgramsOnTop = onTop;
        TMenu *root = Build();
        TMenuItem *programs = Find(root, L"u/Programs");
        ASSERT_NE(programs, nullptr);
        EXPECT_TRUE(programs->IsProgramsFolder);
        EXPECT_EQ(programs->IsMovable, onTop);
        EXPECT_STREQ(programs->Caption, Settings.Local[LocalRenamePrograms]);
        Names expectedSection = onTop
            ? Names{L"*separator", L"*ayuda", L"*busquedarapida", L"*separator", L"*apagar"}
            : Names{L"*separator", L"u/Programs", L"*ayuda", L"*busquedarapida",
                    L"*separator", L"*apagar"};
        EXPECT_EQ(Section(root), expectedSection) << "on top " << onTop;

        Names full = Level(root);
        StripSpecialItems(root);
        AddSpecialItems(root, true);
        EXPECT_EQ(Level(root), full) << "refresh, on top " << onTop;
        EXPECT_NE(GetDlgItem(root->Window, kSearchBoxControlId), nullptr);
    }

    // The setting changed while the menu stands (the options path).  Cleared, the result is
    // the full build's; set, the item stands right above the separator.
    for (bool onTop : {true, false}) {
        Settings.ProgramsOnTop = !onTop;
        TMenu *root = Build();
        Settings.ProgramsOnTop = onTop;
        MoveProgramsItem(root);
        StripSpecialItems(root);
        AddSpecialItems(root, true);
        Names changed = Level(root);
        EXPECT_EQ(Find(root, L"u/Programs")->IsMovable, onTop);
        Names full = Level(Build());
        if (!onTop) {
            EXPECT_EQ(changed, full);
            continue;
        }
        auto separator = std::find(changed.begin(), changed.end(), L"*separator");
        ASSERT_NE(separator, changed.begin());
        EXPECT_EQ(*(separator - 1), L"u/Programs");
        EXPECT_EQ(Sorted(changed), Sorted(full));
    }
}

TEST_F(MenuBuildTest, RefreshWithoutAProgramsItemAddsNothingTwice)
{
    wcscpy(Settings.ShowString, L"HU");
    wcscpy(MenuFolders.Programs, (user_ + L"Missing\\").c_str());
    Settings.ProgramsOnTop = false;
    TMenu *root = Build();
    Names full = Level(root);
    StripSpecialItems(root);
    AddSpecialItems(root, true);
    EXPECT_EQ(Level(root), full);
}

TEST_F(MenuBuildTest, OrderFileIsAppliedAndWrittenBack)
{
    wcscpy(Settings.ShowString, L"HB");
    const std::wstring shared = user_ + L"Shared";
    // The root names Solo first and Beta second; Shared names the common entry first.
    std::u16string file = u"*NULL\r\n" + Text(common_ + L"Solo") + u"\r\n" +
                          Text(common_ + L"Beta.txt") + u"\r\n" + u"*" + Text(shared) +
                          u"\r\n" + Text(common_ + L"Shared\\C1.txt") + u"\r\n|";
    WriteBytes(MenuFolders.OrderFile, file);

    TMenu *root = Build();
    Names top = Level(root);
    ASSERT_GE(top.size(), 2u);
    EXPECT_EQ(Names(top.begin(), top.begin() + 2), (Names{L"c/Solo", L"c/Beta.txt"}));
    EXPECT_EQ(Level(Find(root, L"u/Shared")->Submenu),
              (Names{L"c/Shared\\C1.txt", L"u/Shared\\U1.txt"}));

    // Written back: every level depth first, no special item, no placeholder, and the same
    // tree built again writes the very same bytes.
    WriteOrderFile(root, MenuFolders.OrderFile);
    std::string written = FileBytes(MenuFolders.OrderFile);
    EXPECT_EQ(GetFileAttributesW((std::wstring(MenuFolders.OrderFile) + L".new").c_str()),
              INVALID_FILE_ATTRIBUTES);
    ASSERT_GE(written.size(), 12u);
    EXPECT_EQ(written.substr(0, 12), std::string("*\0N\0U\0L\0L\0\r\0", 12));
    EXPECT_EQ(written.substr(written.size() - 6), std::string("\r\0\n\0|\0", 6));
    std::wstring asText(reinterpret_cast<const wchar_t *>(written.data()), written.size() / 2);
    EXPECT_EQ(asText.find(L"*ayuda"), std::wstring::npos);
    EXPECT_EQ(asText.find(L"*busquedarapida"), std::wstring::npos);
    EXPECT_EQ(asText.find(L"*separator"), std::wstring::npos);
    // The empty folder's record is its header alone.
    size_t empty = asText.find(L"*" + user_ + L"Empty\r\n");
    ASSERT_NE(empty, std::wstring::npos);
    wchar_t next = asText[empty + user_.size() + 8];
    EXPECT_TRUE(next == L'*' || next == L'|') << int(next);

    Build();
    WriteOrderFile(root_, MenuFolders.OrderFile);
    EXPECT_EQ(FileBytes(MenuFolders.OrderFile), written);
}

TEST_F(MenuBuildTest, RebuildShowsEntriesAddedOutsideTheProgram)
{
    TMenu *root = Build();
    CreateTree(common_, {L"Later\\", L"Later\\New.txt"});
    Rebuild(root);
    TMenuItem *later = Find(root, L"c/Later");
    ASSERT_NE(later, nullptr);
    EXPECT_EQ(Level(later->Submenu), (Names{L"c/Later\\New.txt"}));
    Names top = Level(root);
    EXPECT_EQ(std::count(top.begin(), top.end(), L"*separator"), 1);
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
