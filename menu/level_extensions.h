// Where a menu level hands over to drag and drop, the item context menu and the search box.
// Those features fill these functions in; until then they do nothing.
#pragma once
#include <windows.h>

class TMenu;
struct TMenuItem;

void RegisterLevelDropTarget(TMenu *level);
void RevokeLevelDropTarget(TMenu *level);
// After the pointer moved over a level during a drag (the level already hovered the point).
void OnLevelDragOverTick(TMenu *level);
void OnLevelDrop(TMenu *level, WPARAM wParam, LPARAM lParam);
void OnLevelDragEnter(TMenu *level, WPARAM wParam, LPARAM lParam);
void OnLevelDragLeave(TMenu *level);
void OnLevelDragImageRequest(TMenu *level, WPARAM wParam, LPARAM lParam);
// The pointer left the pressed item with a button down: drag the item's file.
void StartItemDrag(TMenu *level, TMenuItem *item, bool rightButton);

// The context menu of the menu-wide current item on `level`.
void ShowItemContextMenu(TMenu *level, WPARAM wParam, LPARAM lParam);
void OnItemCommand(TMenu *level, WPARAM wParam, LPARAM lParam);
