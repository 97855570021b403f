#include "menu/context_menu.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "common/messages.h"
#include "common/portable/sort_rules.h"
#include "common/win_text.h"
#include "menu/execute.h"
#include "menu/launch_seam.h"
#include "menu/menu_build.h"
#include "menu/menu_item.h"
#include "menu/portable/folder_names.h"
#include "menu/portable/menu_keywords.h"
#include "menu/tmenu.h"
#include "settings/settings.h"
#include "settings/special_icon.h"

namespace {

constexpr wchar_t kMessageBoxTitle[] = L"Orvella";
constexpr wchar_t kRecentKeywordPrefix[] = L"*recientes";  // the recent level and its own sub-levels
// New shortcut names that all exist already: the folder is full of them, or something
// else is wrong; the command gives up.
constexpr int kShortcutNameAttempts = 100;

void ShowErrorBox(HWND owner, const wchar_t *text)
{
    MessageBoxW(owner, text, kMessageBoxTitle, MB_OK);
}

int PseudoRandom() { return std::rand(); }

HWND MainWindow() { return FindWindowW(kMainWindowClass, nullptr); }

bool IsKeyword(const wchar_t *path) { return path[0] == L'*'; }

TMenu *RootOf(TMenu *level)
{
    while (level->ParentItem && level->ParentItem->Owner)
        level = level->ParentItem->Owner;
    return level;
}

int IndexOf(const TMenu *level, const TMenuItem *item)
{
    int index = 0;
    for (const TMenuItem *at = level->Items; at; at = at->Next, ++index)
        if (at == item)
            return index;
    return -1;
}

// The start button hides while a dialog of the program is up, and no toggle or button menu
// is taken meanwhile.
void BeginDialog()
{
    MenuState.DialogOpen = true;
    EnableStartButton(false);
}

void EndDialog()
{
    EnableStartButton(true);
    MenuState.DialogOpen = false;
}

void StoreOrder() { SendMessageW(MainWindow(), UM_WRITE_ORDER_FILE, 0, 0); }

// ---- Sorting ----

void SortItems(TMenu *level, TSortRule rule)
{
    std::vector<TSortEntry> entries;
    for (TMenuItem *item = level->Items; item; item = item->Next)
        entries.push_back({U16View(item->Caption), item->Submenu != nullptr, item->IsMovable,
                           item->CreatedHigh, int(entries.size())});
    SortEntries(entries, rule);
    // Rearrange the list to match: `at[i]` is the former position of the item now at i.
    std::vector<int> at(entries.size());
    for (size_t i = 0; i < at.size(); ++i)
        at[i] = int(i);
    for (size_t target = 0; target < entries.size(); ++target) {
        size_t from = target;
        while (at[from] != entries[target].Position)
            ++from;
        if (from != target) {
            level->ExchangeItems(int(from), int(target));
            std::swap(at[from], at[target]);
        }
    }
    level->Layout();
    InvalidateRect(level->Window, nullptr, FALSE);
}

// ---- The pop-up ----

enum class TPopupKind {
    ShellAndOwn,   // a file or folder: the shell's entries, then ours
    Placeholder,   // an empty folder: only ours
    ItemCommands,  // special and recent items: open, run as, properties
    PanelCommands, // control panel entries: open, run as
};

bool ParentIs(const TMenu *level, bool (*test)(const wchar_t *path))
{
    return level->ParentItem && test(level->ParentItem->Path);
}

bool IsRecentPath(const wchar_t *path)
{
    return wcsncmp(path, kRecentKeywordPrefix, wcslen(kRecentKeywordPrefix)) == 0;
}

bool IsControlPanelPath(const wchar_t *path) { return U16View(path) == kControlPanelKeyword; }

TPopupKind PopupKindOf(const TMenu *level, const TMenuItem *item)
{
    if (IsKeyword(item->Path) || ParentIs(level, IsRecentPath))
        return TPopupKind::ItemCommands;
    if (ParentIs(level, IsControlPanelPath))
        return TPopupKind::PanelCommands;
    if (item->IsEmptyMarker)
        return TPopupKind::Placeholder;
    return TPopupKind::ShellAndOwn;
}

IContextMenu *ShellMenuOf(const wchar_t *path)
{
    return static_cast<IContextMenu *>(ShellObjectOf(nullptr, path, IID_IContextMenu));
}

// The sort sub-menu belongs to the pop-up from here on and goes with it.
void AppendOwnCommands(HMENU popup)
{
    HMENU sort = CreatePopupMenu();
    AppendMenuW(sort, MF_STRING, CMD_ITEM_SORT_LEVEL, Settings.Local[LocalMenuSortThisMenu]);
    AppendMenuW(sort, MF_STRING, CMD_ITEM_SORT_TREE, Settings.Local[LocalMenuSortThisMenuAndSub]);
    AppendMenuW(sort, MF_STRING, CMD_ITEM_SORT_ALL, Settings.Local[LocalMenuSortAll]);
    AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(popup, MF_STRING, CMD_ITEM_CREATE_FOLDER, Settings.Local[LocalMenuCreateFolder]);
    AppendMenuW(popup, MF_STRING, CMD_ITEM_CREATE_SHORTCUT, Settings.Local[LocalMenuCreateShortcut]);
    AppendMenuW(popup, MF_POPUP | MF_STRING, UINT_PTR(sort), Settings.Local[LocalMenuSort]);
}

void FillItemCommands(HMENU popup, bool withProperties)
{
    AppendMenuW(popup, MF_STRING, CMD_ITEM_OPEN, Settings.Local[LocalMenuOpen]);
    AppendMenuW(popup, MF_STRING, CMD_ITEM_RUN_AS, Settings.Local[LocalMenuRunAs]);
    if (withProperties) {
        AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(popup, MF_STRING, CMD_ITEM_PROPERTIES, Settings.Local[LocalMenuProperties]);
    }
    SetMenuDefaultItem(popup, CMD_ITEM_OPEN, FALSE);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_BITMAP;
    info.hbmpItem = MenuState.ShieldBitmap;
    SetMenuItemInfoW(popup, CMD_ITEM_RUN_AS, FALSE, &info);
}

RECT ScreenRectOf(const TMenu *level, const TMenuItem *item)
{
    RECT rect = item->Rect;
    MapWindowPoints(level->Window, nullptr, reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

// Where the pop-up opens: at the pointer, unless the request came from the keyboard or the
// pointer is off the item (and no search result asked), then on the item itself.
POINT PopupPoint(const TMenu *level, const TMenuItem *item, bool fromKeyboard)
{
    const RECT rect = ScreenRectOf(level, item);
    POINT cursor{};
    GetCursorPos(&cursor);
    if (!fromKeyboard && (PtInRect(&rect, cursor) || MenuState.CurrentItem))
        return cursor;
    POINT at{rect.left + (rect.bottom - rect.top) / 2, (rect.top + rect.bottom) / 2};
    if (at.x > rect.right)
        at.x = (rect.left + rect.right) / 2;
    return at;
}

bool IsOwnCommand(UINT id)
{
    switch (id) {
    case CMD_ITEM_CREATE_FOLDER:
    case CMD_ITEM_CREATE_SHORTCUT:
    case CMD_ITEM_SORT_LEVEL:
    case CMD_ITEM_SORT_TREE:
    case CMD_ITEM_SORT_ALL:
    case CMD_ITEM_OPEN:
    case CMD_ITEM_RUN_AS:
    case CMD_ITEM_PROPERTIES:
        return true;
    }
    return false;
}

void RunChosen(TMenu *level, IContextMenu *shellMenu, UINT id)
{
    CloseAll(level);
    if (IsOwnCommand(id)) {
        SendMessageW(level->Window, WM_COMMAND, id, 0);
        return;
    }
    if (!shellMenu)
        return;
    const HWND mainWindow = MainWindow();
    SetForegroundWindow(mainWindow);
    CMINVOKECOMMANDINFO info{};
    info.cbSize = sizeof info;
    info.hwnd = mainWindow;
    info.lpVerb = MAKEINTRESOURCEA(id - kFirstShellCommand);
    info.nShow = SW_SHOWNORMAL;
    ContextMenuSeam.InvokeShellCommand(shellMenu, info);
}

// ---- The commands ----

// The folder new entries of `level` go into, or false for a level that stands for no
// folder (the levels of special items).
bool TargetFolderFor(const TMenu *level, TTargetFolder &target)
{
    const wchar_t *parent = level->ParentItem ? level->ParentItem->Path : L"";
    if (IsKeyword(parent) || parent[0] == L'{')
        return false;
    target = TargetFolderOf(U16View(parent), U16View(MenuFolders.UserStartMenu),
                            U16View(MenuFolders.CommonStartMenu));
    return true;
}

// A folder of the all-users tree gets its twin in the user's tree, folder by folder.
void CreateChain(const TTargetFolder &target)
{
    for (const std::u16string &folder : target.Chain)
        CreateDirectoryW(W(folder.c_str()), nullptr);
}

bool CreateNamedFolder(const TTargetFolder &target, const wchar_t *name)
{
    if (CheckNewFolderName(target.Folder, U16View(name)) != TFolderNameVerdict::Fine)
        return false;
    CreateChain(target);
    const std::wstring path = std::wstring(W(target.Folder.c_str())) + name;
    return CreateDirectoryW(path.c_str(), nullptr) != FALSE;
}

void CreateFolder(TMenu *level)
{
    TTargetFolder target;
    if (!TargetFolderFor(level, target))
        return;
    const HWND owner = MainWindow();
    lstrcpynW(MenuState.SharedPath, Settings.Local[LocalNewFolder], MAX_PATH);
    BeginDialog();
    // The folder watcher sees the new folder and has the menu rebuilt.
    while (ContextMenuSeam.CreateFolderDialog(owner, MenuState.SharedPath) == IDOK &&
           !CreateNamedFolder(target, MenuState.SharedPath))
        ContextMenuSeam.ErrorBox(owner, Settings.Local[LocalError1]);
    EndDialog();
}

// Creates an empty file of a new name; an existing file is never opened for writing.
bool CreateEmptyShortcutFile(const std::wstring &folder, std::wstring &path)
{
    for (int attempt = 0; attempt < kShortcutNameAttempts; ++attempt) {
        int random[4];
        for (int &value : random)
            value = ContextMenuSeam.Random();
        path = folder + W(ShortcutFileName(random).c_str());
        if (path.size() >= MAX_PATH)
            return false;
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return true;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return false;
}

void CreateShortcut(TMenu *level)
{
    TTargetFolder target;
    if (!TargetFolderFor(level, target))
        return;
    CreateChain(target);
    std::wstring path;
    if (!CreateEmptyShortcutFile(W(target.Folder.c_str()), path))
        return;
    // The system's shortcut wizard fills the file.
    const std::wstring parameters = L"appwiz.cpl,NewLinkHere " + path;
    LaunchSeam.ShellExecute(MainWindow(), nullptr, L"rundll32.exe", parameters.c_str(),
                            SW_SHOWDEFAULT);
}

void SortAll(TMenu *level)
{
    TMenu *root = RootOf(level);
    SortLevel(root);
    for (TMenuItem *item = root->Items; item; item = item->Next)
        if (item->Submenu)
            SortTree(item->Submenu);
    CloseAll(root);
}

// What the properties of a special item edit: its icon slot and, for the items that run a
// command of the user's choice, that command.
struct TPropertyTarget {
    int Slot;
    wchar_t *Command;  // null for the icon alone
};

bool PropertyTargetOf(const wchar_t *path, TPropertyTarget &target)
{
    const std::u16string_view keyword = U16View(path);
    if (keyword == kConsoleKeyword) {
        target = {IconConsole, Settings.ConsoleAlternative};
        return true;
    }
    if (keyword == kFindInternetKeyword) {
        target = {IconFindInternet, Settings.InternetSearchAlternative};
        return true;
    }
    if (keyword == kManageKeyword) {
        target = {IconManage, nullptr};
        return true;
    }
    const SpecialKeyword *row = FindSpecialKeyword(keyword);
    if (!row || !row->IconEditable || row->IconSlot == kNoIconSlot)
        return false;
    target = {row->IconSlot, nullptr};
    return true;
}

void EditProperties(TMenu *level)
{
    TMenuItem *item = level->HotItem();
    if (!item)
        item = MenuState.CurrentItem;
    TPropertyTarget target;
    if (!item || !PropertyTargetOf(item->Path, target))
        return;
    TItemProperties values{};
    lstrcpynW(values.IconFile, Settings.SpecialIconFile[target.Slot], MAX_PATH);
    values.IconIndex = Settings.SpecialIconIndex[target.Slot];
    if (target.Command)
        lstrcpynW(values.Command, target.Command, MAX_PATH);

    BeginDialog();
    const HWND owner = MainWindow();
    const INT_PTR result = target.Command ? ContextMenuSeam.IconCommandDialog(owner, values)
                                          : ContextMenuSeam.IconDialog(owner, values);
    if (result == IDOK) {
        lstrcpynW(Settings.SpecialIconFile[target.Slot], values.IconFile, MAX_PATH);
        Settings.SpecialIconIndex[target.Slot] = values.IconIndex;
        if (target.Command)
            lstrcpynW(target.Command, values.Command, MAX_PATH);
        if (item->Icon)
            DestroyIcon(item->Icon);
        item->Icon = LoadSpecialIcon(static_cast<SpecialIconSlot>(target.Slot));
        SaveSettings();
    }
    EndDialog();
}

} // namespace

TContextMenuSeam ContextMenuSeam = {
    TrackItemPopup,       InvokeShellContextCommand, RunCreateFolderDialog, RunIconDialog,
    RunIconCommandDialog, ShowErrorBox,              PseudoRandom,
};

UINT TrackItemPopup(HMENU menu, POINT at, HWND owner)
{
    return UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, owner,
                               nullptr));
}

void InvokeShellContextCommand(IContextMenu *menu, const CMINVOKECOMMANDINFO &info)
{
    CMINVOKECOMMANDINFO copy = info;
    menu->InvokeCommand(&copy);
}

void ShowItemContextMenu(TMenu *level, WPARAM wParam, LPARAM lParam)
{
    const bool viaSearch = wParam == WPARAM(kSearchResultContextMarker) &&
                           lParam == LPARAM(kSearchResultContextMarker);
    const bool fromKeyboard = lParam == -1;
    TMenuItem *item;
    if (viaSearch) {
        // The commands that act on the hot item act on the result itself.
        item = MenuState.CurrentItem;
        if (item)
            SetHot(level, IndexOf(level, item));
    } else {
        item = level->HotItem();
        MenuState.CurrentItem = nullptr;
    }
    if (!item || item->IsSeparator || U16View(item->Path) == kSeparatorKeyword)
        return;

    HMENU popup = CreatePopupMenu();
    IContextMenu *shellMenu = nullptr;
    switch (PopupKindOf(level, item)) {
    case TPopupKind::ItemCommands:
        FillItemCommands(popup, true);
        break;
    case TPopupKind::PanelCommands:
        FillItemCommands(popup, false);
        break;
    case TPopupKind::Placeholder:
        AppendOwnCommands(popup);
        DeleteMenu(popup, 0, MF_BYPOSITION);  // the separator that follows the shell's entries
        break;
    case TPopupKind::ShellAndOwn:
        if (!viaSearch)
            AppendOwnCommands(popup);
        shellMenu = ShellMenuOf(item->Path);
        if (shellMenu)
            shellMenu->QueryContextMenu(popup, 0, kFirstShellCommand, kShellCommandRangeEnd,
                                        CMF_NORMAL);
        break;
    }
    const POINT at = PopupPoint(level, item, fromKeyboard);
    // Levels must outlive the pop-up's message loop and the command.
    MenuState.CommandRunning = true;
    const UINT id = ContextMenuSeam.TrackPopup(popup, at, level->Window);
    if (id != 0)
        RunChosen(level, shellMenu, id);
    MenuState.CommandRunning = false;
    if (shellMenu)
        shellMenu->Release();
    DestroyMenu(popup);
}

void OnItemCommand(TMenu *level, WPARAM wParam, LPARAM)
{
    switch (LOWORD(wParam)) {
    case CMD_ITEM_CREATE_FOLDER:
        CreateFolder(level);
        break;
    case CMD_ITEM_CREATE_SHORTCUT:
        CreateShortcut(level);
        break;
    case CMD_ITEM_SORT_LEVEL:
        SortLevel(level);
        CloseSubLevels(level, level, false);
        ShowLevel(level);
        StoreOrder();
        break;
    case CMD_ITEM_SORT_TREE:
        SortTree(level);
        HideTree(level);
        ShowLevel(level);
        StoreOrder();
        break;
    case CMD_ITEM_SORT_ALL:
        SortAll(level);
        StoreOrder();
        break;
    case CMD_ITEM_OPEN:
    case CMD_ITEM_RUN_AS:
        CloseAll(level);
        Execute(level, LOWORD(wParam) == CMD_ITEM_RUN_AS);
        break;
    case CMD_ITEM_PROPERTIES:
        CloseAll(level);
        EditProperties(level);
        break;
    }
}

void SortLevel(TMenu *level) { SortItems(level, TSortRule::Level); }

void SortTree(TMenu *level)
{
    SortLevel(level);
    for (TMenuItem *item = level->Items; item; item = item->Next)
        if (item->Submenu)
            SortTree(item->Submenu);
}

void SortByNameOrDate(TMenu *level, bool byDate)
{
    SortItems(level, byDate ? TSortRule::DateAll : TSortRule::NameAll);
}
