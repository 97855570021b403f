// The whole menu tree of the main window: both Start Menu folders merged, the user's custom
// order applied, the special section added.
#pragma once

class TMenu;

// Full build of an empty root.
void BuildAll(TMenu *root);
// Closes every menu, builds the root again from scratch and rewrites the order file.
void Rebuild(TMenu *root);
