#include "menu/menu_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include "common/messages.h"
#include "common/win_text.h"
#include "menu/accessibility.h"
#include "menu/context_menu.h"
#include "menu/drag_drop.h"
#include "menu/execute.h"
#include "menu/launch_seam.h"
#include "menu/menu_item.h"
#include "menu/portable/menu_keywords.h"
#include "menu/tmenu.h"
#include "render/paint.h"
#include "settings/settings.h"

namespace {

constexpr int kLevelSlot = 0;  // the window's one pointer-sized extra value
constexpr int kClassNameSize = 64;

TMenu *LevelOf(HWND window)
{
    return reinterpret_cast<TMenu *>(GetWindowLongPtrW(window, kLevelSlot));
}

POINT PointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

bool SearchBoxHasFocus()
{
    return MenuState.SearchEdit && GetFocus() == MenuState.SearchEdit;
}

// Windows that may take the focus without the menu closing: the start button, other levels,
// the main window and the search box with its list and button.
bool FocusStaysInMenu(HWND next)
{
    if (!next)
        return false;
    if ((GetWindowLongW(next, GWL_STYLE) & WS_CHILD) && GetDlgCtrlID(next) == kSearchButtonControlId)
        return true;
    wchar_t name[kClassNameSize] = {};
    GetClassNameW(next, name, kClassNameSize);
    for (const wchar_t *kept : {kStartButtonClass, kMenuWindowClass, kMainWindowClass,
                                kSearchBoxClass, kSearchListClass})
        if (lstrcmpW(name, kept) == 0)
            return true;
    return false;
}

void RestartTimer(TMenu *level, UINT_PTR timer)
{
    KillTimer(level->Window, timer);
    if (!SearchBoxHasFocus())
        SetTimer(level->Window, timer, Settings.MenuDelay, nullptr);
}

LRESULT OnNonClientCreate(HWND window, LPARAM lParam)
{
    auto *create = reinterpret_cast<CREATESTRUCTW *>(lParam);
    auto *level = static_cast<TMenu *>(create->lpCreateParams);
    SetWindowLongPtrW(window, kLevelSlot, reinterpret_cast<LONG_PTR>(level));
    // The level's handle is needed by everything the creation messages reach.
    level->Window = window;
    return TRUE;
}

void OnPaint(TMenu *level)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(level->Window, &paint);
    level->Paint(dc, paint.rcPaint);
    EndPaint(level->Window, &paint);
}

void OnClose(TMenu *level)
{
    if (MenuState.Exiting) {
        // The window itself goes with its level when the tree is destroyed.
        RevokeLevelDropTarget(level);
        return;
    }
    if (LaunchSeam.ShutDownDialog)
        LaunchSeam.ShutDownDialog();
}

// Only the frame shows the focus.
void InvalidateFrame(const TMenu *level)
{
    RECT strips[kFrameSides];
    FrameStripRects(level->Width, level->Height, strips);
    for (const RECT &strip : strips)
        InvalidateRect(level->Window, &strip, FALSE);
}

void OnKillFocus(TMenu *level, HWND next)
{
    // A level that is already hidden was closed by whoever hid it; levels destroyed at
    // exit lose the focus too.
    if (IsWindowVisible(level->Window) && !MenuState.Exiting && !FocusStaysInMenu(next))
        CloseAll(level);
    if (Settings.MenuStyle == kMenuStyleFramed)
        InvalidateFrame(level);
}

LRESULT OnNotify(TMenu *level, NMHDR *header)
{
    if (header->code != TTN_GETDISPINFOW)
        return 0;
    auto *info = reinterpret_cast<NMTTDISPINFOW *>(header);
    TMenuItem *hot = level->HotItem();
    POINT pointer{};
    GetCursorPos(&pointer);
    ScreenToClient(level->Window, &pointer);
    info->lpszText = hot && PtInRect(&hot->Rect, pointer) ? hot->Tip : const_cast<wchar_t *>(L"");
    return 0;
}

void OnContextMenu(TMenu *level, WPARAM wParam, LPARAM lParam)
{
    if (wParam == WPARAM(kSearchResultContextMarker) && lParam == LPARAM(kSearchResultContextMarker)) {
        if (TMenu *holder = level->FindByPath(MenuState.SharedPath))
            ShowItemContextMenu(holder, wParam, lParam);
        return;
    }
    ShowItemContextMenu(level, wParam, lParam);
}

// The context-menu key and Shift+F10 ask for the hot item's context menu.  They are taken
// here rather than left to the default handling, which would also start the keyboard menu
// mode on F10's release.
bool OnContextKey(HWND window, UINT message, WPARAM key)
{
    const bool contextKey = message == WM_KEYUP && key == VK_APPS;
    const bool shiftF10 = message == WM_SYSKEYDOWN && key == VK_F10 && GetKeyState(VK_SHIFT) < 0;
    if (contextKey || shiftF10)
        PostMessageW(window, WM_CONTEXTMENU, WPARAM(window), -1);
    return contextKey || shiftF10 || (message == WM_SYSKEYUP && key == VK_F10);
}

LRESULT OnNonClientMouseMove(TMenu *)
{
    if (Settings.MenuStyle == kMenuStyleFramed)
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    return 0;
}

void OnTimer(TMenu *level, UINT_PTR timer)
{
    switch (timer) {
    case TIMER_MENU_OPEN_SUB:
        KillTimer(level->Window, timer);
        OpenHotSubLevel(level);
        break;
    case TIMER_MENU_CLOSE_SUBS: {
        KillTimer(level->Window, timer);
        TMenuItem *hot = level->HotItem();
        if (!hot || U16View(hot->Path) != kSearchBoxKeyword)
            CloseSubLevels(level, level, false);
        break;
    }
    case TIMER_MENU_CLOSE_ALL_SUBS:
        CloseSubLevels(level, level, false);
        KillTimer(level->Window, timer);
        break;
    }
}

// The pointer left the pressed item with the button down: a drag of a movable item.
void LeavePressedItem(TMenu *level, bool rightButton)
{
    (rightButton ? MenuState.RightPressed : MenuState.LeftPressed) = false;
    TMenuItem *item = MenuState.CurrentItem;
    if (!item || item->IsSeparator || !item->IsMovable)
        return;
    MenuState.DraggingFromMenu = true;
    MenuState.DragSourceLevel = level;
    StartItemDrag(level, item, rightButton);
}

void OnMouseMove(TMenu *level, POINT point)
{
    MenuState.DraggingFromMenu = false;
    Hover(level, point);
    const int hotIndex = level->HotIndex();
    if (hotIndex != level->LastHoverIndex) {
        level->LastHoverIndex = hotIndex;
        RestartTimer(level, TIMER_MENU_OPEN_SUB);
    } else if (TMenuItem *hot = level->ItemAt(hotIndex)) {
        if (!hot->Submenu) {
            RestartTimer(level, TIMER_MENU_CLOSE_SUBS);
        } else if (!IsWindowVisible(hot->Submenu->Window)) {
            RestartTimer(level, TIMER_MENU_OPEN_SUB);
        }
    }
    if (MenuState.LeftPressed && !PtInRect(&level->PressRect, point))
        LeavePressedItem(level, false);
    if (MenuState.RightPressed && !PtInRect(&level->PressRect, point))
        LeavePressedItem(level, true);
}

void OnButtonDown(TMenu *level, bool rightButton, WPARAM wParam, LPARAM lParam)
{
    (rightButton ? MenuState.RightPressed : MenuState.LeftPressed) = true;
    SetCapture(level->Window);
    // A press without a move before it (the level appeared under a resting pointer) is
    // still on the item under the pointer.
    Hover(level, PointOf(lParam));
    TMenuItem *hot = level->HotItem();
    level->PressRect = hot ? hot->Rect : RECT{};
    MenuState.PressedIndex = level->HotIndex();
    MenuState.CurrentItem = hot;
    if (rightButton)
        level->OnRightDown(wParam, lParam);
    else
        level->OnLeftDown(wParam, lParam);
}

void ActivateHotItem(TMenu *level)
{
    TMenuItem *hot = level->HotItem();
    if (!hot || hot->IsEmptyMarker)
        return;
    if (hot->Submenu) {
        CloseSubLevels(level, level, false);
        OnKey(level, VK_RIGHT);
        return;
    }
    Execute(level, false);
}

void OnLeftUp(TMenu *level, WPARAM wParam, LPARAM lParam)
{
    MenuState.LeftPressed = false;
    ReleaseCapture();
    level->OnLeftUp(wParam, lParam);
    // Last: the item's command may run a message loop of its own, after which nothing may
    // rely on the level.
    if (PtInRect(&level->PressRect, PointOf(lParam)))
        ActivateHotItem(level);
}

void OnRightUp(TMenu *level, WPARAM wParam, LPARAM lParam)
{
    MenuState.RightPressed = false;
    ReleaseCapture();
    const POINT point = PointOf(lParam);
    if (PtInRect(&level->PressRect, point))
        PostMessageW(level->Window, WM_CONTEXTMENU, wParam, lParam);
    level->OnRightUp(wParam, lParam);
}

void OnMouseWheel(TMenu *level, WPARAM wParam, LPARAM lParam)
{
    level->OnMouseWheel(wParam, lParam);
    OpenHotSubLevel(level);
}

LRESULT OnSizing(TMenu *level, RECT *proposed)
{
    // The frame of the framed style is drawn, not a sizing border.
    if (Settings.MenuStyle == kMenuStyleFramed) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        GetWindowPlacement(level->Window, &placement);
        *proposed = placement.rcNormalPosition;
    }
    return TRUE;
}

void OnDragOver(TMenu *level, LPARAM lParam)
{
    Hover(level, PointOf(lParam));
    level->LastHoverIndex = level->HotIndex();
    OnLevelDragOverTick(level);
}

} // namespace

LRESULT CALLBACK MenuWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        OnNonClientCreate(window, lParam);
    TMenu *level = LevelOf(window);
    if (!level)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == ShellGetDragImageMessage()) {
        OnLevelDragImageRequest(level, wParam, lParam);
        return 1;
    }
    switch (message) {
    case WM_CREATE:
        RegisterLevelDropTarget(level);
        return 0;
    case WM_DESTROY:
        // Levels also go with a rebuild, not only at exit; each one's target goes with it.
        RevokeLevelDropTarget(level);
        return 0;
    case WM_NCDESTROY:
        DisconnectLevelAccessible(level);
        SetWindowLongPtrW(window, kLevelSlot, 0);
        break;
    case WM_PAINT:
        OnPaint(level);
        return 0;
    case WM_CLOSE:
        OnClose(level);
        return 0;
    case WM_KILLFOCUS:
        OnKillFocus(level, reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_ACTIVATEAPP:
        return 0;
    case WM_NOTIFY:
        return OnNotify(level, reinterpret_cast<NMHDR *>(lParam));
    case WM_CONTEXTMENU:
        OnContextMenu(level, wParam, lParam);
        return 0;
    case WM_NCMOUSEMOVE:
        return OnNonClientMouseMove(level);
    case WM_NCLBUTTONDOWN:
        return 1;
    case WM_KEYDOWN:
        OnKey(level, wParam);
        return 0;
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        if (OnContextKey(window, message, wParam))
            return 0;
        break;
    case WM_CHAR:
        level->OnChar(wParam);
        return 0;
    case WM_COMMAND:
        OnItemCommand(level, wParam, lParam);
        return 0;
    case WM_TIMER:
        OnTimer(level, wParam);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(level, PointOf(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        OnButtonDown(level, false, wParam, lParam);
        return 0;
    case WM_LBUTTONUP:
        OnLeftUp(level, wParam, lParam);
        return 0;
    case WM_RBUTTONDOWN:
        OnButtonDown(level, true, wParam, lParam);
        return 0;
    case WM_RBUTTONUP:
        OnRightUp(level, wParam, lParam);
        return 0;
    case WM_MOUSEWHEEL:
        OnMouseWheel(level, wParam, lParam);
        return 0;
    case WM_SIZING:
        return OnSizing(level, reinterpret_cast<RECT *>(lParam));
    case WM_MOUSEHOVER:
        OpenHotSubLevel(level);
        return 0;
    case UM_MENU_DRAG_OVER:
        OnDragOver(level, lParam);
        return 0;
    case UM_MENU_DROP:
        OnLevelDrop(level, wParam, lParam);
        return 0;
    case UM_MENU_DRAG_ENTER:
        OnLevelDragEnter(level, wParam, lParam);
        return 0;
    case UM_MENU_DRAG_LEAVE:
        OnLevelDragLeave(level);
        return 0;
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_DISPLAYCHANGE:
    case WM_DWMCOLORIZATIONCOLORCHANGED:
        // Every level hears these; the kept pictures were painted under the old look.
        ForgetLevelPictures();
        break;
    case WM_GETOBJECT:
        return OnLevelGetObject(level, wParam, lParam);
    case UM_MENU_ACCESSIBLE_ACTION:
        OnLevelAccessibleAction(level, wParam);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TWindowClass MenuWindowClass()
{
    return {kMenuWindowClass, kResizeRedraw | CS_DROPSHADOW, sizeof(TMenu *), IDC_ARROW, false,
            nullptr, MenuWindowProc};
}

void AttachLevelWindow(HWND window, TMenu *level)
{
    SetWindowLongPtrW(window, kLevelSlot, reinterpret_cast<LONG_PTR>(level));
}
