// Shortcuts made from data dropped on a menu level from elsewhere: a file, a web address or
// a link dragged out of a browser becomes a ".lnk" file in the level's folder.
#pragma once
#include <windows.h>

// The kinds of dropped data, in the numbering of the drop message.
enum TDropKind : int {
    kDropFilePath = 0,  // UTF-16 path
    kDropAddress = 1,   // UTF-16 address or other text
    kDropHtml = 2,      // the clipboard's "HTML Format", 8-bit, with an anchor
    kDropText = 3,      // UTF-16 text, made into a shortcut as an address is
};

// Writes a shortcut for `data` (a global block the caller owns; locked and unlocked here)
// into `folder` (ending in a backslash).  `resultPath` (MAX_PATH units) receives the full
// path of the file written (empty when none was); an existing file is never replaced.  True
// when the shortcut was saved.
bool MakeShortcutFromDrop(int kind, HGLOBAL data, const wchar_t *folder, wchar_t *resultPath);

// A shell link to `target` saved at `linkPath`; true when every step succeeded.
bool SaveShortcut(const wchar_t *target, const wchar_t *linkPath);
