// One menu level (its item list, window, tooltip and layout), every operation on levels,
// and the menu-wide state shared by all levels.  The item list is in menu_list.cpp, the
// other operations in tmenu.cpp, the painting in level_paint.cpp.
#pragma once
#include <windows.h>

#include "render/level_layout.h"  // MeasureArrowWidth, for MenuState.ArrowWidth

struct TMenuItem;
struct TLevelPicture;
class CMenuAccessible;
struct TEntryCache;
struct TLevelWindowPark;

class TMenu {
public:
    // Creates the level's window and tooltip and measures its monitor.
    TMenu(TMenuItem *parentItem, bool isSample);

    // What a level does on input and when it is laid out or painted; a sample level of the
    // options preview overrides some.
    virtual void SelectPrevious();
    virtual void SelectNext();
    virtual void OnPageDown();
    virtual void OnPageUp();
    virtual void OnMouseWheel(WPARAM, LPARAM);
    virtual void OnLeftDown(WPARAM, LPARAM);
    virtual void OnLeftUp(WPARAM, LPARAM);
    virtual void OnRightDown(WPARAM, LPARAM);
    virtual void OnRightUp(WPARAM, LPARAM);
    virtual void OnTimer2();
    virtual void OnChar(WPARAM);
    virtual void Layout();
    virtual void Paint(HDC, const RECT &);
    virtual ~TMenu();

    // ---- The item list (indices are 0-based and counted from the head) ----
    int Count() const;
    TMenuItem *ItemAt(int index) const;
    int HotIndex() const;
    TMenuItem *HotItem() const;
    TMenuItem *Append(const wchar_t *path, bool hasSubmenu, bool isEmptyMarker, bool skipLookup);
    void InsertAt(int index, TMenuItem *item);
    void RemoveAt(int index);
    // Takes `item` out of the list without destroying it (it moves to another level); the
    // placeholder stands in when the level becomes empty.
    void Detach(TMenuItem *item);
    void Swap(int a, int b);
    // Swap without the layout, for callers that exchange many items and lay out once after;
    // false when nothing was exchanged.
    bool ExchangeItems(int a, int b);
    // The item of this level whose caption is the shell's display name of `path` (the merge
    // key of the folder scan).
    TMenuItem *FindByCaption(const wchar_t *path) const;
    // FindByCaption with the display name already known; an empty name matches nothing.
    TMenuItem *FindByDisplayName(const wchar_t *displayName) const;
    // The item of this level whose path is `path` exactly; null when none.
    TMenuItem *ItemWithPath(const wchar_t *path) const;
    // Searches this level and, depth first, every sub-level for the item whose path is `path`
    // exactly; records it as the menu-wide current item and returns the level holding it.
    TMenu *FindByPath(const wchar_t *path);
    void Clear();

    TMenuItem *Items = nullptr;
    TMenuItem *ParentItem = nullptr;
    bool IsSample = false;
    int DragPointX = 0;
    int DragPointY = 0;
    DWORD DragTick = 0;
    HWND Window = nullptr;
    HWND Tooltip = nullptr;
    int MonitorRight = 2094;
    int MonitorHeight = 400;
    int LastHoverIndex = -1;
    int Width = 0;
    int Height = 0;
    int LastMouseX = 0;
    int LastMouseY = 0;
    int HoverCheckX = 0;
    int HoverCheckY = 0;
    RECT PressRect = {};
    bool OpensRight = true;
    CMenuAccessible *Accessible = nullptr;  // made when a screen reader first asks
    TLevelPicture *Picture = nullptr;       // the level at rest, kept while it is among the last painted

    // ---- Rebuilds (menu/rebuild_cache.h) ----
    TEntryCache *EntryCache = nullptr;  // the root's: the shell's answers of the last build

private:
    TMenuItem *Last() const;
    void Link(TMenuItem *item, TMenuItem *before);
    void Unlink(TMenuItem *item);
};

// The levels whose pictures at rest are kept: enough for the root and the levels of a few
// paths through the menu, each up to a screen high.
inline constexpr int kKeptLevelPictures = 16;

// State of the whole menu, one for all levels; user-interface thread only.
struct TMenuState {
    TMenuItem *CurrentItem;
    int PressedIndex;
    bool LeftPressed;
    bool RightPressed;
    bool DraggingFromMenu;
    TMenu *DragSourceLevel;
    bool DragOver;
    bool SearchBoxPresent;
    HWND SearchEdit;
    bool DialogOpen;
    bool CommandRunning;  // an item's command is being carried out
    bool Exiting;
    int ArrowWidth;
    wchar_t SharedPath[MAX_PATH];
    HBITMAP ShieldBitmap;  // beside the run-as command of item context menus
    TMenu *PicturedLevels[kKeptLevelPictures];  // most recently painted first
    // The taskbar's edge as the shell last gave it, and the taskbar rectangle it was for.
    bool TaskbarEdgeKnown;
    RECT TaskbarRect;
    UINT TaskbarEdge;

    // ---- Rebuilds (menu/rebuild_cache.h) ----
    TLevelWindowPark *LevelWindowPark;  // while a rebuild runs: windows of destroyed levels
};

extern TMenuState MenuState;

// ---- Operations on levels ----

// Paints the level's picture at rest now if it is out of date, so that opening it only shows
// the window and copies the picture.
void PrepareLevelPaint(TMenu *level);
// Gives up the level's kept picture (the level is going).
void ReleaseLevelPicture(TMenu *level);

// The construction of a level: its window (and the search box of the top level), tooltip,
// monitor measures and the settings fonts.
void CreateLevelWindow(TMenu *level);

// Places the level (beside the taskbar for the top level, beside its parent item for a
// sub-level), shows it and gives it the focus.
void ShowLevel(TMenu *level);
// Hides every level below `level`, depth first, then `level` itself unless it is `except`.
void CloseSubLevels(TMenu *level, TMenu *except, bool keepFocus);
// Hides `level` and every level below it.
void HideTree(TMenu *level);
// Closes the whole menu from any of its levels and tells the main window and the button.
void CloseAll(TMenu *level);
// Re-reads the monitor of the level and of all its sub-levels (display change).
void RemeasureMonitors(TMenu *level);
// Plain pop-up style and a new layout for the level and all its sub-levels (MenuStyle).
void ApplyWindowStyle(TMenu *level);

void SetHot(TMenu *level, int index);
void OnKey(TMenu *level, WPARAM key);
void Hover(TMenu *level, POINT point);
bool HoverMoved(TMenu *level);
void OpenHotSubLevel(TMenu *level);


// A dialog, a drag or an item's command is under way: code on the stack still uses the
// levels, so nothing may rebuild or free them now.
bool MenuIsBusy();
// Hides the start button and makes it ignore clicks while a modal dialog of the program
// runs (false), and shows it again afterwards (true).
void EnableStartButton(bool enable);
