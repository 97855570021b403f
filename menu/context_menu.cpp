#include "menu/context_menu.h"

void ShowItemContextMenu(TMenu *, WPARAM, LPARAM) {}
void OnItemCommand(TMenu *, WPARAM, LPARAM) {}
