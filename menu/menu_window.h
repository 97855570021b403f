// The window of one menu level (class TVRA_MenuWindow) and the operations that show, close
// and navigate levels.
#pragma once
#include <windows.h>

class TMenu;

LRESULT CALLBACK MenuWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

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
