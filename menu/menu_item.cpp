#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include "common/portable/text.h"
#include "common/win_text.h"
#include "menu/menu_item.h"
#include "menu/portable/entry_cache.h"
#include "menu/portable/menu_keywords.h"
#include "menu/tmenu.h"
#include "render/portable/paint_rules.h"
#include "settings/settings.h"
#include "settings/special_icon.h"

// SLR_NO_UI | SLR_ANY_MATCH | SLR_NOUPDATE: never ask the user, never rewrite the link.
static constexpr DWORD kQuietResolveFlags = 19;

TMenuItem *MakeItem(const wchar_t *path, bool hasSubmenu, bool isEmptyMarker, bool skipLookup)
{
    TMenuItem *item = new TMenuItem{};
    CopyText(U16(item->Path), MAX_PATH, U16View(path));
    const bool isKeyword = item->Path[0] == L'*' || item->Path[0] == L'{';
    item->IsEmptyMarker = isEmptyMarker;
    item->IsSeparator = U16View(item->Path) == kSeparatorKeyword;
    item->IsMovable = !isKeyword;
    if (hasSubmenu)
        item->Submenu = new TMenu(item, false);
    if (!skipLookup)
        LookUp(item);
    return item;
}

static DWORD CreationTimeHigh(const wchar_t *path)
{
    // Backup semantics let folders open too.
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    FILETIME created = {};
    if (!GetFileTime(file, &created, nullptr, nullptr))
        created.dwHighDateTime = 0;
    CloseHandle(file);
    return created.dwHighDateTime;
}

TShortcutReader::TShortcutReader()
{
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IShellLinkW, reinterpret_cast<void **>(&link_))) &&
        FAILED(link_->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file_))))
        file_ = nullptr;
}

TShortcutReader::~TShortcutReader()
{
    if (file_)
        file_->Release();
    if (link_)
        link_->Release();
}

void TShortcutReader::ReadTip(const wchar_t *path, wchar_t *tip)
{
    tip[0] = 0;
    // Load replaces everything the previous shortcut left in the object.
    if (!file_ || FAILED(file_->Load(path, STGM_READ)))
        return;
    link_->Resolve(GetDesktopWindow(), kQuietResolveFlags);
    if (FAILED(link_->GetDescription(tip, MAX_PATH)))
        tip[0] = 0;
    if (tip[0] == 0 && FAILED(link_->GetPath(tip, MAX_PATH, nullptr, 0)))
        tip[0] = 0;
    tip[MAX_PATH - 1] = 0;
}

TShellInfo QueryShellInfo(const wchar_t *path)
{
    TShellInfo shell = {};
    shell.Images = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(
        path, 0, &shell.Info, sizeof(shell.Info), SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME));
    return shell;
}

TShellFolderQuery::TShellFolderQuery(const wchar_t *folderPath)
{
    if (FAILED(SHParseDisplayName(folderPath, nullptr, &folderList_, 0, nullptr)))
        folderList_ = nullptr;
    else if (FAILED(SHBindToObject(nullptr, folderList_, nullptr, IID_IShellFolder,
                                   reinterpret_cast<void **>(&folder_))))
        folder_ = nullptr;
}

TShellFolderQuery::~TShellFolderQuery()
{
    if (folder_)
        folder_->Release();
    if (folderList_)
        ILFree(folderList_);
}

TShellInfo TShellFolderQuery::Query(const wchar_t *name, const wchar_t *fullPath) const
{
    // ParseDisplayName takes a writable name.
    wchar_t parseName[MAX_PATH];
    CopyText(U16(parseName), MAX_PATH, U16View(name));
    PIDLIST_RELATIVE child = nullptr;
    if (!folder_ ||
        FAILED(folder_->ParseDisplayName(nullptr, nullptr, parseName, nullptr, &child, nullptr)))
        return QueryShellInfo(fullPath);
    PIDLIST_ABSOLUTE entry = ILCombine(folderList_, child);
    ILFree(child);
    if (!entry)
        return QueryShellInfo(fullPath);
    TShellInfo shell = {};
    shell.Images = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(reinterpret_cast<const wchar_t *>(entry), 0, &shell.Info, sizeof(shell.Info),
                       SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME));
    ILFree(entry);
    return shell;
}

static void ForgetLookUp(TMenuItem *item)
{
    if (item->Icon)
        DestroyIcon(item->Icon);
    item->Icon = nullptr;
    item->CreatedHigh = 0;
    item->Tip[0] = 0;
    item->Caption[0] = 0;
}

void LookUp(TMenuItem *item)
{
    if (item->IsEmptyMarker) {
        ForgetLookUp(item);
        CopyText(U16(item->Caption), MAX_PATH, U16View(Settings.Local[LocalEmpty]));
        return;
    }
    TShortcutReader reader;
    LookUpWith(item, QueryShellInfo(item->Path), reader);
}

void LookUpWith(TMenuItem *item, const TShellInfo &shell, TShortcutReader &reader)
{
    ForgetLookUp(item);
    if (shell.Images) {
        CopyText(U16(item->Caption), MAX_PATH, U16View(shell.Info.szDisplayName));
        item->Icon = ImageList_GetIcon(shell.Images, shell.Info.iIcon, ILD_NORMAL);
    }
    item->CreatedHigh = CreationTimeHigh(item->Path);
    reader.ReadTip(item->Path, item->Tip);
}

TEntryAnswer AnswerOf(const TShellInfo &shell)
{
    TEntryAnswer answer;
    answer.DisplayName = U16View(shell.Info.szDisplayName);
    answer.Images = reinterpret_cast<uintptr_t>(shell.Images);
    answer.IconIndex = shell.Info.iIcon;
    return answer;
}

void LookUpFromAnswer(TMenuItem *item, TEntryAnswer &answer,
                      std::optional<TShortcutReader> &reader)
{
    ForgetLookUp(item);
    if (answer.Images) {
        CopyText(U16(item->Caption), MAX_PATH, answer.DisplayName);
        item->Icon = reinterpret_cast<HICON>(TakeParkedIcon(answer));
        if (!item->Icon)
            item->Icon = ImageList_GetIcon(reinterpret_cast<HIMAGELIST>(answer.Images),
                                           answer.IconIndex, ILD_NORMAL);
        NoteGivenIcon(answer, reinterpret_cast<uintptr_t>(item->Icon));
    }
    if (!answer.HasDetails) {
        answer.CreatedHigh = CreationTimeHigh(item->Path);
        if (!reader)
            reader.emplace();
        reader->ReadTip(item->Path, item->Tip);
        answer.Tip = U16View(item->Tip);
        answer.HasDetails = true;
    }
    item->CreatedHigh = answer.CreatedHigh;
    CopyText(U16(item->Tip), MAX_PATH, answer.Tip);
}

void DestroyItem(TMenuItem *item)
{
    if (!item)
        return;
    if (item->Icon)
        DestroyIcon(item->Icon);
    delete item->Submenu;
    delete item;
}

bool IsItemNew(const TMenuItem *item)
{
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    return IsCreatedRecently(Settings.Hilight, now.dwHighDateTime, item->CreatedHigh, Settings.Days);
}

HICON LoadSpecialItemIcon(const wchar_t *keyword)
{
    const SpecialKeyword *row = FindSpecialKeyword(U16View(keyword));
    if (!row || row->IconSlot == kNoIconSlot)
        return nullptr;
    return LoadSpecialIcon(static_cast<SpecialIconSlot>(row->IconSlot));
}

void *ShellObjectOf(HWND owner, const wchar_t *path, REFIID iid)
{
    PIDLIST_ABSOLUTE list = nullptr;
    if (FAILED(SHParseDisplayName(path, nullptr, &list, 0, nullptr)))
        return nullptr;
    IShellFolder *parent = nullptr;
    PCUITEMID_CHILD child = nullptr;
    void *object = nullptr;
    if (SUCCEEDED(SHBindToParent(list, IID_IShellFolder, reinterpret_cast<void **>(&parent),
                                 &child))) {
        parent->GetUIObjectOf(owner, 1, &child, iid, nullptr, &object);
        parent->Release();
    }
    CoTaskMemFree(list);
    return object;
}
