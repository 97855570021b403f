// Running a menu item: its file, folder, control panel entry or special keyword.
#pragma once

class TMenu;

// Runs the hot item of `level` (or the menu-wide current item when none is hot).  Every
// launch closes the whole menu first; the search line only moves the focus.
void Execute(TMenu *level, bool runAs);
