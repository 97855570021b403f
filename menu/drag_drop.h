// Drag and drop on the menu levels: each level's drop target, the drag of an item out of a
// level, the drag image the shell asks for, and what a drop does to the menu and the files.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

class TMenu;
struct TMenuItem;

void RegisterLevelDropTarget(TMenu *level);
void RevokeLevelDropTarget(TMenu *level);
// The drop target of any window (the main window has one too): it sends the window the drag
// messages of the menu levels (UM_MENU_*).
void RegisterWindowDropTarget(HWND window);
// A new drop target for `window` with one reference, as the registration makes it.
IDropTarget *CreateWindowDropTarget(HWND window);
void RevokeWindowDropTarget(HWND window);
// After the pointer moved over a level during a drag (the level already hovered the point).
void OnLevelDragOverTick(TMenu *level);
void OnLevelDrop(TMenu *level, WPARAM wParam, LPARAM lParam);
void OnLevelDragEnter(TMenu *level, WPARAM wParam, LPARAM lParam);
void OnLevelDragLeave(TMenu *level);
void OnLevelDragImageRequest(TMenu *level, WPARAM wParam, LPARAM lParam);
// The pointer left the pressed item with a button down: drag the item's file.
void StartItemDrag(TMenu *level, TMenuItem *item, bool rightButton);
// The registered message by which the shell's drag-image helper asks a window for its image.
UINT ShellGetDragImageMessage();

// What a drop of `kind` (TDropKind) with `block` (freed here) does to `level`: a move of the
// dragged item from another level, a new place within this level, or a shortcut made from
// data dropped from elsewhere.
void OnDropData(TMenu *level, int kind, HGLOBAL block);

// Where drag and drop meets the user and the file system, so that tests can answer the
// right-drag menu and make a move fail.
struct TDragDropSeam {
    // Shows the right-drag pop-up and returns the chosen id, 0 for none.
    UINT (*TrackDropMenu)(HMENU menu, POINT at, HWND owner);
    // SHFileOperationW.
    int (*FileOperation)(SHFILEOPSTRUCTW *operation);
};
extern TDragDropSeam DragDropSeam;

// The real entries, for tests that put them back.
UINT TrackDropMenuPopup(HMENU menu, POINT at, HWND owner);
int RunFileOperation(SHFILEOPSTRUCTW *operation);
