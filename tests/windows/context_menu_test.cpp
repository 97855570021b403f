// The item context menu on real levels: the pop-up for each kind of line, where it opens,
// what a chosen entry runs, and the commands (new folder, new shortcut, sorting, the
// properties of special items) with their dialogs answered through the seam.
#include "tests/windows/menu_window_fixture.h"

#include <functional>
#include <string>
#include <vector>

#include "common/win_text.h"
#include "menu/context_menu.h"
#include "menu/menu_build.h"
#include "tests/windows/test_files.h"

namespace {

// ---- What the seam saw ----

// One pop-up, written as text: own ids by number, the shell's entries as "shell", a
// separator as "-", a sub-menu as "(...)"; "!" marks the default entry, "+shield" the
// shield bitmap.  Consecutive shell entries and separators among them read "shell".
std::wstring Describe(HMENU menu)
{
    std::wstring text;
    const UINT defaultId = GetMenuDefaultItem(menu, FALSE, 0);
    bool inShellPart = false;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_SUBMENU | MIIM_BITMAP;
        GetMenuItemInfoW(menu, i, TRUE, &info);
        std::wstring entry;
        if (info.hSubMenu) {
            entry = L"(" + Describe(info.hSubMenu) + L")";
        } else if (info.fType & MFT_SEPARATOR) {
            if (inShellPart && i + 1 < GetMenuItemCount(menu) &&
                GetMenuItemID(menu, i + 1) <= kLastShellCommand)
                continue;  // a separator inside the shell's entries
            entry = L"-";
        } else if (info.wID <= kLastShellCommand) {
            if (inShellPart)
                continue;
            entry = L"shell";
        } else {
            entry = std::to_wstring(info.wID);
        }
        inShellPart = entry == L"shell";
        // The shell's entries have a default of their own.
        if (info.wID == defaultId && info.wID > kLastShellCommand && !info.hSubMenu)
            entry += L"!";
        if (info.hbmpItem && info.hbmpItem == MenuState.ShieldBitmap)
            entry += L"+shield";
        if (!text.empty())
            text += L" ";
        text += entry;
    }
    return text;
}

struct TPopupRecord {
    std::wstring entries;
    std::vector<UINT> shellIds;
    POINT at;
    HWND owner;
};

std::vector<TPopupRecord> Popups;
std::function<UINT(HMENU)> ChooseEntry;  // answers the pop-up; 0 by default

UINT RecordPopup(HMENU menu, POINT at, HWND owner)
{
    TPopupRecord record{Describe(menu), {}, at, owner};
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const UINT id = GetMenuItemID(menu, i);
        if (id != UINT(-1) && id != 0 && id <= kLastShellCommand)
            record.shellIds.push_back(id);
    }
    Popups.push_back(record);
    return ChooseEntry ? ChooseEntry(menu) : 0;
}

struct TInvocation {
    UINT verb;
    HWND owner;
    int show;
    bool menuVisible;  // a level was still on screen
    int closedNotices; // 1043s the main window had got by then
};
std::vector<TInvocation> Invocations;
TMenu *Watched = nullptr;

void RecordInvocation(IContextMenu *, const CMINVOKECOMMANDINFO &info)
{
    Invocations.push_back({UINT(LOWORD(reinterpret_cast<UINT_PTR>(info.lpVerb))), info.hwnd,
                           info.nShow, Watched && IsWindowVisible(Watched->Window),
                           CountReceived(kMainWindowClass, UM_MENUS_CLOSED)});
}

// The create-folder dialog answers with one typed name after another, then cancels.
std::vector<std::wstring> FolderAnswers;
std::vector<std::wstring> FolderDialogShown;  // the name each dialog opened with
std::vector<bool> DialogOpenDuring;

INT_PTR AnswerFolderDialog(HWND owner, wchar_t (&name)[MAX_PATH])
{
    EXPECT_EQ(owner, MenuWindowEnvironment::MainWindow);
    FolderDialogShown.push_back(name);
    DialogOpenDuring.push_back(MenuState.DialogOpen);
    const size_t asked = FolderDialogShown.size() - 1;
    if (asked >= FolderAnswers.size())
        return IDCANCEL;
    lstrcpynW(name, FolderAnswers[asked].c_str(), MAX_PATH);
    return IDOK;
}

struct TErrorRecord {
    HWND owner;
    std::wstring text;
    bool dialogOpen;
};
std::vector<TErrorRecord> Errors;
void RecordError(HWND owner, const wchar_t *text)
{
    Errors.push_back({owner, text, MenuState.DialogOpen});
}

// The properties dialogs: the test says what they end with and what they leave in the values.
struct TPropertiesAnswer {
    INT_PTR result;
    TItemProperties values;
};
TPropertiesAnswer PropertiesAnswer;
std::vector<std::wstring> PropertiesShown;  // "icon FILE,INDEX" or "command FILE,INDEX,COMMAND"

INT_PTR AnswerProperties(const wchar_t *which, TItemProperties &values)
{
    std::wstring shown = std::wstring(which) + L" " + values.IconFile + L"," +
                         std::to_wstring(values.IconIndex);
    if (std::wstring(which) == L"command")
        shown += std::wstring(L",") + values.Command;
    PropertiesShown.push_back(shown);
    DialogOpenDuring.push_back(MenuState.DialogOpen);
    values = PropertiesAnswer.values;
    return PropertiesAnswer.result;
}
INT_PTR AnswerIconDialog(HWND, TItemProperties &values) { return AnswerProperties(L"icon", values); }
INT_PTR AnswerCommandDialog(HWND, TItemProperties &values)
{
    return AnswerProperties(L"command", values);
}

std::vector<int> RandomValues;
size_t RandomNext = 0;
int NextRandom() { return RandomValues[RandomNext++ % RandomValues.size()]; }

std::string Utf16Bytes(const std::wstring &text)
{
    return std::string(reinterpret_cast<const char *>(text.data()), text.size() * 2);
}

void WriteBytes(const std::wstring &path, const std::string &bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

bool IsFolder(const std::wstring &path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Exists(const std::wstring &path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Item captions of a level, in order.
std::wstring Captions(TMenu *level)
{
    std::wstring text;
    for (TMenuItem *item = level->Items; item; item = item->Next)
        text += (text.empty() ? L"" : L" ") + std::wstring(item->Caption);
    return text;
}

class ContextMenuTest : public testing::Test {
protected:
    void SetUp() override
    {
        Drain();  // what earlier tests posted
        ClearRecords();
        MenuState = {};
        MenuState.ShieldBitmap = CreateBitmap(16, 16, 1, 32, nullptr);
        for (int key = 0; key < kLanguageCount; ++key)
            lstrcpynW(Settings.Local[key], W(kLanguageKeyNames[key].data()), kLanguageSlotSize);
        Popups.clear();
        Invocations.clear();
        FolderAnswers.clear();
        FolderDialogShown.clear();
        DialogOpenDuring.clear();
        Errors.clear();
        PropertiesShown.clear();
        ChooseEntry = nullptr;
        Watched = nullptr;
        savedSeam_ = ContextMenuSeam;
        ContextMenuSeam = {RecordPopup,      RecordInvocation, AnswerFolderDialog, AnswerIconDialog,
                           AnswerCommandDialog, RecordError,   NextRandom};

        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        base_ = std::wstring(temp) + L"context_menu_test\\";
        RemoveTree(base_);
        user_ = base_ + L"user\\";
        common_ = base_ + L"common\\";
        for (const std::wstring &folder : {base_, user_, common_, user_ + L"Games\\",
                                           common_ + L"Programs\\", common_ + L"Programs\\Tools\\"})
            CreateDirectoryW(folder.c_str(), nullptr);
        WriteBytes(user_ + L"Readme.txt", "read me");
        lstrcpynW(MenuFolders.UserStartMenu, user_.c_str(), MAX_PATH);
        lstrcpynW(MenuFolders.CommonStartMenu, common_.c_str(), MAX_PATH);
    }
    void TearDown() override
    {
        delete root_;
        root_ = nullptr;
        ContextMenuSeam = savedSeam_;
        DeleteObject(MenuState.ShieldBitmap);
        RemoveTree(base_);
    }

    // A top level of one line per entry ("caption|path", a trailing "/" for a folder).
    TMenu *Root(const std::vector<std::wstring> &items)
    {
        root_ = MakeLevel(items);
        return root_;
    }
    // The sub-level of the root's item at `index`, filled with `items`.
    TMenu *Sub(int index, const std::vector<std::wstring> &items)
    {
        TMenu *sub = root_->ItemAt(index)->Submenu;
        for (const std::wstring &entry : items)
            AddItem(sub, entry);
        return sub;
    }
    void ShowAt(TMenu *level, int x, int y)
    {
        level->Layout();
        SetWindowPos(level->Window, HWND_TOPMOST, x, y, level->Width, level->Height,
                     SWP_SHOWWINDOW | SWP_NOACTIVATE);
    }
    void ContextMenuByKey(TMenu *level, int hot)
    {
        SetHot(level, hot);
        SendMessageW(level->Window, WM_CONTEXTMENU, WPARAM(level->Window), -1);
    }
    void Command(TMenu *level, UINT id) { SendMessageW(level->Window, WM_COMMAND, id, 0); }
    // Messages posted to the start button stand-in are in once a message posted after them
    // has arrived.
    void Drain()
    {
        constexpr UINT kMarker = WM_APP + 7;
        PostMessageW(MenuWindowEnvironment::StartButton, kMarker, 0, 0);
        ASSERT_TRUE(PumpUntil([] { return CountReceived(kStartButtonClass, kMarker) > 0; }, 10000));
    }

    TContextMenuSeam savedSeam_;
    TMenu *root_ = nullptr;
    std::wstring base_, user_, common_;
};

} // namespace

TEST_F(ContextMenuTest, PopupForEachKindOfLine)
{
    const std::wstring readme = user_ + L"Readme.txt";
    Root({L"Readme|" + readme, L"Games|" + user_ + L"Games/", L"|*separator", L"Help|*ayuda",
          L"Recent|*recientes/", L"Control|*paneldecontrol/", L"Empty|" + user_ + L"Empty/"});
    Sub(4, {L"Doc|" + readme, L"Docs|*misdocumentos"});
    Sub(5, {L"Mouse|{6C8EEC18-8D75-41B2-A177-8831D59D2D50}"});
    Sub(6, {L"|"});  // the placeholder of an empty folder
    const std::wstring own = L"- 1001 1002 (1011 1012 1013)";
    const std::wstring itemCommands = L"1021! 1022+shield - 1023";
    struct Case {
        const char *what;
        TMenu *level;
        int index;
        std::wstring entries;  // empty: no pop-up at all
    } cases[] = {
        {"file", root_, 0, L"shell " + own},
        {"folder", root_, 1, L"shell " + own},
        {"separator", root_, 2, L""},
        {"special item", root_, 3, itemCommands},
        {"recent document", root_->ItemAt(4)->Submenu, 0, itemCommands},
        {"special item of the recent level", root_->ItemAt(4)->Submenu, 1, itemCommands},
        {"control panel entry", root_->ItemAt(5)->Submenu, 0, L"1021! 1022+shield"},
        {"placeholder", root_->ItemAt(6)->Submenu, 0, L"1001 1002 (1011 1012 1013)"},
    };
    for (const Case &c : cases) {
        Popups.clear();
        ContextMenuByKey(c.level, c.index);
        if (c.entries.empty()) {
            EXPECT_TRUE(Popups.empty()) << c.what;
            continue;
        }
        ASSERT_EQ(Popups.size(), 1u) << c.what;
        EXPECT_EQ(Popups[0].entries, c.entries) << c.what;
        EXPECT_EQ(Popups[0].owner, c.level->Window) << c.what;
        EXPECT_EQ(MenuState.CurrentItem, nullptr) << c.what;
    }
}

TEST_F(ContextMenuTest, ShellEntriesComeFirstWithIdsFromOne)
{
    Root({L"Readme|" + user_ + L"Readme.txt", L"Missing|" + user_ + L"Gone.txt"});
    ContextMenuByKey(root_, 0);
    ASSERT_EQ(Popups.size(), 1u);
    ASSERT_FALSE(Popups[0].shellIds.empty());
    for (UINT id : Popups[0].shellIds)
        EXPECT_TRUE(id >= kFirstShellCommand && id <= kLastShellCommand) << id;
    // A path the shell cannot parse still gives the program's entries.
    ContextMenuByKey(root_, 1);
    ASSERT_EQ(Popups.size(), 2u);
    EXPECT_EQ(Popups[1].entries, L"- 1001 1002 (1011 1012 1013)");
}

TEST_F(ContextMenuTest, PopupOpensAtThePointerOrOnTheItem)
{
    Root({L"First|*ayuda", L"Second|*ejecutar", L"Third|*apagar"});
    ShowAt(root_, 200, 150);
    const RECT second = root_->ItemAt(1)->Rect;
    const int left = 200 + second.left, top = 150 + second.top, bottom = 150 + second.bottom;
    const int height = bottom - top;
    const POINT onItem{200 + second.right - 3, top + 2};
    const POINT onItemBeside{200 + second.left + height / 2, (top + bottom) / 2};
    struct Case {
        const char *what;
        POINT cursor;
        LPARAM lParam;  // -1 from the keyboard
        POINT expected;
    } cases[] = {
        {"pointer over the item", onItem, MAKELPARAM(5, 5), onItem},
        {"pointer off the item", {5, 5}, MAKELPARAM(5, 5), onItemBeside},
        {"pointer over another item, from the keyboard",
         {200 + second.left + 4, 150 + root_->ItemAt(0)->Rect.top + 2}, -1, onItemBeside},
    };
    for (const Case &c : cases) {
        Popups.clear();
        ASSERT_TRUE(SetCursorPos(c.cursor.x, c.cursor.y));
        SetHot(root_, 1);
        SendMessageW(root_->Window, WM_CONTEXTMENU, 0, c.lParam);
        ASSERT_EQ(Popups.size(), 1u) << c.what;
        EXPECT_EQ(Popups[0].at.x, c.expected.x) << c.what;
        EXPECT_EQ(Popups[0].at.y, c.expected.y) << c.what;
    }
    // An item narrower than half its height: the point is its horizontal middle.
    RECT &narrow = root_->ItemAt(1)->Rect;
    narrow.right = narrow.left + height / 4;
    Popups.clear();
    SetCursorPos(5, 5);
    SendMessageW(root_->Window, WM_CONTEXTMENU, 0, -1);
    ASSERT_EQ(Popups.size(), 1u);
    EXPECT_EQ(Popups[0].at.x, left + height / 8);
    EXPECT_EQ(Popups[0].at.y, (top + bottom) / 2);
}

TEST_F(ContextMenuTest, ShellEntryRunsAsVerbNumberOwnedByTheMainWindowAfterTheMenuCloses)
{
    Root({L"Readme|" + user_ + L"Readme.txt"});
    ShowAt(root_, 100, 100);
    Watched = root_;
    UINT chosen = 0;
    ChooseEntry = [&](HMENU) {
        chosen = Popups.back().shellIds.back();
        return chosen;
    };
    ContextMenuByKey(root_, 0);
    ASSERT_EQ(Invocations.size(), 1u);
    EXPECT_EQ(Invocations[0].verb, chosen - 1);
    EXPECT_EQ(Invocations[0].owner, MenuWindowEnvironment::MainWindow);
    EXPECT_EQ(Invocations[0].show, SW_SHOWNORMAL);
    EXPECT_FALSE(Invocations[0].menuVisible);
    EXPECT_EQ(Invocations[0].closedNotices, 1);
}

TEST_F(ContextMenuTest, OwnEntryReachesTheLevelsCommandsAndNoEntryRunsNothing)
{
    Root({L"b|" + user_ + L"b.lnk", L"a|" + user_ + L"a.lnk"});
    ChooseEntry = [](HMENU) { return UINT(CMD_ITEM_SORT_LEVEL); };
    ContextMenuByKey(root_, 0);
    EXPECT_EQ(Captions(root_), L"a b");
    EXPECT_EQ(CountReceived(kMainWindowClass, UM_WRITE_ORDER_FILE), 1);
    EXPECT_TRUE(Invocations.empty());

    ClearRecords();
    ChooseEntry = nullptr;
    ContextMenuByKey(root_, 0);
    EXPECT_EQ(CountReceived(kMainWindowClass, UM_MENUS_CLOSED), 0);
    EXPECT_TRUE(Invocations.empty());
    EXPECT_FALSE(MenuState.CommandRunning);
}

TEST_F(ContextMenuTest, SearchResultGetsTheShellEntriesAloneAndBecomesHot)
{
    const std::wstring readme = user_ + L"Readme.txt";
    Root({L"Games|" + user_ + L"Games/", L"Readme|" + readme});
    SetHot(root_, 0);
    lstrcpynW(MenuState.SharedPath, readme.c_str(), MAX_PATH);
    SendMessageW(root_->Window, WM_CONTEXTMENU, WPARAM(kSearchResultContextMarker),
                 LPARAM(kSearchResultContextMarker));
    ASSERT_EQ(Popups.size(), 1u);
    EXPECT_EQ(Popups[0].entries, L"shell");
    EXPECT_EQ(root_->HotIndex(), 1);
}

TEST_F(ContextMenuTest, NewFolderOfAnAllUsersFolderGoesIntoTheUsersTree)
{
    Root({L"Programs|" + common_ + L"Programs/"});
    TMenu *programs = Sub(0, {L"Tools|" + common_ + L"Programs\\Tools/"});
    TMenu *tools = programs->ItemAt(0)->Submenu;
    AddItem(tools, L"|");
    FolderAnswers = {L"Made"};
    Command(tools, CMD_ITEM_CREATE_FOLDER);
    EXPECT_TRUE(IsFolder(user_ + L"Programs\\Tools\\Made"));
    EXPECT_FALSE(Exists(common_ + L"Programs\\Tools\\Made"));
    EXPECT_EQ(FolderDialogShown, (std::vector<std::wstring>{L"LocalNewFolder"}));
    EXPECT_TRUE(Errors.empty());

    // The top level's new folder goes straight into the user's Start Menu.
    FolderDialogShown.clear();
    FolderAnswers = {L"Top"};
    Command(root_, CMD_ITEM_CREATE_FOLDER);
    EXPECT_TRUE(IsFolder(user_ + L"Top"));
}

TEST_F(ContextMenuTest, RefusedFolderNamesAreAnsweredWithTheErrorAndAskedAgain)
{
    Root({L"Games|" + user_ + L"Games/"});
    TMenu *games = Sub(0, {L"|"});
    CreateDirectoryW((user_ + L"Games\\Taken").c_str(), nullptr);
    FolderAnswers = {L"..\\Escaped", L"..", base_ + L"Absolute", L"what?", L"nul", L"Taken",
                     L"Fine"};
    Command(games, CMD_ITEM_CREATE_FOLDER);

    ASSERT_EQ(Errors.size(), FolderAnswers.size() - 1);
    for (const TErrorRecord &error : Errors) {
        EXPECT_EQ(error.owner, MenuWindowEnvironment::MainWindow);
        EXPECT_EQ(error.text, L"LocalError1");
        EXPECT_TRUE(error.dialogOpen);
    }
    // Each time the dialog opens again with what was typed.
    ASSERT_EQ(FolderDialogShown.size(), FolderAnswers.size());
    for (size_t i = 1; i < FolderAnswers.size(); ++i)
        EXPECT_EQ(FolderDialogShown[i], FolderAnswers[i - 1]);
    EXPECT_FALSE(Exists(user_ + L"Escaped"));
    EXPECT_FALSE(Exists(base_ + L"Absolute"));
    EXPECT_TRUE(IsFolder(user_ + L"Games\\Fine"));
    for (bool open : DialogOpenDuring)
        EXPECT_TRUE(open);
    EXPECT_FALSE(MenuState.DialogOpen);
}

TEST_F(ContextMenuTest, CancelledNewFolderCreatesNothingAndHidesTheButtonOnlyMeanwhile)
{
    Root({L"Programs|" + common_ + L"Programs/"});
    TMenu *programs = Sub(0, {L"|"});
    Command(programs, CMD_ITEM_CREATE_FOLDER);
    EXPECT_EQ(FolderDialogShown.size(), 1u);
    EXPECT_FALSE(MenuState.DialogOpen);
    EXPECT_FALSE(Exists(user_ + L"Programs"));
    Drain();
    std::vector<WPARAM> button;
    for (const TRecordedMessage &m : Received)
        if (m.to == kStartButtonClass && m.message == UM_BUTTON_ENABLE)
            button.push_back(m.wParam);
    EXPECT_EQ(button, (std::vector<WPARAM>{0, 1}));
}

TEST_F(ContextMenuTest, NewShortcutNeverOverwritesAFileAndRunsTheWizardOnTheNewOne)
{
    Root({L"Programs|" + common_ + L"Programs/"});
    TMenu *programs = Sub(0, {L"|"});
    // 32767 scales to 10000, 16384 to 5000.
    RandomValues = {32767, 32767, 32767, 32767, 0, 16384, 0, 16384};
    RandomNext = 0;
    const std::wstring folder = user_ + L"Programs\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring taken = folder + L"10000100001000010000.lnk";
    WriteBytes(taken, "someone's shortcut");

    Command(programs, CMD_ITEM_CREATE_SHORTCUT);

    EXPECT_EQ(FileBytes(taken), "someone's shortcut");
    const std::wstring made = folder + L"0000500000005000.lnk";
    EXPECT_EQ(FileBytes(made), "");
    ASSERT_EQ(Launches.size(), 1u);
    EXPECT_EQ(Launches[0].what, L"execute");
    EXPECT_EQ(Launches[0].owner, MenuWindowEnvironment::MainWindow);
    EXPECT_EQ(Launches[0].verb, L"(null)");
    EXPECT_EQ(Launches[0].file, L"rundll32.exe");
    EXPECT_EQ(Launches[0].parameters, L"appwiz.cpl,NewLinkHere " + made);
    EXPECT_EQ(Launches[0].show, SW_SHOWDEFAULT);
}

TEST_F(ContextMenuTest, NewShortcutInAFolderThatCannotTakeItRunsNothing)
{
    Root({L"Gone|" + user_ + L"Gone/"});
    TMenu *gone = Sub(0, {L"|"});
    RandomValues = {1, 2, 3, 4};
    Command(gone, CMD_ITEM_CREATE_SHORTCUT);
    EXPECT_TRUE(Launches.empty());
}

TEST_F(ContextMenuTest, SortCommandsReorderTheirLevelsAndStoreTheOrder)
{
    // Runs of movable lines: [Zoo Folder] and [beta Alpha]; the separator (no caption) and
    // the special item stay.
    const wchar_t *unsorted = L"Zoo Folder  Help beta Alpha";
    const wchar_t *sorted = L"Folder Zoo  Help Alpha beta";
    struct Case {
        const char *what;
        UINT command;
        bool onSub;  // given on the folder's level rather than the top level
        const wchar_t *root, *sub;
    } cases[] = {
        {"this menu", CMD_ITEM_SORT_LEVEL, false, sorted, L"y x"},
        {"this menu from the folder", CMD_ITEM_SORT_LEVEL, true, unsorted, L"x y"},
        {"this menu and below", CMD_ITEM_SORT_TREE, false, sorted, L"x y"},
        {"this menu and below from the folder", CMD_ITEM_SORT_TREE, true, unsorted, L"x y"},
        {"everything from the folder", CMD_ITEM_SORT_ALL, true, sorted, L"x y"},
    };
    for (const Case &c : cases) {
        ClearRecords();
        delete root_;
        Root({L"Zoo|" + user_ + L"Zoo.lnk", L"Folder|" + user_ + L"Folder/", L"|*separator",
              L"Help|*ayuda", L"beta|" + user_ + L"beta.lnk", L"Alpha|" + user_ + L"Alpha.lnk"});
        TMenu *sub = Sub(1, {L"y|" + user_ + L"Folder\\y.lnk", L"x|" + user_ + L"Folder\\x.lnk"});
        Command(c.onSub ? sub : root_, c.command);
        EXPECT_EQ(Captions(root_), c.root) << c.what;
        EXPECT_EQ(Captions(sub), c.sub) << c.what;
        EXPECT_EQ(CountReceived(kMainWindowClass, UM_WRITE_ORDER_FILE), 1) << c.what;
    }
}

TEST_F(ContextMenuTest, PropertiesOfSpecialItemsEditTheirIconAndCommand)
{
    wchar_t settingsPath[MAX_PATH];
    FormSettingsFileName(settingsPath);
    const std::string savedSettings = FileBytes(settingsPath);
    const std::wstring shell32 = L"C:\\windows\\system32\\shell32.dll";
    struct Case {
        const char *what;
        const wchar_t *path;
        int slot;               // -1: no dialog at all
        wchar_t *command;       // the command the dialog edits, or null
        const wchar_t *shown;   // what the dialog opened with
    } cases[] = {
        {"help", L"*ayuda", IconHelp, nullptr, L"icon old.dll,1"},
        {"computer management", L"*administrar", IconManage, nullptr, L"icon old.dll,1"},
        {"console", L"*consola", IconConsole, Settings.ConsoleAlternative,
         L"command old.dll,1,old.exe"},
        {"web search", L"*buscarinternet", IconFindInternet, Settings.InternetSearchAlternative,
         L"command old.dll,1,old.exe"},
        {"task manager has no icon pair", L"*administradordetareas", -1, nullptr, L""},
        {"a recent document", L"C:\\doc.txt", -1, nullptr, L""},
    };
    for (bool accept : {false, true}) {
        for (const Case &c : cases) {
            const std::string what = std::string(c.what) + (accept ? ", OK" : ", Cancel");
            PropertiesShown.clear();
            for (int slot = 0; slot < kSpecialIconCount; ++slot) {
                lstrcpyW(Settings.SpecialIconFile[slot], L"old.dll");
                Settings.SpecialIconIndex[slot] = 1;
            }
            lstrcpyW(Settings.ConsoleAlternative, L"old.exe");
            lstrcpyW(Settings.InternetSearchAlternative, L"old.exe");
            const std::wstring fileText =
                L"\xFEFFHelpIcon=old.dll\r\nHelpIconIndex=1\r\nConsoleAlternative=old.exe\r\n";
            WriteBytes(settingsPath, Utf16Bytes(fileText));

            delete root_;
            Root({L"Item|" + std::wstring(c.path)});
            TMenuItem *item = root_->ItemAt(0);
            HICON sentinel = CopyIcon(LoadIconW(nullptr, IDI_APPLICATION));
            item->Icon = sentinel;
            PropertiesAnswer = {accept ? IDOK : IDCANCEL, {}};
            lstrcpyW(PropertiesAnswer.values.IconFile, shell32.c_str());
            PropertiesAnswer.values.IconIndex = 3;
            lstrcpyW(PropertiesAnswer.values.Command, L"new.exe");

            SetHot(root_, 0);
            Command(root_, CMD_ITEM_PROPERTIES);

            EXPECT_FALSE(MenuState.DialogOpen) << what;
            if (c.slot < 0) {
                EXPECT_TRUE(PropertiesShown.empty()) << what;
                EXPECT_EQ(item->Icon, sentinel) << what;
                DestroyIcon(sentinel);
                continue;
            }
            ASSERT_EQ(PropertiesShown.size(), 1u) << what;
            EXPECT_EQ(PropertiesShown[0], c.shown) << what;
            EXPECT_TRUE(DialogOpenDuring.back()) << what;
            ICONINFO info{};
            const bool sentinelAlive = GetIconInfo(sentinel, &info);
            if (sentinelAlive) {
                DeleteObject(info.hbmColor);
                DeleteObject(info.hbmMask);
            }
            if (!accept) {
                EXPECT_STREQ(Settings.SpecialIconFile[c.slot], L"old.dll") << what;
                EXPECT_EQ(Settings.SpecialIconIndex[c.slot], 1) << what;
                if (c.command) {
                    EXPECT_STREQ(c.command, L"old.exe") << what;
                }
                EXPECT_EQ(item->Icon, sentinel) << what;
                EXPECT_TRUE(sentinelAlive) << what;
                EXPECT_EQ(FileBytes(settingsPath), Utf16Bytes(fileText)) << what;
                DestroyIcon(sentinel);
                continue;
            }
            EXPECT_STREQ(Settings.SpecialIconFile[c.slot], shell32.c_str()) << what;
            EXPECT_EQ(Settings.SpecialIconIndex[c.slot], 3) << what;
            if (c.command) {
                EXPECT_STREQ(c.command, L"new.exe") << what;
            }
            EXPECT_FALSE(sentinelAlive) << what;
            EXPECT_NE(item->Icon, nullptr) << what;
            EXPECT_NE(item->Icon, sentinel) << what;
            // The settings file is written at once.
            const std::string written = FileBytes(settingsPath);
            const std::wstring key = W(kSpecialIconNames[c.slot].data());
            for (const std::wstring &line : {key + L"Icon=" + shell32 + L"\r\n",
                                             L"\n" + key + L"IconIndex=3\r\n"})
                EXPECT_NE(written.find(Utf16Bytes(line)), std::string::npos) << what;
            if (c.slot == IconConsole) {
                EXPECT_NE(written.find(Utf16Bytes(L"ConsoleAlternative=new.exe\r\n")),
                          std::string::npos)
                    << what;
            }
        }
    }
    WriteBytes(settingsPath, savedSettings);
    if (savedSettings == "<missing>")
        DeleteFileW(settingsPath);
}

int wmain(int argc, wchar_t **argv)
{
    testing::InitGoogleTest(&argc, argv);
    CoInitialize(nullptr);
    testing::AddGlobalTestEnvironment(new MenuWindowEnvironment);
    return RUN_ALL_TESTS();
}
