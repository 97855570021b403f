// Drag and drop on the menu levels: each level's drop target, the drag of an item out of a
// level, and the drag image the shell asks for.
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
// The registered message by which the shell's drag-image helper asks a window for its image.
UINT ShellGetDragImageMessage();
