#include "menu/level_extensions.h"

void RegisterLevelDropTarget(TMenu *) {}
void RevokeLevelDropTarget(TMenu *) {}
void OnLevelDragOverTick(TMenu *) {}
void OnLevelDrop(TMenu *, WPARAM, LPARAM) {}
void OnLevelDragEnter(TMenu *, WPARAM, LPARAM) {}
void OnLevelDragLeave(TMenu *) {}
void OnLevelDragImageRequest(TMenu *, WPARAM, LPARAM) {}
void StartItemDrag(TMenu *, TMenuItem *, bool) {}
void ShowItemContextMenu(TMenu *, WPARAM, LPARAM) {}
void OnItemCommand(TMenu *, WPARAM, LPARAM) {}
