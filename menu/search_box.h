// The search box of the top level (class EditEx): a self-drawn single-line edit, a child of
// the level's window that lies on the level's "*busquedarapida" line, with its clear button
// and the result list it refilters as it is typed in.
#pragma once
#include <windows.h>

#include "common/window_class.h"

class TMenu;

LRESULT CALLBACK SearchBoxWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
TWindowClass SearchBoxWindowClass();

// Creates the box on `root` once and records it as the menu's search box; a sample level
// of the options preview gets none.
void CreateSearchBox(TMenu *root);
void DestroySearchBox(TMenu *root);
// Moves the box onto the search line of `root`, when the level has one.
void PlaceSearchBox(TMenu *root);
// Closes the sub-levels of `root` and gives the box the keyboard focus.
void FocusSearchBox(TMenu *root);

// Shift is held in the box (a result then runs as administrator).
bool SearchBoxShiftDown(HWND box);
// The box's result list window, or null.
HWND SearchBoxList(HWND box);
