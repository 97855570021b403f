// One menu level: its item list and the menu-wide state shared by all levels.  The level's
// window, layout and navigation are added by the menu window; what lives here is what the
// item list needs.
#pragma once
#include <windows.h>

struct TMenuItem;

class TMenu {
public:
    // Creates the level's window and tooltip and measures its monitor.
    TMenu(TMenuItem *parentItem, bool isSample);

    // The level's operations, in their fixed slot order, defined with the menu window; a
    // sample level of the options preview overrides some.
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
    // After the operations, so that they keep slots 0 to 12.
    virtual ~TMenu();

    // ---- The item list (indices are 0-based and counted from the head) ----
    int Count() const;
    TMenuItem *ItemAt(int index) const;
    int HotIndex() const;
    TMenuItem *Append(const wchar_t *path, bool hasSubmenu, bool isEmptyMarker, bool skipLookup);
    void InsertAt(int index, TMenuItem *item);
    void RemoveAt(int index);
    void Swap(int a, int b);
    // Swap without the layout, for callers that exchange many items and lay out once after;
    // false when nothing was exchanged.
    bool ExchangeItems(int a, int b);
    TMenuItem *FindByCaption(const wchar_t *path) const;
    // FindByCaption with the display name already known; an empty name matches nothing.
    TMenuItem *FindByDisplayName(const wchar_t *displayName) const;
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

private:
    TMenuItem *Last() const;
    void Link(TMenuItem *item, TMenuItem *before);
    void Unlink(TMenuItem *item);
};

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
    bool Exiting;
    int ArrowWidth;
    wchar_t SharedPath[MAX_PATH];
};

extern TMenuState MenuState;
