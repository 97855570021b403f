// The start button menu's options command: the sheet runs over a kept copy of the settings
// record, which Cancel puts back and OK saves.
#pragma once
#include <windows.h>

struct TSettings;

void RunOptionsCommand(HWND mainWindow);

// Puts `kept` back as the record.  The pictures and fonts the record held while the sheet
// ran are deleted, and those of `kept` (some deleted by the sheet meanwhile) are never used:
// the pictures are loaded again at once, the fonts are left empty for 1045 to make.
void RestoreSettings(const TSettings &kept);
