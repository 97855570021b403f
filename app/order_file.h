// The custom order file "sort.txt" in the data folder: the order the user gave the entries
// of every level, applied at every full build and written after every change.
#pragma once
#include <windows.h>

class TMenu;

// Reorders `root` and, depth first, every sub-level by the file at `path`.  A missing or
// damaged file leaves the order as the folders gave it, as far as it cannot be read.
void ApplyOrderFile(TMenu *root, const wchar_t *path);

// Writes the order of `root` and its sub-levels to `path`, replacing the old file in one
// step so that a failure midway keeps the user's previous order.
void WriteOrderFile(TMenu *root, const wchar_t *path);
