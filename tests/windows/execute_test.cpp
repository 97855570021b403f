// Execute on real levels: what each item launches through the seam, with which verb,
// parameters, show mode and owner, and that the menu closes (or stays) as it should.
#include "menu/execute.h"

#include "tests/windows/menu_window_fixture.h"

namespace {

class ExecuteTest : public testing::Test {
protected:
    void SetUp() override
    {
        ClearRecords();
        Settings.ConsoleAlternative[0] = 0;
        Settings.InternetSearchAlternative[0] = 0;
    }
    void TearDown() override { delete level_; }

    // Shows a level holding `path` as its only item, makes it hot and executes it.
    void ExecuteOnly(const std::wstring &path, bool runAs)
    {
        delete level_;
        level_ = MakeLevel({L"Item|" + path});
        ShowWindow(level_->Window, SW_SHOWNA);
        SetHot(level_, 0);
        ClearRecords();
        Execute(level_, runAs);
        Pump(50);
    }

    std::wstring Folder(const KNOWNFOLDERID &id)
    {
        wchar_t path[MAX_PATH];
        ResolveFolder(id, path);
        return path;
    }

    TMenu *level_ = nullptr;
};

} // namespace

TEST_F(ExecuteTest, ShellLaunchesCarryVerbParametersShowModeAndOwner)
{
    const HWND main = MenuWindowEnvironment::MainWindow;
    const std::wstring system = Folder(FOLDERID_System);
    struct Case {
        const wchar_t *path;
        bool runAs;
        HWND owner;
        std::wstring verb, file, parameters;
        int show;
    } cases[] = {
        {L"C:\\Start Menu\\Editor.lnk", false, main, L"(null)", L"C:\\Start Menu\\Editor.lnk",
         L"(null)", SW_SHOWDEFAULT},
        {L"{21EC2020-3AEA-1069-A2DD-08002B30309D}", true, main, L"(null)", L"explorer.exe",
         L"::{26EE0668-A00A-44D7-9371-BEB064C98683}\\0\\::{21EC2020-3AEA-1069-A2DD-08002B30309D}",
         SW_SHOWDEFAULT},
        {L"*misimagenes", true, main, L"runas", L"explorer.exe", Folder(FOLDERID_Pictures),
         SW_SHOWDEFAULT},
        {L"*administradordetareas", false, main, L"(null)", system + L"taskmgr.exe", L"(null)",
         SW_SHOWDEFAULT},
        {L"*consola", false, main, L"(null)", system + L"cmd.exe",
         L"/k cd /d \"" + Folder(FOLDERID_Profile) + L"\"", SW_SHOWDEFAULT},
        {L"*ejecutar", true, nullptr, L"runas", L"rundll32.exe", L"shell32.dll,#61",
         SW_SHOWNORMAL},
        {L"*buscarinternet", false, main, L"(null)", L"https://www.google.com/", L"(null)",
         SW_SHOWDEFAULT},
    };
    for (const Case &c : cases) {
        ExecuteOnly(c.path, c.runAs);
        ASSERT_EQ(Launches.size(), 1u) << c.path;
        const TRecordedLaunch &l = Launches[0];
        EXPECT_EQ(l.what, L"execute") << c.path;
        EXPECT_EQ(l.owner, c.owner) << c.path;
        EXPECT_EQ(l.verb, c.verb) << c.path;
        EXPECT_EQ(l.file, c.file) << c.path;
        EXPECT_EQ(l.parameters, c.parameters) << c.path;
        EXPECT_EQ(l.show, c.show) << c.path;
        EXPECT_FALSE(IsWindowVisible(level_->Window)) << c.path;
        EXPECT_EQ(CountReceived(kMainWindowClass, UM_MENUS_CLOSED), 1) << c.path;
        EXPECT_EQ(CountReceived(kStartButtonClass, UM_BUTTON_RELEASED), 1) << c.path;
    }
}

TEST_F(ExecuteTest, SettingsAlternativesReplaceConsoleAndWebSearch)
{
    lstrcpyW(Settings.ConsoleAlternative, L"C:\\Tools\\term.exe");
    lstrcpyW(Settings.InternetSearchAlternative, L"https://example.org/");
    ExecuteOnly(L"*consola", true);
    ASSERT_EQ(Launches.size(), 1u);
    EXPECT_EQ(Launches[0].file, L"C:\\Tools\\term.exe");
    EXPECT_EQ(Launches[0].parameters, L"");  // an empty text, not none
    EXPECT_EQ(Launches[0].verb, L"runas");

    ExecuteOnly(L"*buscarinternet", false);
    ASSERT_EQ(Launches.size(), 1u);
    EXPECT_EQ(Launches[0].file, L"https://example.org/");
}

TEST_F(ExecuteTest, AutomationCallsAndDialogsGoThroughTheSeam)
{
    struct Case {
        const wchar_t *path;
        bool runAs;
        const wchar_t *what;
        TShellCall call;
    } cases[] = {
        {L"*ayuda", false, L"shell", TShellCall::Help},
        {L"*ejecutar", false, L"shell", TShellCall::FileRun},
        {L"*3d", false, L"shell", TShellCall::WindowSwitcher},
        {L"*buscarimpresoras", false, L"shell", TShellCall::FindPrinter},
        {L"*sesion", false, L"logoff", TShellCall::Help},
        {L"*apagar", true, L"shutdown", TShellCall::Help},
        {L"*borrarrecientes", false, L"recent", TShellCall::Help},
        {L"*borrarjumplist", false, L"jumplists", TShellCall::Help},
    };
    for (const Case &c : cases) {
        ExecuteOnly(c.path, c.runAs);
        ASSERT_EQ(Launches.size(), 1u) << c.path;
        EXPECT_EQ(Launches[0].what, c.what) << c.path;
        if (Launches[0].what == L"shell") {
            EXPECT_EQ(Launches[0].call, c.call) << c.path;
        }
        EXPECT_FALSE(IsWindowVisible(level_->Window)) << c.path;
    }
}

TEST_F(ExecuteTest, SystemStartMenuIsAskedOfTheStartButtonWithTheMarker)
{
    ExecuteOnly(L"*menupordefecto", false);
    EXPECT_TRUE(Launches.empty());
    bool found = false;
    for (const TRecordedMessage &m : Received)
        found |= m.to == kStartButtonClass && m.message == WM_SYSCOMMAND &&
                 m.wParam == SC_TASKLIST && m.lParam == kStartScreenMarker;
    EXPECT_TRUE(found);
}

TEST_F(ExecuteTest, UnknownKeywordOnlyClosesTheMenu)
{
    ExecuteOnly(L"*desconocido", false);
    EXPECT_TRUE(Launches.empty());
    EXPECT_FALSE(IsWindowVisible(level_->Window));
    EXPECT_EQ(CountReceived(kMainWindowClass, UM_MENUS_CLOSED), 1);
}

TEST_F(ExecuteTest, PlaceholderDoesNothingAndKeepsTheMenuOpen)
{
    ExecuteOnly(L"", false);
    EXPECT_TRUE(Launches.empty());
    EXPECT_TRUE(IsWindowVisible(level_->Window));
    EXPECT_EQ(CountReceived(kMainWindowClass, UM_MENUS_CLOSED), 0);
}

TEST_F(ExecuteTest, SearchLineFocusesTheSearchBoxAndKeepsTheMenuOpen)
{
    level_ = MakeLevel({L"Program|C:\\a.lnk", L"|*busquedarapida"});
    HWND box = MakeSearchBox(level_);
    ShowWindow(level_->Window, SW_SHOW);
    SetHot(level_, 1);
    ClearRecords();
    Execute(level_, false);
    Pump(50);
    EXPECT_EQ(GetFocus(), box);
    EXPECT_TRUE(IsWindowVisible(level_->Window));
    EXPECT_TRUE(Launches.empty());
    EXPECT_EQ(CountReceived(kMainWindowClass, UM_MENUS_CLOSED), 0);
}

TEST_F(ExecuteTest, WithoutHotItemTheCurrentItemRunsAndWithNeitherNothing)
{
    level_ = MakeLevel({L"A|C:\\a.lnk", L"B|C:\\b.lnk"});
    ShowWindow(level_->Window, SW_SHOWNA);
    SetHot(level_, -1);
    MenuState.CurrentItem = level_->ItemAt(1);
    Execute(level_, false);
    ASSERT_EQ(Launches.size(), 1u);
    EXPECT_EQ(Launches[0].file, L"C:\\b.lnk");

    ClearRecords();
    MenuState.CurrentItem = nullptr;
    ShowWindow(level_->Window, SW_SHOWNA);
    Execute(level_, false);
    EXPECT_TRUE(Launches.empty());
    EXPECT_TRUE(IsWindowVisible(level_->Window));
}

int wmain(int argc, wchar_t **argv)
{
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new MenuWindowEnvironment);
    return RUN_ALL_TESTS();
}
