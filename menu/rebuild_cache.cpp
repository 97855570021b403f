#include "menu/rebuild_cache.h"

#include <commctrl.h>

#include "common/messages.h"
#include "common/win_text.h"
#include "menu/accessibility.h"
#include "menu/drag_drop.h"
#include "menu/menu_item.h"
#include "menu/menu_window.h"
#include "menu/tmenu.h"

namespace {

constexpr wchar_t kAdvancedKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";

uint64_t Ticks(const FILETIME &time)
{
    return (uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// HideFileExt as read, or -1 when it is missing: the shell then shows every extension
// that its file type does not hide.
int64_t ShellNamingSettings()
{
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegGetValueW(HKEY_CURRENT_USER, kAdvancedKey, L"HideFileExt", RRF_RT_REG_DWORD, nullptr,
                     &value, &size) != ERROR_SUCCESS)
        return -1;
    return value;
}

uint64_t SystemTimeNow()
{
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return Ticks(now);
}

void DestroyDiscardedIcons(TEntryCache &cache)
{
    for (uintptr_t icon : cache.Discarded)
        DestroyIcon(reinterpret_cast<HICON>(icon));
    cache.Discarded.clear();
}

void ParkIconsBelow(TMenu *level, TEntryCache &cache)
{
    for (TMenuItem *item = level->Items; item; item = item->Next) {
        if (item->Icon &&
            ParkEntryIcon(cache, U16View(item->Path), reinterpret_cast<uintptr_t>(item->Icon)))
            item->Icon = nullptr;
        if (item->Submenu)
            ParkIconsBelow(item->Submenu, cache);
    }
}

void DestroyLevelWindow(HWND window, HWND tooltip)
{
    // A parked window's messages no longer reach a level, WM_DESTROY included.
    RevokeWindowDropTarget(window);
    if (tooltip)
        DestroyWindow(tooltip);
    DestroyWindow(window);
}

} // namespace

TFileStamp StampOf(const WIN32_FIND_DATAW &entry)
{
    return {Ticks(entry.ftLastWriteTime), Ticks(entry.ftCreationTime),
            (uint64_t(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow, entry.dwFileAttributes};
}

TFileStamp StampOfPath(const wchar_t *path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data))
        return {};
    return {Ticks(data.ftLastWriteTime), Ticks(data.ftCreationTime),
            (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow, data.dwFileAttributes};
}

TEntryCache &EntryCacheOf(TMenu *root)
{
    if (!root->EntryCache)
        root->EntryCache = new TEntryCache;
    return *root->EntryCache;
}

void BeginTreeBuild(TMenu *root, bool reuse)
{
    TEntryCache &cache = EntryCacheOf(root);
    BeginEntryBuild(cache, ShellNamingSettings(), SystemTimeNow(), reuse);
    DestroyDiscardedIcons(cache);
}

void EndTreeBuild(TMenu *root)
{
    TEntryCache &cache = EntryCacheOf(root);
    EndEntryBuild(cache);
    DestroyDiscardedIcons(cache);
}

void ParkTreeIcons(TMenu *root) { ParkIconsBelow(root, EntryCacheOf(root)); }

void StartParkingLevelWindows(TLevelWindowPark &park) { MenuState.LevelWindowPark = &park; }

void StopParkingLevelWindows(TLevelWindowPark &park)
{
    if (MenuState.LevelWindowPark == &park)
        MenuState.LevelWindowPark = nullptr;
    for (auto [window, tooltip] : park.Windows)
        DestroyLevelWindow(window, tooltip);
    park.Windows.clear();
}

bool ParkLevelWindow(TMenu *level)
{
    TLevelWindowPark *park = MenuState.LevelWindowPark;
    // The root is cleared, never destroyed, by a rebuild; sample levels are no tree's.
    if (!park || !level->ParentItem || level->IsSample || !level->Window)
        return false;
    HWND window = level->Window;
    for (UINT_PTR timer : {TIMER_MENU_CLOSE_ALL_SUBS, TIMER_MENU_OPEN_SUB, TIMER_MENU_CLOSE_SUBS})
        KillTimer(window, timer);
    if (GetCapture() == window)
        ReleaseCapture();
    ShowWindow(window, SW_HIDE);
    if (level->Tooltip)
        SendMessageW(level->Tooltip, TTM_POP, 0, 0);
    // A client still holding the old level's object gets errors, as if the window had gone.
    DisconnectLevelAccessible(level);
    AttachLevelWindow(window, nullptr);
    park->Windows.emplace_back(window, level->Tooltip);
    level->Window = nullptr;
    level->Tooltip = nullptr;
    return true;
}

bool TakeParkedLevelWindow(TMenu *level)
{
    TLevelWindowPark *park = MenuState.LevelWindowPark;
    if (!park || park->Windows.empty() || !level->ParentItem || level->IsSample)
        return false;
    auto [window, tooltip] = park->Windows.back();
    park->Windows.pop_back();
    level->Window = window;
    level->Tooltip = tooltip;
    AttachLevelWindow(window, level);
    return true;
}
