// The whole menu tree of the main window: both Start Menu folders merged, the user's custom
// order applied, the special section added.
#pragma once

class TMenu;

// Full build of an empty root: every entry asked of the shell, the answers kept in the root.
void BuildAll(TMenu *root);
// Closes every menu, builds the root again and rewrites the order file.  Only entries that
// are new or changed since the last build are asked of the shell (all of them after the
// hidden-extensions setting changed); the levels' windows are reused.
void Rebuild(TMenu *root);
