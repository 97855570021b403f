#include "menu/drag_drop.h"

#include "common/messages.h"

void RegisterLevelDropTarget(TMenu *) {}
void RevokeLevelDropTarget(TMenu *) {}
void OnLevelDragOverTick(TMenu *) {}
void OnLevelDrop(TMenu *, WPARAM, LPARAM) {}
void OnLevelDragEnter(TMenu *, WPARAM, LPARAM) {}
void OnLevelDragLeave(TMenu *) {}
void OnLevelDragImageRequest(TMenu *, WPARAM, LPARAM) {}
void StartItemDrag(TMenu *, TMenuItem *, bool) {}

UINT ShellGetDragImageMessage()
{
    static const UINT message = RegisterWindowMessageW(kShellGetDragImageMessage);
    return message;
}
