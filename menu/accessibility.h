// What screen readers see of the self-drawn menu: each level answers WM_GETOBJECT with an
// accessible object of its own (a menu pop-up whose children are its items) and raises the
// WinEvents of a native menu; the search box reads as an editable text.  An object is made
// when a client first asks and disconnected when its window is destroyed, so a client
// still holding it gets errors, never a dangling level.
#pragma once
#include <windows.h>

class TMenu;
class CSearchBoxAccessible;

// WM_GETOBJECT of a level's window.
LRESULT OnLevelGetObject(TMenu *level, WPARAM wParam, LPARAM lParam);
// The level's window is going away.
void DisconnectLevelAccessible(TMenu *level);
// A client asked for an item's default action; carried out from the level's own queue, as
// Enter on that item.
void OnLevelAccessibleAction(TMenu *level, WPARAM itemIndex);

// WinEvents.  Each costs one NotifyWinEvent, which does nothing when no client listens.
void NotifyLevelShown(TMenu *level);    // pop-up start, then the focus on the hot item
void NotifyLevelHidden(TMenu *level);   // pop-up end
void NotifyLevelHotItem(TMenu *level);  // the hot item changed while the level is shown
void NotifyLevelChanged(TMenu *level);  // its items changed while it is shown

// WM_GETOBJECT of the search box, whose object the box keeps in `object`.
LRESULT OnSearchBoxGetObject(HWND box, CSearchBoxAccessible *&object, WPARAM wParam,
                             LPARAM lParam);
void DisconnectSearchBoxAccessible(CSearchBoxAccessible *&object);
// The box's text changed.
void NotifySearchBoxValue(HWND box);
