#include "menu/drag_drop.h"

#include <ole2.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <new>
#include <string>
#include <vector>

#include "common/com_object.h"
#include "common/messages.h"
#include "common/win_guards.h"
#include "common/win_text.h"
#include "menu/menu_build.h"
#include "menu/menu_item.h"
#include "menu/portable/drop_rules.h"
#include "menu/portable/folder_names.h"
#include "menu/tmenu.h"
#include "render/options/shortcut_maker.h"
#include "render/paint.h"
#include "resources/tvra_resources.h"
#include "settings/settings.h"

TDragDropSeam DragDropSeam = {TrackDropMenuPopup, RunFileOperation};

namespace {

constexpr COLORREF kDragImageColorKey = RGB(255, 0, 0);
constexpr wchar_t kDragImageWindowClass[] = L"SysDragImage";
constexpr wchar_t kDragImageWindowTitle[] = L"Drag";
constexpr int kShellDropMenu = 200;
// Undo allowed, folders made without asking.
constexpr FILEOP_FLAGS kMoveFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMMKDIR;
// The dropped file's path as the level is handed it: 260 UTF-16 units.
constexpr SIZE_T kDroppedPathBlockSize = MAX_PATH * sizeof(wchar_t);

HWND MainWindow() { return FindWindowW(kMainWindowClass, nullptr); }
void TellMainWindow(UINT message) { SendMessageW(MainWindow(), message, 0, 0); }

bool Exists(const std::wstring &path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsDirectory(const std::wstring &path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

void PreferCopy(DWORD *effect)
{
    if (effect && (*effect & DROPEFFECT_COPY))
        *effect = DROPEFFECT_COPY;
}

// ---- What was dropped ----

struct TDroppedData {
    int kind;
    HGLOBAL block;  // null: nothing usable
};

// The block a level is handed for data of `kind`: the first dropped path for a file list,
// otherwise a copy of the whole block.  The copy gets two more zero bytes, so that a text
// that did not end inside the dropped block ends inside the copy.
HGLOBAL CopyDroppedBlock(int kind, HGLOBAL source)
{
    const SIZE_T size = GlobalSize(source);
    const auto *bytes = static_cast<const uint8_t *>(GlobalLock(source));
    if (!bytes)
        return nullptr;
    HGLOBAL copy = nullptr;
    if (kind == kDropFilePath) {
        const std::u16string path = FirstDroppedPath(bytes, size, MAX_PATH - 1);
        if (!path.empty() && (copy = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kDroppedPathBlockSize))) {
            CopyMemory(GlobalLock(copy), path.data(), path.size() * sizeof(char16_t));
            GlobalUnlock(copy);
        }
    } else if ((copy = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size + sizeof(wchar_t)))) {
        CopyMemory(GlobalLock(copy), bytes, size);
        GlobalUnlock(copy);
    }
    GlobalUnlock(source);
    return copy;
}

// The formats in the order they are asked for: a file list first, HTML before an address.
TDroppedData TakeDroppedData(IDataObject *data)
{
    static const CLIPFORMAT html = CLIPFORMAT(RegisterClipboardFormatW(L"HTML Format"));
    static const CLIPFORMAT address = CLIPFORMAT(RegisterClipboardFormatW(L"UniformResourceLocatorW"));
    const struct {
        CLIPFORMAT format;
        int kind;
    } formats[] = {{CF_HDROP, kDropFilePath}, {html, kDropHtml}, {address, kDropAddress},
                   {CF_UNICODETEXT, kDropText}};
    for (const auto &format : formats) {
        FORMATETC asked = {format.format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium = {};
        if (!data || FAILED(data->GetData(&asked, &medium)))
            continue;
        const bool global = medium.tymed == TYMED_HGLOBAL && medium.hGlobal;
        HGLOBAL block = global ? CopyDroppedBlock(format.kind, medium.hGlobal) : nullptr;
        ReleaseStgMedium(&medium);
        if (global)
            return {format.kind, block};
    }
    return {kDropFilePath, nullptr};
}

// ---- The right-drag menu ----

// The shell's own drop menu from its localized resources; null where there are none.
HMENU LoadShellDropMenu()
{
    wchar_t system[MAX_PATH] = {};
    wchar_t locale[LOCALE_NAME_MAX_LENGTH] = {};
    if (!GetSystemDirectoryW(system, MAX_PATH) || !GetUserDefaultLocaleName(locale, LOCALE_NAME_MAX_LENGTH))
        return nullptr;
    const std::wstring path = std::wstring(system) + L"\\" + locale + L"\\shell32.dll.mui";
    HMODULE resources = LoadLibraryExW(path.c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!resources)
        return nullptr;
    HMENU menu = LoadMenuW(resources, MAKEINTRESOURCEW(kShellDropMenu));
    FreeLibrary(resources);
    return menu;
}

// Whether a right-button drop goes on: the user chose an entry of the drop menu.
bool RightDropChosen(HWND owner, POINT at)
{
    bool own = false;
    HMENU menu = LoadShellDropMenu();
    if (!menu) {
        menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_DROP_MENU));
        own = true;
    }
    // Without a menu to ask, nothing is dropped.
    if (!menu)
        return false;
    const UINT chosen = DragDropSeam.TrackDropMenu(GetSubMenu(menu, 0), at, owner);
    DestroyMenu(menu);
    return chosen != 0 && !(own && chosen == IDM_DROP_CANCEL);
}

// ---- The drop target of a window ----

class CDropTarget final : public TComObject<IDropTarget> {
public:
    explicit CDropTarget(HWND target) : TargetWindow(target)
    {
        CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&DragImager));
    }

    ~CDropTarget() override
    {
        if (DragImager)
            DragImager->Release();
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject *data, DWORD keys, POINTL point, DWORD *effect) override
    {
        PreferCopy(effect);
        RightDrag = (keys & MK_RBUTTON) != 0;
        POINT at{point.x, point.y};
        if (DragImager)
            DragImager->DragEnter(TargetWindow, data, &at, effect ? *effect : DROPEFFECT_NONE);
        SendMessageW(TargetWindow, UM_MENU_DRAG_ENTER, 0, 0);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL point, DWORD *effect) override
    {
        PreferCopy(effect);
        POINT at{point.x, point.y};
        if (DragImager)
            DragImager->DragOver(&at, effect ? *effect : DROPEFFECT_NONE);
        ScreenToClient(TargetWindow, &at);
        SendMessageW(TargetWindow, UM_MENU_DRAG_OVER, 0, MAKELPARAM(at.x, at.y));
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE DragLeave() override
    {
        if (DragImager)
            DragImager->DragLeave();
        SendMessageW(TargetWindow, UM_MENU_DRAG_LEAVE, 0, 0);
        return S_OK;
    }

    // The reported effect is always none: the source never deletes anything, the menu
    // moves files itself.
    HRESULT STDMETHODCALLTYPE Drop(IDataObject *data, DWORD, POINTL point, DWORD *effect) override
    {
        POINT at{point.x, point.y};
        if (DragImager)
            DragImager->Drop(data, &at, effect ? *effect : DROPEFFECT_NONE);
        if (effect)
            *effect = DROPEFFECT_NONE;
        if (RightDrag && !RightDropChosen(TargetWindow, at)) {
            SendMessageW(TargetWindow, UM_MENU_DRAG_LEAVE, 0, 0);
            return DRAGDROP_S_CANCEL;
        }
        const TDroppedData dropped = TakeDroppedData(data);
        // A drop ends the drag without a leave: the markers go with the leave message when
        // there is nothing to hand over.
        if (dropped.block)
            SendMessageW(TargetWindow, UM_MENU_DROP, WPARAM(dropped.kind), LPARAM(dropped.block));
        else
            SendMessageW(TargetWindow, UM_MENU_DRAG_LEAVE, 0, 0);
        return S_OK;
    }

private:
    HWND TargetWindow;
    IDropTargetHelper *DragImager = nullptr;
    bool RightDrag = false;
};

// ---- The drag source ----

class CDropSource final : public TComObject<IDropSource> {
public:
    CDropSource(HWND source, bool rightDrag) : SourceWindow(source), RightDrag(rightDrag) {}

    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override
    {
        if (escape)
            return DRAGDROP_S_CANCEL;
        if (!(keys & (RightDrag ? MK_RBUTTON : MK_LBUTTON)))
            return DRAGDROP_S_DROP;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    HWND SourceWindow;
    bool RightDrag;
};

IDataObject *DataObjectOf(HWND window, const wchar_t *path)
{
    return static_cast<IDataObject *>(ShellObjectOf(window, path, IID_IDataObject));
}

// The drag image is the pressed line: the helper asks the window for it ("ShellGetDragImage").
void AttachDragImage(HWND window, IDataObject *data)
{
    IDragSourceHelper *helper = nullptr;
    if (FAILED(CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&helper))))
        return;
    POINT at{};
    GetCursorPos(&at);
    ScreenToClient(window, &at);
    helper->InitializeFromWindow(window, &at, data);
    helper->Release();
}

// ---- The levels ----

bool IsKeywordPath(const wchar_t *path) { return path[0] == L'*' || path[0] == L'{'; }

int DepthOf(const TMenu *level)
{
    int depth = 0;
    for (const TMenuItem *parent = level->ParentItem; parent && parent->Owner;
         parent = parent->Owner->ParentItem)
        ++depth;
    return depth;
}

void ClearMarkers(TMenu *level)
{
    for (TMenuItem *item = level->Items; item; item = item->Next)
        item->DropBefore = item->DropAfter = false;
    InvalidateRect(level->Window, nullptr, FALSE);
}

// The drop index from the markers, which go, as the drag is over; -1 when none was shown
// (the drop came over a separator, a special item, or before the first drag movement).
int TakeDropIndex(TMenu *level)
{
    std::vector<TDropMarks> marks;
    bool marked = false;
    for (const TMenuItem *item = level->Items; item; item = item->Next) {
        marks.push_back({item->DropBefore, item->DropAfter});
        marked = marked || item->DropBefore || item->DropAfter;
    }
    ClearMarkers(level);
    MenuState.DragOver = false;
    return marked ? DropIndexOf(marks) : -1;
}

// The folder a drop on `level` goes into; false for the levels of special items, which
// stand for no folder.
bool DropFolderOf(const TMenu *level, TTargetFolder &target)
{
    const wchar_t *parent = level->ParentItem ? level->ParentItem->Path : L"";
    if (IsKeywordPath(parent) || (level->ParentItem && parent[0] == 0))
        return false;
    target = TargetFolderOf(U16View(parent), U16View(MenuFolders.UserStartMenu),
                            U16View(MenuFolders.CommonStartMenu));
    return true;
}

// Creates the folders of the chain that do not exist yet; returns those it made.
std::vector<std::wstring> CreateChain(const TTargetFolder &target)
{
    std::vector<std::wstring> made;
    for (const std::u16string &folder : target.Chain)
        if (CreateDirectoryW(W(folder.c_str()), nullptr))
            made.push_back(Wide(folder));
    return made;
}

void RemoveMade(const std::vector<std::wstring> &made)
{
    for (auto folder = made.rbegin(); folder != made.rend(); ++folder)
        RemoveDirectoryW(folder->c_str());
}

// An all-users folder whose twin now exists in the user's tree is that twin to a fresh
// build (the user's tree is read first), and new entries of its level go there.
void AdoptUserTwins(TMenu *level)
{
    const std::u16string_view common = U16View(MenuFolders.CommonStartMenu);
    for (TMenuItem *parent = level->ParentItem; parent; parent = parent->Owner ? parent->Owner->ParentItem : nullptr) {
        if (common.empty() || !IsSameOrInside(U16View(parent->Path), common))
            continue;
        std::u16string twin = TargetFolderOf(U16View(parent->Path), U16View(MenuFolders.UserStartMenu), common).Folder;
        twin.pop_back();
        if (twin.size() < MAX_PATH && IsDirectory(Wide(twin)))
            lstrcpynW(parent->Path, W(twin.c_str()), MAX_PATH);
    }
}

bool IsAncestorOrSelf(const TMenuItem *item, const TMenu *level)
{
    for (const TMenuItem *parent = level->ParentItem; parent; parent = parent->Owner ? parent->Owner->ParentItem : nullptr)
        if (parent == item)
            return true;
    return false;
}

// A folder of both trees shows the entries of both under the user's folder; moving that
// folder would move only the user's part of them.
bool HoldsEntriesOfAnotherFolder(const TMenuItem *folder, const TMenu *level)
{
    for (const TMenuItem *item = level->Items; item; item = item->Next) {
        if (item->Path[0] == 0 || IsKeywordPath(item->Path))
            continue;
        if (!IsSameOrInside(U16View(item->Path), U16View(folder->Path)))
            return true;
        if (item->Submenu && HoldsEntriesOfAnotherFolder(folder, item->Submenu))
            return true;
    }
    return false;
}

// A folder that also exists in the other Start Menu tree is one line for both, even while
// the other one is empty; moving it would leave that one behind.
bool ExistsInOtherTree(const wchar_t *folder)
{
    const std::u16string_view user = U16View(MenuFolders.UserStartMenu);
    const std::u16string_view common = U16View(MenuFolders.CommonStartMenu);
    const std::u16string_view path = U16View(folder);
    const bool inUser = !user.empty() && IsSameOrInside(path, user);
    const bool inCommon = !common.empty() && IsSameOrInside(path, common);
    if (inUser == inCommon)
        return false;
    const std::u16string_view from = inUser ? user : common;
    const std::u16string_view to = inUser ? common : user;
    std::u16string twin(path);
    return RewriteFolder(twin, from, to, MAX_PATH) && IsDirectory(Wide(twin));
}

// Whether every path at and below `item` still fits its buffer with `from` replaced by `to`;
// with `apply`, rewrites them.
bool RewriteTree(TMenuItem *item, std::u16string_view from, std::u16string_view to, bool apply)
{
    if (item->Path[0] && !IsKeywordPath(item->Path)) {
        std::u16string path(U16View(item->Path));
        if (!RewriteFolder(path, from, to, MAX_PATH))
            return false;
        if (apply)
            lstrcpynW(item->Path, W(path.c_str()), MAX_PATH);
    }
    if (item->Submenu)
        for (TMenuItem *below = item->Submenu->Items; below; below = below->Next)
            if (!RewriteTree(below, from, to, apply))
                return false;
    return true;
}

bool MoveWithShell(HWND owner, const wchar_t *from, const std::wstring &to)
{
    // Both lists end with two zero characters.
    std::wstring source = from;
    source.push_back(L'\0');
    std::wstring destination = to;
    destination.push_back(L'\0');
    SHFILEOPSTRUCTW operation = {};
    operation.hwnd = owner;
    operation.wFunc = FO_MOVE;
    operation.pFrom = source.c_str();
    operation.pTo = destination.c_str();
    operation.fFlags = kMoveFlags;
    const int result = DragDropSeam.FileOperation(&operation);
    return result == 0 && !operation.fAnyOperationsAborted && Exists(to) && !Exists(from);
}

// Why a dragged item cannot go into `level`: it is no file of the menu, a folder would go
// into itself, or the target already has an entry of its name.
bool MayMoveInto(const TMenuItem *item, const TMenu *level, const TTargetFolder &target,
                 const std::wstring &destination)
{
    if (!item || item->IsEmptyMarker || item->IsSeparator || !item->IsMovable || item->Path[0] == 0 ||
        IsKeywordPath(item->Path))
        return false;
    if (item->Submenu) {
        const std::u16string_view parent = level->ParentItem ? U16View(level->ParentItem->Path) : u"";
        if (IsAncestorOrSelf(item, level) || IsSameOrInside(target.Folder, U16View(item->Path)) ||
            (!parent.empty() && IsSameOrInside(parent, U16View(item->Path))))
            return false;
        if (ExistsInOtherTree(item->Path) || HoldsEntriesOfAnotherFolder(item, item->Submenu))
            return false;
    }
    // Never over an existing entry, nor beside a line of the same name, which a fresh build
    // would merge with it.
    if (destination.size() >= MAX_PATH || Exists(destination) || level->FindByCaption(item->Path))
        return false;
    return true;
}

// Another level's item moves here, file and all.
void MoveFromLevel(TMenu *level, int dropIndex)
{
    TMenu *source = MenuState.DragSourceLevel;
    TMenuItem *item = source->ItemAt(MenuState.PressedIndex);
    TTargetFolder target;
    if (!item || !DropFolderOf(level, target))
        return;
    const std::wstring destination = Wide(target.Folder) + Wide(LastComponent(U16View(item->Path)));
    if (!MayMoveInto(item, level, target, destination))
        return;
    const std::u16string oldFolder(FolderWithBackslash(U16View(item->Path)));
    if (!RewriteTree(item, oldFolder, target.Folder, false))
        return;  // some path below would no longer fit

    const bool deeper = DepthOf(level) > DepthOf(source);
    if (item->Submenu)
        HideTree(item->Submenu);
    if (deeper)
        CloseAll(level);
    else
        HideTree(level);
    TellMainWindow(UM_STOP_WATCHERS);
    const std::vector<std::wstring> made = CreateChain(target);
    const bool moved = MoveWithShell(level->Window, item->Path, destination);
    if (!moved)
        RemoveMade(made);
    TellMainWindow(UM_START_WATCHERS);
    if (moved) {
        AdoptUserTwins(level);
        source->Detach(item);
        source->Layout();
        InvalidateRect(source->Window, nullptr, FALSE);  // it may stay on screen beside this one
        item->Hot = item->DropBefore = item->DropAfter = false;
        level->InsertAt(dropIndex, item);
        RewriteTree(item, oldFolder, target.Folder, true);
        level->Layout();
    }
    if (!deeper)
        ShowLevel(level);
    if (moved)
        TellMainWindow(UM_WRITE_ORDER_FILE);
}

// The pressed item takes the marked place in its own level; no file changes.  Without a
// marked place it stays where it is.
void ReorderWithinLevel(TMenu *level, int dropIndex)
{
    const int from = MenuState.PressedIndex;
    const TMenuItem *item = level->ItemAt(from);
    if (!item || !item->IsMovable || item->IsSeparator)
        return;
    int to = dropIndex < 0 ? from : ReorderedIndex(from, dropIndex);
    if (to > level->Count() - 1)
        to = level->Count() - 1;
    // Hiding and showing a level again makes it lose the focus here: only for a real change.
    if (to == from) {
        TellMainWindow(UM_WRITE_ORDER_FILE);
        return;
    }
    HideTree(level);
    for (int at = from; at < to; ++at)
        level->ExchangeItems(at, at + 1);
    for (int at = from; at > to; --at)
        level->ExchangeItems(at, at - 1);
    level->Layout();
    ShowLevel(level);
    TellMainWindow(UM_WRITE_ORDER_FILE);
}

// Data from elsewhere becomes a shortcut in the level's folder and a line at the drop place.
void DropFromOutside(TMenu *level, int kind, HGLOBAL block, int dropIndex)
{
    TTargetFolder target;
    if (!DropFolderOf(level, target))
        return;
    const std::vector<std::wstring> made = CreateChain(target);
    wchar_t path[MAX_PATH] = {};
    if (!MakeShortcutFromDrop(kind, block, W(target.Folder.c_str()), path) || !path[0] || !Exists(path)) {
        RemoveMade(made);
        return;
    }
    CloseAll(level);
    AdoptUserTwins(level);
    // A shortcut saved over one of the level's own is that line already.
    if (!level->ItemWithPath(path))
        level->InsertAt(dropIndex, MakeItem(path, false, false, false));
    level->Layout();
    TellMainWindow(UM_WRITE_ORDER_FILE);
}

} // namespace

// ---- Entry points ----

IDropTarget *CreateWindowDropTarget(HWND window) { return new (std::nothrow) CDropTarget(window); }

void RegisterWindowDropTarget(HWND window)
{
    IDropTarget *target = CreateWindowDropTarget(window);
    if (!target)
        return;
    RegisterDragDrop(window, target);
    target->Release();  // the registration holds it now
}

void RevokeWindowDropTarget(HWND window) { RevokeDragDrop(window); }

void RegisterLevelDropTarget(TMenu *level)
{
    // The options preview's sample level shows no folder: nothing may be dropped there.
    if (!level->IsSample)
        RegisterWindowDropTarget(level->Window);
}

void RevokeLevelDropTarget(TMenu *level) { RevokeWindowDropTarget(level->Window); }

void OnLevelDragEnter(TMenu *level, WPARAM, LPARAM)
{
    POINT cursor{};
    GetCursorPos(&cursor);
    level->DragPointX = cursor.x;
    level->DragPointY = cursor.y;
    level->DragTick = GetTickCount();
    MenuState.DragOver = true;
    InvalidateRect(level->Window, nullptr, FALSE);
}

void OnLevelDragOverTick(TMenu *level)
{
    MenuState.DragOver = true;
    POINT cursor{};
    GetCursorPos(&cursor);
    if (cursor.x != level->DragPointX || cursor.y != level->DragPointY) {
        level->DragPointX = cursor.x;
        level->DragPointY = cursor.y;
        level->DragTick = GetTickCount();
    } else if (GetTickCount() - level->DragTick > DWORD(Settings.MenuDelay)) {
        // A drag resting on a folder opens it, as the resting pointer does.
        SendMessageW(level->Window, WM_MOUSEHOVER, 0, 0);
    }
    // The levels are top-most too; the drag image must stay above them.
    if (HWND image = FindWindowW(kDragImageWindowClass, kDragImageWindowTitle))
        SetWindowPos(image, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void OnLevelDragLeave(TMenu *level)
{
    ClearMarkers(level);
    MenuState.DragOver = false;
}

void OnLevelDrop(TMenu *level, WPARAM wParam, LPARAM lParam)
{
    OnDropData(level, int(wParam), reinterpret_cast<HGLOBAL>(lParam));
}

void OnDropData(TMenu *level, int kind, HGLOBAL block)
{
    const int dropIndex = TakeDropIndex(level);
    // Into another level a drop without a marked place goes to the top.
    if (MenuState.DraggingFromMenu && MenuState.DragSourceLevel == level)
        ReorderWithinLevel(level, dropIndex);
    else if (MenuState.DraggingFromMenu && MenuState.DragSourceLevel)
        MoveFromLevel(level, dropIndex < 0 ? 0 : dropIndex);
    else
        DropFromOutside(level, kind, block, dropIndex < 0 ? 0 : dropIndex);
    if (block)
        GlobalFree(block);
}

void OnLevelDragImageRequest(TMenu *level, WPARAM, LPARAM lParam)
{
    auto *image = reinterpret_cast<SHDRAGIMAGE *>(lParam);
    const TMenuItem *item = level->ItemAt(MenuState.PressedIndex);
    if (!image || !item)
        return;
    const int width = item->Rect.right - item->Rect.left;
    const int height = item->Rect.bottom - item->Rect.top;
    TScreenDC screen;
    HBITMAP bitmap = CreateTopDownDib(screen.Get(), width, height);
    if (!bitmap)
        return;
    {
        TMemoryDC dc(CreateCompatibleDC(screen.Get()));
        TSelection selected(dc.Get(), bitmap);
        TThemeData theme(Settings.ClassicAppearance ? nullptr : OpenThemeData(level->Window, L"MENU"));
        ItemPaintInput input = {.theme = theme.Get(), .window = level->Window, .dc = dc.Get(),
                                .font = Settings.DrawFontDefault ? Settings.SystemMenuFont : Settings.MenuFont,
                                .iconSize = level->ParentItem ? Settings.IconSize2 : Settings.IconSize1,
                                .menuWidth = width, .menuHeight = height, .dragOver = false,
                                .bandWidth = 0,
                                .item = {RECT{0, 0, width, height}, item->Icon, item->Caption,
                                         lstrlenW(item->Caption), item->Hot, item->IsSeparator,
                                         item->Submenu != nullptr, false, false, IsItemNew(item)}};
        PaintItem(input);
    }
    // The helper owns the bitmap from here on.
    image->sizeDragImage = {width, height};
    image->ptOffset = {width / 2, height / 2};
    image->hbmpDragImage = bitmap;
    image->crColorKey = kDragImageColorKey;
}

void StartItemDrag(TMenu *level, TMenuItem *item, bool rightButton)
{
    CDropSource *source = new (std::nothrow) CDropSource(level->Window, rightButton);
    IDataObject *data = source ? DataObjectOf(level->Window, item->Path) : nullptr;
    if (data) {
        AttachDragImage(level->Window, data);
        DWORD effect = DROPEFFECT_NONE;
        DoDragDrop(data, source, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &effect);
        data->Release();
    }
    if (source)
        source->Release();
    // Over now: a later drop from elsewhere must not be taken for a move of this item, and
    // the rebuilds that waited for the drag may run.
    MenuState.DraggingFromMenu = false;
    MenuState.DragSourceLevel = nullptr;
}

UINT ShellGetDragImageMessage()
{
    static const UINT message = RegisterWindowMessageW(kShellGetDragImageMessage);
    return message;
}

UINT TrackDropMenuPopup(HMENU menu, POINT at, HWND owner)
{
    return UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0,
                               owner, nullptr));
}

int RunFileOperation(SHFILEOPSTRUCTW *operation) { return SHFileOperationW(operation); }
