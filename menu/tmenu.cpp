// The operations of one menu level: layout, showing and closing levels, hot tracking and
// keyboard navigation.
#include <windows.h>
#include <commctrl.h>
#include <dwmapi.h>
#include <shellapi.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <vector>

#include "common/messages.h"
#include "common/win_guards.h"
#include "common/win_text.h"
#include "menu/accessibility.h"
#include "menu/execute.h"
#include "menu/launch_seam.h"
#include "menu/menu_item.h"
#include "menu/portable/menu_layout.h"
#include "menu/portable/type_ahead.h"
#include "menu/rebuild_cache.h"
#include "menu/search_box.h"
#include "menu/tmenu.h"
#include "render/level_layout.h"
#include "settings/settings.h"

namespace {

constexpr int kTooltipMaxWidth = 300;
constexpr UINT kStartButtonTimeoutMs = 2000;
// TTF_IDISHWND | TTF_SUBCLASS | TTF_ABSOLUTE: the whole window is the tool.
constexpr UINT kLevelToolFlags = TTF_IDISHWND | TTF_SUBCLASS | TTF_ABSOLUTE;

bool IsTopLevel(const TMenu *level) { return level->ParentItem == nullptr; }

TMenu *ParentLevel(const TMenu *level)
{
    return level->ParentItem ? level->ParentItem->Owner : nullptr;
}

bool IsLevelVisible(const TMenu *level)
{
    return level && level->Window && IsWindowVisible(level->Window);
}

void PostToStartButton(UINT message)
{
    if (HWND button = FindWindowW(kStartButtonClass, nullptr))
        PostMessageW(button, message, 0, 0);
}

void Invalidate(const TMenu *level, const RECT &rect)
{
    InvalidateRect(level->Window, &rect, FALSE);
}

TLayoutRect ToLayout(const RECT &r) { return {r.left, r.top, r.right, r.bottom}; }

void MeasureMonitor(TMenu *level)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(MonitorFromWindow(level->Window, MONITOR_DEFAULTTONEAREST), &info)) {
        level->MonitorRight = info.rcMonitor.right;
        level->MonitorHeight = info.rcMonitor.bottom - info.rcMonitor.top;
    }
}

void AddLevelTool(TMenu *level)
{
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = kLevelToolFlags;
    tool.hwnd = level->Window;
    tool.uId = reinterpret_cast<UINT_PTR>(level->Window);
    SendMessageW(level->Tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    // The size just laid out: the window takes it only when the level is shown.
    tool.rect = {0, 0, level->Width, level->Height};
    tool.lpszText = const_cast<wchar_t *>(L"");
    SendMessageW(level->Tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void ApplyBlurBehind(const TMenu *level)
{
    DWM_BLURBEHIND blur{};
    blur.dwFlags = DWM_BB_ENABLE | DWM_BB_BLURREGION;
    blur.fEnable = !Settings.ClassicAppearance;
    HRGN empty = Settings.DrawBlur ? nullptr : CreateRectRgn(0, 0, 0, 0);
    blur.hRgnBlur = empty;  // null: the whole window
    DwmEnableBlurBehindWindow(level->Window, &blur);
    if (empty)
        DeleteObject(empty);
}

POINT SubLevelPosition(TMenu *level)
{
    TMenu *parent = ParentLevel(level);
    RECT window{};
    GetWindowRect(parent->Window, &window);
    const TSubLevelInput input{ToLayout(window), ToLayout(level->ParentItem->Rect),
                               parent->OpensRight, level->Width, level->Height,
                               level->MonitorRight, level->MonitorHeight, Settings.IconSize2};
    const TSubLevelPlacement placement = PlaceSubLevel(input);
    level->OpensRight = placement.opensRight;
    return {placement.x, placement.y};
}

// The taskbar's edge, asked of the shell again only when the taskbar's rectangle changed:
// the question is a round trip to the shell that costs more than the rest of an open.
UINT TaskbarEdge(const RECT &taskbar)
{
    if (!MenuState.TaskbarEdgeKnown || !EqualRect(&MenuState.TaskbarRect, &taskbar)) {
        APPBARDATA bar{};
        bar.cbSize = sizeof bar;
        SHAppBarMessage(ABM_GETTASKBARPOS, &bar);
        MenuState.TaskbarEdge = bar.uEdge;
        MenuState.TaskbarRect = taskbar;
        MenuState.TaskbarEdgeKnown = true;
    }
    return MenuState.TaskbarEdge;
}

POINT TopLevelPosition(const TMenu *level)
{
    RECT taskbar{};
    GetWindowRect(FindWindowW(kTaskbarClass, nullptr), &taskbar);
    const TPoint32 corner =
        PlaceTopLevel(TaskbarEdge(taskbar), ToLayout(taskbar), level->Width, level->Height);
    return {corner.x, corner.y};
}

void HideLevelWindow(TMenu *level)
{
    if (ShowWindow(level->Window, SW_HIDE))
        NotifyLevelHidden(level);
}

void FocusParentIfVisible(const TMenu *level)
{
    TMenu *parent = ParentLevel(level);
    if (IsLevelVisible(parent))
        SetFocus(parent->Window);
}

// A sub-level left by Escape or Left goes with every level open below it.
void LeaveSubLevel(TMenu *level)
{
    FocusParentIfVisible(level);
    HideTree(level);
}

void OpenSubLevelOfHot(TMenu *level)
{
    TMenuItem *hot = level->HotItem();
    if (hot && hot->Submenu)
        ShowLevel(hot->Submenu);
}

void FocusSearchBoxFromTab(TMenu *level)
{
    if (!IsTopLevel(level) || !MenuState.SearchBoxPresent)
        return;
    FocusSearchBox(level);
}

void EnterHotItem(TMenu *level)
{
    TMenuItem *hot = level->HotItem();
    if (!hot)
        return;
    if (hot->Submenu)
        ShowLevel(hot->Submenu);
    else
        Execute(level, false);
}

void EscapeLevel(TMenu *level)
{
    // Hiding only the top level would leave its open sub-levels floating on their own.
    if (IsTopLevel(level)) {
        CloseAll(level);
        return;
    }
    LeaveSubLevel(level);
}

void LeaveToParent(TMenu *level)
{
    if (!IsTopLevel(level))
        LeaveSubLevel(level);
}

// The result list goes with the menu, whichever window the system activated when the top
// level hid; a hidden box or list must not keep the keys either.
void CloseSearchResults()
{
    HWND box = MenuState.SearchEdit;
    HWND list = box ? SearchBoxList(box) : nullptr;
    if (!list)
        return;
    PostMessageW(list, UM_SEARCH_HIDE_LATER, 0, 0);
    HWND focus = GetFocus();
    if (focus && (focus == box || focus == list || IsChild(list, focus)))
        SetFocus(nullptr);
}

void CloseForShutDown(TMenu *level)
{
    CloseAll(level);
    if (LaunchSeam.ShutDownDialog)
        LaunchSeam.ShutDownDialog();
}

// Clears every drop marker of the level, invalidating the items that had one.
void ClearDropMarkers(TMenu *level)
{
    for (TMenuItem *item = level->Items; item; item = item->Next) {
        if (item->DropBefore || item->DropAfter) {
            item->DropBefore = item->DropAfter = false;
            Invalidate(level, item->Rect);
        }
    }
}

void MarkDropPosition(TMenu *level, TMenuItem *item, POINT point)
{
    const bool upperHalf = point.y < (item->Rect.top + item->Rect.bottom) / 2;
    if (upperHalf ? item->DropBefore : item->DropAfter)
        return;
    ClearDropMarkers(level);
    TMenuItem *neighbour = upperHalf ? item->Prev : item->Next;
    if (upperHalf)
        item->DropBefore = true;
    else
        item->DropAfter = true;
    Invalidate(level, item->Rect);
    if (neighbour) {
        if (upperHalf)
            neighbour->DropAfter = true;
        else
            neighbour->DropBefore = true;
        Invalidate(level, neighbour->Rect);
    }
}

} // namespace

// ---- Construction ----

void CreateLevelWindow(TMenu *level)
{
    // A rebuild hands over the window of a level it destroyed, with its tooltip and drop
    // target: creating both costs more than filling the level.
    if (!TakeParkedLevelWindow(level)) {
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kMenuWindowClass, L"", WS_POPUP, 0, 0,
                        0, 0, nullptr, nullptr, instance, level);
        if (IsTopLevel(level) && MenuState.SearchBoxPresent)
            CreateSearchBox(level);
        // The tip has no owner: owned pop-ups are restacked with their owner at every change
        // of its place in the z-order, which made each open of a sub-level a quarter slower.
        // It is topmost on its own and goes with its level.
        level->Tooltip = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW,
                                         nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                         CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    }
    // Measured at start; a level made before that (a test, say) measures it here.
    if (MenuState.ArrowWidth == 0)
        MenuState.ArrowWidth = MeasureArrowWidth();
    MeasureMonitor(level);
    BuildSettingsFonts();
}

// ---- Virtual operations ----

namespace {

// Moves the hot item by one step at a time, wrapping, to the next item that is no separator.
void StepHot(TMenu *level, int step)
{
    const int count = level->Count();
    const int start = level->HotIndex();
    int index = start;
    // Bounded: a level of separators only has nothing to select.
    for (int tries = 0; tries < count; ++tries) {
        index += step;
        if (index < 0)
            index = count - 1;
        else if (index >= count)
            index = 0;
        TMenuItem *item = level->ItemAt(index);
        if (item && !item->IsSeparator) {
            if (index != start)
                SetHot(level, index);
            return;
        }
    }
}

} // namespace

void TMenu::SelectPrevious() { StepHot(this, -1); }
void TMenu::SelectNext() { StepHot(this, +1); }

void TMenu::OnPageDown() {}
void TMenu::OnPageUp() {}
void TMenu::OnMouseWheel(WPARAM, LPARAM) {}
void TMenu::OnLeftDown(WPARAM, LPARAM) {}
void TMenu::OnLeftUp(WPARAM, LPARAM) {}
void TMenu::OnRightDown(WPARAM, LPARAM) {}
void TMenu::OnRightUp(WPARAM, LPARAM) {}
void TMenu::OnTimer2() {}

void TMenu::OnChar(WPARAM character)
{
    std::vector<std::u16string_view> captions;
    for (TMenuItem *item = Items; item; item = item->Next)
        captions.push_back(U16View(item->Caption));
    const TTypeAheadMatch match = FindTypeAhead(captions.data(), captions.size(), HotIndex(),
                                                static_cast<char16_t>(character));
    if (match.count == 0)
        return;
    SetHot(this, match.first);
    if (match.count > 1)
        return;
    TMenuItem *item = ItemAt(match.first);
    if (item->Submenu)
        OnKey(this, VK_RIGHT);
    else
        Execute(this, false);
}

void TMenu::Layout()
{
    std::vector<TItemView> views;
    for (const TMenuItem *item = Items; item; item = item->Next)
        views.push_back({.caption = item->Caption,
                         .captionLength = lstrlenW(item->Caption),
                         .isSeparator = item->IsSeparator,
                         .hasSubLevel = item->Submenu != nullptr});
    const TLevelSize size =
        LayoutLevel(views, {IsTopLevel(this), MonitorHeight, MenuState.ArrowWidth});
    size_t i = 0;
    for (TMenuItem *item = Items; item; item = item->Next, ++i) {
        item->Rect = views[i].rect;
        item->Width = item->Rect.right - item->Rect.left;
        item->Height = item->Rect.bottom - item->Rect.top;
    }
    // The whole level is the tip's tool; it is told again only when the level's size changed.
    const bool resized = size.width != Width || size.height != Height;
    Width = size.width;
    Height = size.height;
    if (resized)
        AddLevelTool(this);
    NotifyLevelChanged(this);
}

// ---- Showing and closing ----

void ShowLevel(TMenu *level)
{
    PostToStartButton(UM_BUTTON_PUSHED);
    KillTimer(level->Window, TIMER_MENU_CLOSE_ALL_SUBS);
    level->Layout();
    ApplyBlurBehind(level);
    if (IsTopLevel(level))
        PlaceSearchBox(level);
    const POINT corner = IsTopLevel(level) ? TopLevelPosition(level) : SubLevelPosition(level);
    SetWindowPos(level->Window, HWND_TOP, corner.x, corner.y, level->Width, level->Height,
                 SWP_NOACTIVATE | (IsTopLevel(level) ? SWP_NOZORDER : 0));
    SetHot(level, 0);
    if (!IsTopLevel(level) && !IsLevelVisible(ParentLevel(level)))
        return;
    if (!ShowWindow(level->Window, SW_SHOW))
        NotifyLevelShown(level);
    SetFocus(level->Window);
    SetForegroundWindow(level->Window);
}

void HideTree(TMenu *level)
{
    for (TMenuItem *item = level->Items; item; item = item->Next)
        if (item->Submenu)
            HideTree(item->Submenu);
    HideLevelWindow(level);
}

void CloseSubLevels(TMenu *level, TMenu *except, bool keepFocus)
{
    for (TMenuItem *item = level->Items; item; item = item->Next)
        if (item->Submenu)
            CloseSubLevels(item->Submenu, except, keepFocus);
    if (level == except)
        return;
    if (!keepFocus)
        FocusParentIfVisible(level);
    HideLevelWindow(level);
}

void CloseAll(TMenu *level)
{
    // Hiding the focused level makes it lose the focus, which closes everything again.
    static bool closing = false;
    if (closing)
        return;
    closing = true;
    PostToStartButton(UM_BUTTON_RELEASED);
    TMenu *root = level;
    while (TMenu *parent = ParentLevel(root))
        root = parent;
    for (TMenuItem *item = root->Items; item; item = item->Next)
        if (item->Submenu)
            HideTree(item->Submenu);
    HideLevelWindow(root);
    CloseSearchResults();
    SendMessageW(FindWindowW(kMainWindowClass, nullptr), UM_MENUS_CLOSED, 0, 0);
    closing = false;
}

void RemeasureMonitors(TMenu *level)
{
    MeasureMonitor(level);
    for (TMenuItem *item = level->Items; item; item = item->Next)
        if (item->Submenu)
            RemeasureMonitors(item->Submenu);
}

void ApplyWindowStyle(TMenu *level)
{
    SetWindowLongPtrW(level->Window, GWL_STYLE, WS_POPUP);
    level->Layout();
    for (TMenuItem *item = level->Items; item; item = item->Next)
        if (item->Submenu)
            ApplyWindowStyle(item->Submenu);
}

// ---- Hot item, keys and pointer ----

void SetHot(TMenu *level, int index)
{
    TMenuItem *target = level->ItemAt(index);
    for (TMenuItem *item = level->Items; item; item = item->Next) {
        if (item != target && item->Hot) {
            item->Hot = false;
            Invalidate(level, item->Rect);
        }
    }
    if (!target || target->Hot)
        return;
    target->Hot = true;
    // Re-activating restarts the tip for the new item.
    SendMessageW(level->Tooltip, TTM_ACTIVATE, FALSE, 0);
    SendMessageW(level->Tooltip, TTM_ACTIVATE, TRUE, 0);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = level->Window;
    tool.uId = reinterpret_cast<UINT_PTR>(level->Window);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(level->Tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(level->Tooltip, TTM_SETMAXTIPWIDTH, 0, kTooltipMaxWidth);
    Invalidate(level, target->Rect);
    NotifyLevelHotItem(level);
}

void OnKey(TMenu *level, WPARAM key)
{
    switch (key) {
    case VK_TAB:
        FocusSearchBoxFromTab(level);
        break;
    case VK_RETURN:
        EnterHotItem(level);
        break;
    case VK_ESCAPE:
        EscapeLevel(level);
        break;
    case VK_SPACE:
        CloseForShutDown(level);
        break;
    case VK_PRIOR:
        level->OnPageUp();
        break;
    case VK_NEXT:
        level->OnPageDown();
        break;
    case VK_LEFT:
        LeaveToParent(level);
        break;
    case VK_UP:
        level->SelectPrevious();
        break;
    case VK_RIGHT:
        OpenSubLevelOfHot(level);
        break;
    case VK_DOWN:
        level->SelectNext();
        break;
    }
}

void Hover(TMenu *level, POINT point)
{
    if (point.x == level->LastMouseX && point.y == level->LastMouseY)
        return;
    level->LastMouseX = point.x;
    level->LastMouseY = point.y;
    int index = 0;
    int hotIndex = -1;
    for (TMenuItem *item = level->Items; item; item = item->Next, ++index) {
        if (!PtInRect(&item->Rect, point))
            continue;
        if (MenuState.DragOver && item->IsMovable)
            MarkDropPosition(level, item, point);
        if (hotIndex < 0 && !item->IsSeparator)
            hotIndex = index;
    }
    if (hotIndex >= 0)
        SetHot(level, hotIndex);
}

bool HoverMoved(TMenu *level)
{
    const int hotIndex = level->HotIndex();
    TMenuItem *hot = level->ItemAt(hotIndex);
    if (!hot || level->LastHoverIndex != hotIndex)
        return false;
    POINT point{};
    GetCursorPos(&point);
    ScreenToClient(level->Window, &point);
    if (!PtInRect(&hot->Rect, point))
        return false;
    if (point.x == level->HoverCheckX && point.y == level->HoverCheckY)
        return false;
    level->HoverCheckX = point.x;
    level->HoverCheckY = point.y;
    return true;
}

void OpenHotSubLevel(TMenu *level)
{
    if (!HoverMoved(level))
        return;
    TMenuItem *hot = level->HotItem();
    if (!hot->Submenu || IsLevelVisible(hot->Submenu))
        return;
    CloseSubLevels(level, level, false);
    OnKey(level, VK_RIGHT);
}

bool MenuIsBusy()
{
    return MenuState.DialogOpen || MenuState.CommandRunning || MenuState.DraggingFromMenu ||
           MenuState.DragOver;
}

void EnableStartButton(bool enable)
{
    // Sent, so that the button is gone before the dialog shows; the button lives in the
    // shell's process, and a hung shell must not hang the dialog with it.
    if (HWND button = FindWindowW(kStartButtonClass, nullptr))
        SendMessageTimeoutW(button, UM_BUTTON_ENABLE, enable ? 1 : 0, 0,
                            SMTO_NORMAL | SMTO_ABORTIFHUNG, kStartButtonTimeoutMs, nullptr);
}
