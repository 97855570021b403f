#include "menu/menu_build.h"

#include <shlobj.h>

#include <optional>
#include <string>
#include <vector>

#include "common/messages.h"
#include "common/portable/text.h"
#include "common/win_guards.h"
#include "common/win_text.h"
#include "menu/context_menu.h"
#include "menu/menu_item.h"
#include "menu/portable/menu_build.h"
#include "menu/portable/entry_cache.h"
#include "menu/portable/menu_keywords.h"
#include "menu/rebuild_cache.h"
#include "menu/search_box.h"
#include "menu/tmenu.h"
#include "settings/control_panel_items.h"
#include "settings/recent_items.h"
#include "settings/settings.h"
#include "settings/special_icon.h"

TMenuFolders MenuFolders;

namespace {

// The Programs folder as item paths hold it: without the trailing backslash.
std::wstring ProgramsItemPath()
{
    std::wstring path = MenuFolders.Programs;
    if (!path.empty() && path.back() == L'\\')
        path.pop_back();
    return path;
}

std::vector<std::u16string_view> ItemPaths(const TMenu *level)
{
    std::vector<std::u16string_view> paths;
    for (const TMenuItem *item = level->Items; item; item = item->Next)
        paths.push_back(U16View(item->Path));
    return paths;
}

void SetCaption(TMenuItem *item, std::u16string_view caption)
{
    CopyText(U16(item->Caption), MAX_PATH, caption);
}

const wchar_t *LanguageText(int key)
{
    return key == kNoLanguageKey ? L"" : Settings.Local[key];
}

void RenameProgramsItem(TMenuItem *item)
{
    const wchar_t *rename = Settings.Local[LocalRenamePrograms];
    if (rename[0] == 0)
        return;
    if (!item->Icon)
        LookUp(item);
    SetCaption(item, U16View(rename));
}

// A special item of the keyword table: caption and icon from the settings, never movable.
TMenuItem *AppendSpecialItem(TMenu *level, const SpecialKeyword &row, bool hasSubLevel)
{
    const wchar_t *keyword = W(row.Keyword.data());
    TMenuItem *item = level->Append(keyword, hasSubLevel, false, true);
    item->IsMovable = false;
    if (row.Keyword == kLogOffKeyword)
        FillLogoutCaption(item->Caption, MAX_PATH);
    else
        SetCaption(item, U16View(LanguageText(row.Caption)));
    item->Icon = LoadSpecialItemIcon(keyword);
    return item;
}

void AppendFindLevel(TMenuItem *find)
{
    for (std::u16string_view keyword : kFindLevelKeywords)
        if (const SpecialKeyword *row = FindSpecialKeyword(keyword))
            AppendSpecialItem(find->Submenu, *row, false);
    find->Submenu->Layout();
}

void AppendSearchLine(TMenu *root)
{
    MenuState.SearchBoxPresent = true;
    Settings.SearchBoxInFirstLevel = true;
    CreateSearchBox(root);
    TMenuItem *line = root->Append(W(kSearchBoxKeyword.data()), false, false, true);
    line->IsMovable = false;
}

void AppendShowStringLetter(TMenu *root, wchar_t letter)
{
    const SpecialKeyword *row = FindKeywordOfLetter(static_cast<char16_t>(letter));
    if (!row)
        return;
    if (row->Keyword == kSeparatorKeyword) {
        root->Append(W(kSeparatorKeyword.data()), false, false, true);
        return;
    }
    if (row->Keyword == kSearchBoxKeyword) {
        AppendSearchLine(root);
        return;
    }
    bool hasSubLevel = row->HasSubLevel;
    if (row->Keyword == kControlPanelKeyword)
        hasSubLevel = Settings.ShowControlEx;
    TMenuItem *item = AppendSpecialItem(root, *row, hasSubLevel);
    if (!item->Submenu)
        return;
    if (row->Keyword == kFindKeyword)
        AppendFindLevel(item);
    else if (row->Keyword == kRecentKeyword)
        FillRecentLevel(item->Submenu);
    else if (row->Keyword == kControlPanelKeyword)
        FillControlPanelLevel(item->Submenu);
}

void RemoveItemsAfter(TMenu *root, int index)
{
    while (root->Count() > index + 1)
        root->RemoveAt(root->Count() - 1);
}

bool IsFolderItem(const TMenuItem *item)
{
    return item->Submenu && item->Path[0] != L'*';
}

// What a folder scan shares down the tree: the kept answers (null: ask the shell for every
// entry, keep nothing) and one shortcut reader, made when an entry first needs it.
struct TScan {
    TEntryCache *Answers = nullptr;
    std::optional<TShortcutReader> Reader;
};

bool IsDesktopIni(const WIN32_FIND_DATAW &entry)
{
    return !(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
           CaptionsEqual(U16View(entry.cFileName), u"desktop.ini");
}

// The listing first: the folder's desktop.ini, wherever it comes, names its entries.
std::vector<WIN32_FIND_DATAW> ListFolder(const std::wstring &folder, TFileStamp &folderNames)
{
    std::vector<WIN32_FIND_DATAW> entries;
    WIN32_FIND_DATAW entry;
    TFindHandle search(FindFirstFileW((folder + L"*.*").c_str(), &entry));
    for (bool more = bool(search); more; more = FindNextFileW(search.Get(), &entry)) {
        if (IsDesktopIni(entry))
            folderNames = StampOf(entry);
        entries.push_back(entry);
    }
    return entries;
}

TEntryStamp StampOfEntry(const WIN32_FIND_DATAW &entry, const TFileStamp &folderNames,
                         const std::wstring &fullPath)
{
    TEntryStamp stamp{StampOf(entry), folderNames, {}};
    // The shell reads a folder's own desktop.ini only when the folder is read-only or a
    // system folder; other folders cost no request.
    constexpr DWORD kCustomized = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM;
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && (entry.dwFileAttributes & kCustomized))
        stamp.OwnName = StampOfPath((fullPath + L"\\desktop.ini").c_str());
    return stamp;
}

void ScanFolderWith(TMenu *level, const std::wstring &folder, TScan &scan)
{
    bool added = false;
    if (!folder.empty()) {
        TFileStamp folderNames;
        const std::vector<WIN32_FIND_DATAW> entries = ListFolder(folder, folderNames);
        // Parsing the folder for the shell costs a request of its own: only for an entry
        // that needs the shell.
        std::optional<TShellFolderQuery> shellFolder;
        for (const WIN32_FIND_DATAW &entry : entries) {
            const bool hidden = entry.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN;
            if (!IsShownFolderEntry(U16View(entry.cFileName), hidden))
                continue;
            const std::wstring fullPath = folder + entry.cFileName;
            // A path cut to fit an item would name another file; 259 units and the
            // terminating zero still fit.
            if (fullPath.size() >= MAX_PATH)
                continue;
            TEntryAnswer fresh;
            TEntryAnswer *answer = nullptr;
            TEntryStamp stamp;
            if (scan.Answers) {
                stamp = StampOfEntry(entry, folderNames, fullPath);
                answer = ReusableAnswer(*scan.Answers, U16View(fullPath.c_str()), stamp);
            }
            if (!answer) {
                if (!shellFolder)
                    shellFolder.emplace(folder.c_str());
                // One request gives the merge key and, for a new item, its caption and icon.
                fresh = AnswerOf(shellFolder->Query(entry.cFileName, fullPath.c_str()));
                answer = scan.Answers ? &KeepAnswer(*scan.Answers, U16View(fullPath.c_str()),
                                                    stamp, std::move(fresh))
                                      : &fresh;
            }
            TMenuItem *existing = level->FindByDisplayName(W(answer->DisplayName.c_str()));
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (existing) {
                    if (IsFolderItem(existing))
                        ScanFolderWith(existing->Submenu, fullPath + L"\\", scan);
                    continue;
                }
                added = true;
                TMenuItem *item = level->Append(fullPath.c_str(), true, false, true);
                LookUpFromAnswer(item, *answer, scan.Reader);
                ScanFolderWith(item->Submenu, fullPath + L"\\", scan);
            } else if (!existing) {
                added = true;
                LookUpFromAnswer(level->Append(fullPath.c_str(), false, false, true), *answer,
                                 scan.Reader);
            }
        }
    }
    if (!added && level->Count() == 0)
        level->Append(L"", false, true, false);
    level->Layout();
}

} // namespace

void ResolveMenuFolders()
{
    ResolveFolder(FOLDERID_StartMenu, MenuFolders.UserStartMenu);
    ResolveFolder(FOLDERID_CommonStartMenu, MenuFolders.CommonStartMenu);
    ResolveFolder(FOLDERID_Programs, MenuFolders.Programs);
    wchar_t dataFolder[MAX_PATH];
    FormDataFolder(dataFolder);
    std::wstring orderFile = std::wstring(dataFolder) + L"sort.txt";
    CopyText(U16(MenuFolders.OrderFile), MAX_PATH, U16View(orderFile.c_str()));
}

void ScanFolder(TMenu *level, const wchar_t *folderPath, TEntryCache *answers)
{
    TScan scan;
    scan.Answers = answers;
    ScanFolderWith(level, folderPath, scan);
}

void AddSpecialItems(TMenu *root, bool refresh)
{
    if (root->ParentItem)
        return;
    DestroySearchBox(root);
    if (!refresh)
        root->Append(W(kSeparatorKeyword.data()), false, false, true);
    MenuState.SearchBoxPresent = false;
    Settings.SearchBoxInFirstLevel = false;
    for (const wchar_t *letter = Settings.ShowString; *letter; ++letter)
        AppendShowStringLetter(root, *letter);
    if (!refresh)
        PlaceProgramsItem(root);
    root->Layout();
}

void PlaceProgramsItem(TMenu *root)
{
    const std::wstring programsPath = ProgramsItemPath();
    TMenuItem *item = programsPath.empty() ? nullptr : root->ItemWithPath(programsPath.c_str());
    if (!item) {
        root->Layout();
        return;
    }
    item->IsMovable = Settings.ProgramsOnTop;
    item->IsProgramsFolder = true;
    RenameProgramsItem(item);
    for (auto [a, b] : PlaceProgramsSwaps(ItemPaths(root), U16View(programsPath.c_str()),
                                          Settings.ProgramsOnTop))
        root->ExchangeItems(int(a), int(b));
    root->Layout();
}

void MoveProgramsItem(TMenu *root)
{
    const std::wstring programsPath = ProgramsItemPath();
    if (programsPath.empty())
        return;
    TSwapList swaps =
        MoveProgramsSwaps(ItemPaths(root), U16View(programsPath.c_str()), Settings.ProgramsOnTop);
    if (swaps.empty())
        return;
    root->ItemWithPath(programsPath.c_str())->IsMovable = Settings.ProgramsOnTop;
    for (auto [a, b] : swaps)
        root->Swap(int(a), int(b));
}

void StripSpecialItems(TMenu *root)
{
    int separator = -1;
    int programs = -1;
    int index = 0;
    for (TMenuItem *item = root->Items; item; item = item->Next, ++index) {
        if (separator < 0 && item->IsSeparator)
            separator = index;
        if (programs < 0 && item->IsProgramsFolder)
            programs = index;
    }
    // Without a Programs item the section starts after the separator either way; keeping it
    // would give every special item twice after the refresh.
    int last = Settings.ProgramsOnTop || programs < 0 ? separator : programs;
    if (last >= 0)
        RemoveItemsAfter(root, last);
    root->Layout();
}

// ---- The recent items level and the expanded control panel ----

namespace {

// The fixed lines of the recent items level, in their order.
constexpr std::u16string_view kRecentLevelKeywords[] = {
    kMyDocumentsKeyword,  kMyMusicKeyword,       kMyPicturesKeyword,    kMyVideosKeyword,
    kSeparatorKeyword,    kClearRecentKeyword,   kClearJumpListsKeyword, kSeparatorKeyword,
    kRecentFilesKeyword,  kRecentFoldersKeyword,
};
constexpr wchar_t kShell32[] = L"%SystemRoot%\\system32\\shell32.dll";
constexpr int kRecentFilesIconIndex = 1;
constexpr int kRecentFoldersIconIndex = 3;

void AppendPlaceholderIfEmpty(TMenu *level)
{
    if (level->Count() == 0)
        level->Append(L"", false, true, false);
}

void AppendRecentEntries(TMenu *level, const std::vector<TRecentEntry> &entries,
                         const std::wstring &folder)
{
    const TShellFolderQuery shellFolder(folder.c_str());
    TShortcutReader reader;
    for (const TRecentEntry &entry : entries) {
        TMenuItem *item = level->Append(entry.Path.c_str(), false, false, true);
        // Moving a recent entry would move the shell's own shortcut.
        item->IsMovable = false;
        const wchar_t *name = entry.Path.c_str() + folder.size();
        LookUpWith(item, shellFolder.Query(name, entry.Path.c_str()), reader);
        item->CreatedHigh = entry.DateKey;
    }
    AppendPlaceholderIfEmpty(level);
    SortByNameOrDate(level, Settings.RecentSort != 0);
}

} // namespace

void FillRecentLevel(TMenu *level)
{
    // The focus must not stay with a window that is about to be hidden and emptied.
    const TMenuItem *parent = level->ParentItem;
    if (parent && parent->Owner && IsWindowVisible(parent->Owner->Window))
        SetFocus(parent->Owner->Window);
    HideTree(level);
    level->Clear();
    TMenu *documents = nullptr;
    TMenu *folders = nullptr;
    for (std::u16string_view keyword : kRecentLevelKeywords) {
        if (keyword == kSeparatorKeyword) {
            level->Append(W(kSeparatorKeyword.data()), false, false, true);
            continue;
        }
        const SpecialKeyword *row = FindSpecialKeyword(keyword);
        TMenuItem *item = AppendSpecialItem(level, *row, row->HasSubLevel);
        if (keyword == kRecentFilesKeyword) {
            item->Icon = LoadIconAt(kShell32, kRecentFilesIconIndex);
            documents = item->Submenu;
        } else if (keyword == kRecentFoldersKeyword) {
            item->Icon = LoadIconAt(kShell32, kRecentFoldersIconIndex);
            folders = item->Submenu;
        }
    }
    const TRecentMenuContent content = BuildRecentMenu(Settings.RecentCount);
    AppendRecentEntries(documents, content.Documents, content.Folder);
    AppendRecentEntries(folders, content.Folders, content.Folder);
    level->Layout();
}

void RefreshRecentMenu(TMenu *root)
{
    if (TMenu *recent = FindRecentLevel(root))
        FillRecentLevel(recent);
}

void FillControlPanelLevel(TMenu *level)
{
    std::vector<TControlPanelEntry> entries;
    FillControlPanelMenu(entries);
    if (!entries.empty() && level->Items && level->Items->IsEmptyMarker)
        level->RemoveAt(0);
    for (const TControlPanelEntry &entry : entries) {
        TMenuItem *item = level->Append(entry.Target.c_str(), false, false, true);
        item->IsMovable = false;
        SetCaption(item, U16View(entry.Name.c_str()));
        CopyText(U16(item->Tip), MAX_PATH, U16View(entry.Tip.c_str()));
        item->Icon = entry.Icon;
    }
    AppendPlaceholderIfEmpty(level);
    SortByNameOrDate(level, false);
}

TMenu *FindRecentLevel(TMenu *root)
{
    TMenuItem *item = root ? root->ItemWithPath(W(kRecentKeyword.data())) : nullptr;
    return item ? item->Submenu : nullptr;
}

void ForEachSearchableItem(TMenu *level, void (*visit)(const TMenuItem *item, void *context),
                           void *context)
{
    for (const TMenuItem *item = level->Items; item; item = item->Next) {
        if (item->Submenu)
            ForEachSearchableItem(item->Submenu, visit, context);
        else if (item->Path[0] != L'*' && !item->IsEmptyMarker)
            visit(item, context);
    }
}
